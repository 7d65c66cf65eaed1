// The worker thread with each of its allocations failing in turn, as on an exhausted
// heap, and with the exception that the threading library throws when it runs out of
// resources: the run ends without rows and without a box (or, where it can do without the
// allocation, lists every row), the worker says it is done, and the dialog closes as
// after any failed run. Never an abort.
#include "AllocationHook.h"
#include "DialogWorkerRun.h"
#include "ImportSlot.h"

#include <wincrypt.h>

#include <atomic>
#include <system_error>

extern "C" {
extern decltype(&ReadFile) __imp_ReadFile;
extern decltype(&CryptHashData) __imp_CryptHashData;
}

namespace {

struct RunOutcome {
    bool allocationFailed = false;
    int rows = -1;
};

// One run of the dialog and its worker, the worker's `failing`-th allocation failing
// (none for 0), then a close as the user gives it.
RunOutcome RunWithFailingAllocation(LONG failing)
{
    RunOutcome outcome;
    CTessalyDlg dialog;
    EXPECT_TRUE(dialog.Create(IDD_TESSALY_DIALOG, nullptr));
    CWinThread* worker = CreateWorker(dialog);
    if (!worker) {
        ADD_FAILURE() << "no worker thread";
        return outcome;
    }
    FailAllocationOfThread(worker->m_nThreadID, failing);
    worker->ResumeThread();
    const bool done = ServeMessagesUntil([&] { return dialog.m_bDone.load(); }, std::chrono::seconds(60));
    outcome.allocationFailed = AllocationFailed() != FALSE;
    FailAllocation(0);
    EXPECT_TRUE(done) << "allocation " << failing << " failing: the worker never said it was done (a box?)";
    outcome.rows = dialog.m_listResult.GetItemCount();

    // The dialog turns a close into the Cancel command, which it posts to itself.
    const HWND window = dialog.m_hWnd;
    dialog.SendMessage(WM_CLOSE);
    EXPECT_TRUE(ServeMessagesUntil([&] { return !IsWindow(window); }, std::chrono::seconds(10)))
        << "allocation " << failing << " failing: the dialog did not close";
    EXPECT_EQ(WaitForSingleObject(worker->m_hThread, 10000), WAIT_OBJECT_0) << "allocation " << failing;
    return outcome;
}

class WorkerTest : public DialogWorkerTest {
protected:
    const InputFileOnDisk input{L"worker-out-of-memory.txt"};
    const std::wstring& file = input.Path();
};

TEST_F(WorkerTest, EndsWithoutRowsAndClosesWhenAnAllocationFails)
{
    struct Case {
        const char* name;
        std::vector<std::wstring> arguments;
    };
    const Case cases[] = {
        {"-h", {L"Tessaly.exe", L"-h", file}},
        {"-c", {L"Tessaly.exe", L"-c", file, file}},
    };
    for (const Case& c : cases) {
        const ProgramArguments arguments(c.arguments);
        const int rows = RunWithFailingAllocation(0).rows;
        ASSERT_GT(rows, 0) << c.name << ": a run with memory enough lists its values";
        LONG failing = 1;
        for (; failing < 2000; ++failing) {
            const RunOutcome outcome = RunWithFailingAllocation(failing);
            if (!outcome.allocationFailed) {
                EXPECT_EQ(outcome.rows, rows) << c.name << ": the run made fewer allocations than " << failing;
                break;
            }
            // Some failures the run absorbs (a helper thread that cannot be had): then every row.
            EXPECT_TRUE(outcome.rows == 0 || outcome.rows == rows)
                << c.name << ": allocation " << failing << " failed, and " << outcome.rows << " of " << rows
                << " rows were listed";
        }
        EXPECT_GT(failing, 5) << c.name << ": the worker allocates; each of its allocations fails once";
        EXPECT_LT(failing, 2000) << c.name << ": the worker still fails an allocation after 2000 of them";
    }
}

// What mingw's threading library throws when it cannot set a mutex up (on its first lock).
std::atomic<int> g_throws{0};
[[noreturn]] void ThrowAsTheThreadingLibraryDoes()
{
    ++g_throws;
    throw std::system_error(std::make_error_code(std::errc::not_enough_memory));
}

BOOL WINAPI ThrowingReadFile(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED)
{
    ThrowAsTheThreadingLibraryDoes();
}

BOOL WINAPI ThrowingHashData(HCRYPTHASH, const BYTE*, DWORD, DWORD)
{
    ThrowAsTheThreadingLibraryDoes();
}

// One run with the program's calls of the system function behind `slot` throwing.
template <typename Function>
RunOutcome RunWithImportThrowing(Function& slot, Function thrower)
{
    g_throws = 0;
    const Function original = ReplaceImport(slot, thrower);
    const RunOutcome outcome = RunWithFailingAllocation(0);
    ReplaceImport(slot, original);
    EXPECT_GT(g_throws, 0) << "the replaced call was made";
    return outcome;
}

TEST_F(WorkerTest, EndsWithoutRowsAndClosesWhenTheThreadingLibraryThrows)
{
    // On the worker's own thread, which reads the file; on a helper thread, where a
    // CryptoAPI hash of the three default ones takes a block.
    {
        SCOPED_TRACE("-h, the worker's thread");
        const ProgramArguments arguments({L"Tessaly.exe", L"-h", file});
        EXPECT_EQ(RunWithImportThrowing(__imp_ReadFile, &ThrowingReadFile).rows, 0);
    }
    {
        SCOPED_TRACE("-c, the worker's thread");
        const ProgramArguments arguments({L"Tessaly.exe", L"-c", file, file});
        EXPECT_EQ(RunWithImportThrowing(__imp_ReadFile, &ThrowingReadFile).rows, 0);
    }
    {
        SCOPED_TRACE("-h, a helper thread");
        const ProgramArguments arguments({L"Tessaly.exe", L"-h", file});
        EXPECT_EQ(RunWithImportThrowing(__imp_CryptHashData, &ThrowingHashData).rows, 0);
    }
}

}  // namespace
