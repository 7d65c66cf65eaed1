// The published layout of the WebView2 interfaces the program uses, as
// published-interfaces.txt gives it; the library carries that file as a resource.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace published {
struct Slot {
    int number;                // index in the function table, IUnknown's slots counted
    std::wstring method;
    std::wstring parameters;   // the parameter types as the table writes them, "-" for none
};

struct Interface {
    std::wstring name;
    IID id;
    std::wstring base;          // empty for IUnknown
    std::vector<Slot> slots;    // its own, after its bases' slots
};

// Each of these throws std::runtime_error, naming what is missing, when the table is
// unreadable or lacks what is asked.
const Interface& Find(const std::wstring& name);
// `name` and its bases, the base of all (IUnknown) first.
std::vector<const Interface*> Lineage(const std::wstring& name);
// The slot of `method` in the interface `name` or one of its bases.
const Slot& SlotOf(const std::wstring& name, const std::wstring& method);
}
