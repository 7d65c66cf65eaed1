// A test program's own import slot of a system function: the __imp_ symbol that its calls
// of the function go through, those of the product code linked into it included, so that a
// test can watch or fail the calls without any hook in the product code. Declared by the
// test, e.g. extern "C" decltype(&CryptHashData) __imp_CryptHashData;
#pragma once

#include <windows.h>

// Points `slot` at `replacement`; returns what it pointed at before.
template <typename Function>
Function ReplaceImport(Function& slot, Function replacement)
{
    const Function before = slot;
    DWORD protection = 0;
    VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &protection);
    slot = replacement;
    VirtualProtect(&slot, sizeof slot, protection, &protection);
    return before;
}
