// Linked in place of the C++ runtime's operator new, into the tests' copy of the
// extension and into test programs: the allocation that the test chooses fails, as on an
// exhausted heap. The test chooses through the functions below (exported from the
// extension's copy), or for the library's load through the environment variable
// LARKSPAN_FAILING_ALLOCATION.
#include "AllocationHook.h"

#include <atomic>
#include <cstdlib>
#include <cwchar>
#include <new>

namespace {

long ChoiceOfEnvironment()
{
    wchar_t text[16] = {};
    return GetEnvironmentVariableW(L"LARKSPAN_FAILING_ALLOCATION", text, 16) != 0 ? std::wcstol(text, nullptr, 10) : 0;
}

// Allocations to go until the one that fails, that one included; 0 or less: none fails.
std::atomic<long> g_countdown{ChoiceOfEnvironment()};
std::atomic<DWORD> g_thread{0};   // the thread whose allocations count; 0: every thread's
std::atomic<bool> g_failed{false};

bool ThisOneFails()
{
    if (g_countdown <= 0 || (g_thread != 0 && g_thread != GetCurrentThreadId()) || g_countdown.fetch_sub(1) != 1)
        return false;
    g_failed = true;
    return true;
}

void* Allocate(std::size_t size) noexcept
{
    return ThisOneFails() ? nullptr : std::malloc(size != 0 ? size : 1);
}

} // namespace

void* operator new(std::size_t size)
{
    if (void* block = Allocate(size))
        return block;
    throw std::bad_alloc();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

extern "C" __declspec(dllexport) void WINAPI FailAllocationOfThread(DWORD threadId, LONG count)
{
    g_failed = false;
    g_thread = threadId;
    g_countdown = count;
}

extern "C" __declspec(dllexport) void WINAPI FailAllocation(LONG count)
{
    FailAllocationOfThread(0, count);
}

extern "C" __declspec(dllexport) BOOL WINAPI AllocationFailed()
{
    return g_failed;
}
