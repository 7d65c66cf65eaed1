// The choice of the allocation that fails, in a binary linked with AllocationHook.cpp.
#pragma once

#include <windows.h>

// The `count`-th allocation from now on fails, that one alone; 0: none does.
extern "C" void WINAPI FailAllocation(LONG count);
// The same, counting only the allocations of the thread `threadId`.
extern "C" void WINAPI FailAllocationOfThread(DWORD threadId, LONG count);
// Whether the allocation chosen last has failed.
extern "C" BOOL WINAPI AllocationFailed();
