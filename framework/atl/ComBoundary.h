// The edge between a COM server and its caller, which no exception may cross: exports
// and COM methods run their bodies through ComBoundary.
#pragma once

#include <windows.h>

#include <new>

// The result of `body`, or the failure that stands for the exception it threw:
// E_OUTOFMEMORY when memory ran out, E_FAIL for anything else.
template <class Body>
HRESULT ComBoundary(Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}
