// Explorer loads the extension when it needs it, unloads it once DllCanUnloadNow allows,
// and loads it again, thousands of times in one session. Here each cycle does what one
// right click on a file does, in a library loaded afresh, and the process must keep
// every TLS slot, handle and GDI object that it had, and commit no more memory.
#include "ShellExtTestSupport.h"
#include "ProcessResources.h"

#include <gtest/gtest.h>

namespace {

// More loads than the process has TLS slots (1088 under Wine).
constexpr int kCycles = 3000;
// Cycles before the count is taken: the system's own libraries settle in on first use.
constexpr int kWarmUpCycles = 3;
// Wine's own threads hold a handle or two now and then, whatever the extension does; a
// leak of the extension grows with the cycles, by thousands.
constexpr int kHandleSlack = 2;
// Committed memory holds to the byte here over all the cycles (Wine starts no thread of its
// own in them; one would commit 2 to 3 MiB of stacks). The heaps commit in 64 KiB steps, so
// a block that fragmentation strands may cost a step or a few; a leak grows with the
// cycles (73 KiB a load is 107 MiB by half-way).
constexpr long long kCommittedBytesSlack = 4 * 64 * 1024;

const auto* const kComApartment = ::testing::AddGlobalTestEnvironment(new ComApartment);

// Load, class object, handler, selection, menu, command, release, unload. The
// recorder's command line is checked, so that every cycle really started the program.
void RightClickCycle(const std::wstring& folder, const std::wstring& file)
{
    const RecordedStarts starts(folder);
    {
        const ExtensionLibrary library(folder + L"\\Larkspan.dll");
        {
            Handler handler(library);
            ASSERT_EQ(handler.Select({file}), S_OK);
            PopupMenu menu;
            ASSERT_EQ(handler.menu->QueryContextMenu(menu.handle, 1, 100, 110, CMF_NORMAL), 3);
            ASSERT_EQ(handler.InvokeOffset(1), S_OK);
        }
        ASSERT_EQ(library.CanUnloadNow(), S_OK);
    }
    ASSERT_TRUE(WaitUntil([&] { return !starts.Lines().empty(); }, 30s)) << "no start recorded";
    ASSERT_EQ(starts.ParametersOf(starts.Lines().at(0)), ExpectedParameters(L"-h", {file}));
}

TEST(LoadCycles, LeaveNoTlsSlotHandleGdiObjectOrMemoryBehind)
{
    const std::wstring folder = MakeExtensionFolder(L"load-cycles\\with recorder", LARKSPAN_DLL, true);
    const std::wstring file = WriteTextFile(MakeTestFolder(L"load-cycles\\selection") + L"\\one.txt", "abc");
    for (int i = 0; i < kWarmUpCycles; ++i)
        ASSERT_NO_FATAL_FAILURE(RightClickCycle(folder, file));

    const ProcessResources before = SettledProcessResources();
    auto expectNothingLeftSince = [&](int cycles) {
        const ProcessResources now = SettledProcessResources();
        EXPECT_EQ(now.freeTlsSlots, before.freeTlsSlots) << "after " << cycles << " cycles";
        EXPECT_EQ(now.gdiObjects, before.gdiObjects) << "after " << cycles << " cycles";
        EXPECT_LE(now.handles, before.handles + kHandleSlack) << "after " << cycles << " cycles; before " << before;
        EXPECT_LE(now.committedPrivateBytes, before.committedPrivateBytes + kCommittedBytesSlack)
            << "after " << cycles << " cycles; before " << before;
    };
    for (int i = 0; i < kCycles; ++i) {
        ASSERT_NO_FATAL_FAILURE(RightClickCycle(folder, file)) << "cycle " << i;
        if (i + 1 == kCycles / 2 || i + 1 == kCycles)
            expectNothingLeftSince(i + 1);
    }
}

} // namespace
