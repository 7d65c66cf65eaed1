#include "ProcessResources.h"

#include <windows.h>
#include <winternl.h>

#include <vector>

namespace {

// Every slot that TlsAlloc still gives out, taken and given back.
int FreeTlsSlots()
{
    std::vector<DWORD> taken;
    for (DWORD slot = TlsAlloc(); slot != TLS_OUT_OF_INDEXES; slot = TlsAlloc())
        taken.push_back(slot);
    for (DWORD slot : taken)
        TlsFree(slot);
    return static_cast<int>(taken.size());
}

// This process's entries in the system's handle list (Wine's GetProcessHandleCount
// answers 0; the list is right on both systems).
int Handles()
{
    constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
    std::vector<BYTE> buffer(1 << 16);
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(SystemHandleInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), nullptr)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return -1;
    const auto* list = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    int own = 0;
    for (ULONG i = 0; i < list->Count; ++i)
        own += list->Handle[i].OwnerPid == GetCurrentProcessId();
    return own;
}

// The process's GDI handle table, which the PEB points to (64-bit layout): one cell per
// handle, a used cell has a type. Under Wine the table is the process's own.
struct GdiCell {
    ULONGLONG kernelAddress;
    USHORT processId;
    USHORT count;
    USHORT upper;
    USHORT type;
    ULONGLONG userAddress;
};
constexpr size_t kGdiTableOffsetInPeb = 0xF8;
constexpr int kGdiTableCells = 0x10000;

int UsedGdiCells()
{
    PROCESS_BASIC_INFORMATION process = {};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, nullptr) != 0)
        return -1;
    const auto* peb = reinterpret_cast<const BYTE*>(process.PebBaseAddress);
    const auto* table = *reinterpret_cast<const GdiCell* const*>(peb + kGdiTableOffsetInPeb);
    if (!table)
        return -1;
    int used = 0;
    for (int i = 0; i < kGdiTableCells; ++i)
        used += table[i].type != 0;
    return used;
}

// GetGuiResources where the system has it; Wine does not (ERROR_CALL_NOT_IMPLEMENTED).
int GdiObjects()
{
    SetLastError(ERROR_SUCCESS);
    const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    return count == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED ? UsedGdiCells() : static_cast<int>(count);
}

// The committed pages that belong to this process alone (heaps, stacks, the libraries'
// allocations), not the mapped images and files: about what GetProcessMemoryInfo calls
// PrivateUsage, which Wine answers with 0.
long long CommittedPrivateBytes()
{
    long long committed = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const BYTE* address = nullptr; VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            committed += static_cast<long long>(region.RegionSize);
    }
    return committed;
}

} // namespace

std::ostream& operator<<(std::ostream& out, const ProcessResources& resources)
{
    return out << "{free TLS slots " << resources.freeTlsSlots << ", handles " << resources.handles
               << ", GDI objects " << resources.gdiObjects << ", committed private bytes "
               << resources.committedPrivateBytes << "}";
}

ProcessResources CountProcessResources()
{
    return {FreeTlsSlots(), Handles(), GdiObjects(), CommittedPrivateBytes()};
}

ProcessResources SettledProcessResources()
{
    ProcessResources last = CountProcessResources();
    for (int tries = 0; tries < 50; ++tries) {
        Sleep(200);
        const ProcessResources now = CountProcessResources();
        if (now == last)
            break;
        last = now;
    }
    return last;
}
