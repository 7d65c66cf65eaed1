// A Close while the worker is stuck in a read (a slow network share, a disk spinning up):
// the question comes at once, while the read still waits, and the worker shows nothing
// until the answer. No: the run goes on to its rows (or its error box). Yes: the windows
// go at once, even while the read still waits; no rows, no error box, and the dialog is
// destroyed as soon as the worker has stopped.
//
// The worker's read waits on an event that this test sets only once it has seen the
// question, so no timing can make the question come first by luck.
#include "DialogWorkerRun.h"
#include "ImportSlot.h"

#include <atomic>
#include <mutex>
#include <thread>

extern "C" {
extern decltype(&ReadFile) __imp_ReadFile;
extern decltype(&MessageBoxW) __imp_MessageBoxW;
extern decltype(&SendMessageW) __imp_SendMessageW;
}

namespace {

constexpr auto kLimit = std::chrono::seconds(10);

// The worker's reads: the `blocked`-th waits until the test lets it go, then fails or reads.
struct ReadPlan {
    DWORD workerThread = 0;
    int blocked = 0;
    bool fails = false;
    std::atomic<int> calls{0};
    HANDLE entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE mayGo = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~ReadPlan()
    {
        CloseHandle(entered);
        CloseHandle(mayGo);
    }
};
ReadPlan* g_reads = nullptr;
decltype(&ReadFile) g_realReadFile = nullptr;

BOOL WINAPI ReadFileAsPlanned(HANDLE file, LPVOID buffer, DWORD length, LPDWORD read, LPOVERLAPPED overlapped)
{
    if (g_reads && GetCurrentThreadId() == g_reads->workerThread && ++g_reads->calls == g_reads->blocked) {
        SetEvent(g_reads->entered);
        WaitForSingleObject(g_reads->mayGo, INFINITE);
        if (g_reads->fails) {
            SetLastError(ERROR_CRC);
            return FALSE;
        }
    }
    return g_realReadFile(file, buffer, length, read, overlapped);
}

// What the program showed: its message boxes' texts and the rows it inserted.
std::mutex g_shownMutex;
std::vector<std::wstring> g_boxTexts;
std::atomic<int> g_rowInserts{0};
decltype(&MessageBoxW) g_realMessageBoxW = nullptr;
decltype(&SendMessageW) g_realSendMessageW = nullptr;

int WINAPI RecordedMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    {
        std::lock_guard<std::mutex> lock(g_shownMutex);
        g_boxTexts.emplace_back(text);
    }
    return g_realMessageBoxW(owner, text, caption, type);
}

LRESULT WINAPI RecordedSendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LVM_INSERTITEMW)
        ++g_rowInserts;
    return g_realSendMessageW(window, message, wParam, lParam);
}

std::vector<std::wstring> BoxTexts()
{
    std::lock_guard<std::mutex> lock(g_shownMutex);
    return g_boxTexts;
}

// A visible message box that a thread shows, other than the main dialog (a dialog too);
// nullptr until there is one.
HWND BoxOfThread(DWORD thread, HWND mainDialog)
{
    struct Search {
        HWND mainDialog;
        HWND box;
    } search = {mainDialog, nullptr};
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM data) {
            auto* search = reinterpret_cast<Search*>(data);
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (window == search->mainDialog || std::wstring(name) != L"#32770" || !IsWindowVisible(window))
                return TRUE;
            search->box = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.box;
}

template <typename Condition>
bool WaitFor(Condition condition)
{
    const auto end = std::chrono::steady_clock::now() + kLimit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

HWND WaitForBoxOfThread(DWORD thread, HWND mainDialog)
{
    HWND box = nullptr;
    WaitFor([&] { return (box = BoxOfThread(thread, mainDialog)) != nullptr; });
    return box;
}

void Press(HWND box, int button)
{
    // Posted: what the program does next must not wait for this thread.
    PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
}

// What the user sees while the question is open, as another thread of the user's watches it.
struct WhileAsked {
    bool askedDuringTheRead = false;   // the question came while the read still waited
    bool workerHeld = false;           // the worker then waited before showing anything
    int rowInserts = -1;
    size_t boxes = 0;
    bool hiddenDuringTheRead = false;   // answered while the read waits: the window went at once
};

struct Case {
    const char* name;
    bool compare;
    int blockedRead;   // 1: the file's first block; 2: the end of a file of one block; 4: of the second file
    bool readFails;
    int answer;
    bool answerDuringTheRead;   // the read goes on only after the answer
    int rows;                   // -1: one per enabled hash
    bool errorBox;
};

const Case kCases[] = {
    {"first block, No: the rows", false, 1, false, IDNO, false, -1, false},
    {"first block, Yes: closed without rows", false, 1, false, IDYES, false, 0, false},
    {"failed read, No: the error box", false, 1, true, IDNO, false, 0, true},
    {"failed read, Yes: closed without a box", false, 1, true, IDYES, false, 0, false},
    {"end of the file, No: the rows", false, 2, false, IDNO, false, -1, false},
    {"end of the file, Yes: closed without rows", false, 2, false, IDYES, false, 0, false},
    {"compare, end of the second file, No: both rows", true, 4, false, IDNO, false, 2, false},
    {"compare, end of the second file, Yes: closed without rows", true, 4, false, IDYES, false, 0, false},
    {"No while the read waits: the rows", false, 1, false, IDNO, true, -1, false},
    {"Yes while the read waits: hidden at once, closed without rows", false, 1, false, IDYES, true, 0, false},
};

class CloseDuringWorkTest : public DialogWorkerTest, public testing::WithParamInterface<Case> {
protected:
    void SetUp() override
    {
        DialogWorkerTest::SetUp();
        g_boxTexts.clear();
        g_rowInserts = 0;
        g_realReadFile = ReplaceImport(__imp_ReadFile, &ReadFileAsPlanned);
        g_realMessageBoxW = ReplaceImport(__imp_MessageBoxW, &RecordedMessageBoxW);
        g_realSendMessageW = ReplaceImport(__imp_SendMessageW, &RecordedSendMessageW);
    }
    void TearDown() override
    {
        ReplaceImport(__imp_ReadFile, g_realReadFile);
        ReplaceImport(__imp_MessageBoxW, g_realMessageBoxW);
        ReplaceImport(__imp_SendMessageW, g_realSendMessageW);
        g_reads = nullptr;
    }

    // Answers the question while the read still waits: lets it go on only once the answer
    // has been seen to, or once the question was given up on.
    static WhileAsked AnswerDuringTheRead(DWORD uiThread, CTessalyDlg& dialog, ReadPlan& reads, int answer)
    {
        WhileAsked seen;
        const HWND question = WaitForBoxOfThread(uiThread, dialog.m_hWnd);
        seen.askedDuringTheRead = question != nullptr;
        seen.rowInserts = g_rowInserts;
        seen.boxes = BoxTexts().size();
        if (question) {
            Press(question, answer);
            WaitFor([&] { return !IsWindow(question) || !IsWindowVisible(question); });
            seen.hiddenDuringTheRead = answer == IDYES ? WaitFor([&] { return !IsWindowVisible(dialog.m_hWnd); })
                                                       : !IsWindowVisible(dialog.m_hWnd);
        }
        SetEvent(reads.mayGo);
        return seen;
    }

    // Answers the question as the user would, once the worker waits; lets the read go on
    // only after the question was seen (or given up on, so that the run can still end).
    static WhileAsked AnswerQuestion(DWORD uiThread, CTessalyDlg& dialog, ReadPlan& reads, int answer)
    {
        WhileAsked seen;
        HWND question = WaitForBoxOfThread(uiThread, dialog.m_hWnd);
        seen.askedDuringTheRead = question != nullptr;
        SetEvent(reads.mayGo);
        if (!question)
            question = WaitForBoxOfThread(uiThread, dialog.m_hWnd);   // asked only once the read ended?
        if (!question) {
            // Never asked: a box of the worker's may be what the close waits for; ending it lets the test end.
            if (const HWND box = BoxOfThread(reads.workerThread, nullptr))
                Press(box, IDOK);
        }
        seen.workerHeld = WaitFor([&] { return dialog.m_workerGate.IsHeld() || dialog.m_bDone; }) &&
                          dialog.m_workerGate.IsHeld();
        seen.rowInserts = g_rowInserts;
        seen.boxes = BoxTexts().size();
        if (question)
            Press(question, answer);
        return seen;
    }

    const InputFileOnDisk input{L"close-during-work.txt"};
};

TEST_P(CloseDuringWorkTest, AsksAtOnceAndShowsNothingUntilTheAnswer)
{
    const Case& c = GetParam();
    const std::wstring& file = input.Path();
    const ProgramArguments arguments(c.compare ? std::vector<std::wstring>{L"Tessaly.exe", L"-c", file, file}
                                               : std::vector<std::wstring>{L"Tessaly.exe", L"-h", file});
    CTessalyDlg dialog;
    ASSERT_TRUE(dialog.Create(IDD_TESSALY_DIALOG, nullptr));
    const HWND window = dialog.m_hWnd;
    int expectedRows = c.rows;
    if (expectedRows < 0) {
        expectedRows = 0;
        for (size_t i = 0; i < kHashCount; ++i)
            expectedRows += *dialog.Settings().EnableFlag(i) != 0;
    }
    CWinThread* worker = CreateWorker(dialog);
    ASSERT_TRUE(worker);
    ReadPlan reads;
    reads.workerThread = worker->m_nThreadID;
    reads.blocked = c.blockedRead;
    reads.fails = c.readFails;
    g_reads = &reads;
    worker->ResumeThread();
    ASSERT_TRUE(ServeMessagesUntil([&] { return WaitForSingleObject(reads.entered, 0) == WAIT_OBJECT_0; },
                                   kLimit)) << "the worker never reached the read";

    WhileAsked seen;
    std::atomic<bool> answered{false};
    std::thread user([&, uiThread = GetCurrentThreadId()] {
        seen = c.answerDuringTheRead ? AnswerDuringTheRead(uiThread, dialog, reads, c.answer)
                                     : AnswerQuestion(uiThread, dialog, reads, c.answer);
        answered = true;
    });
    dialog.PostMessage(WM_SYSCOMMAND, SC_CLOSE);
    ServeMessagesUntil([&] { return answered.load(); }, kLimit * 4);
    user.join();

    EXPECT_TRUE(seen.askedDuringTheRead) << "the question waited for the read to end";
    if (c.answerDuringTheRead) {
        EXPECT_EQ(seen.hiddenDuringTheRead, c.answer == IDYES) << "the window after the answer, the read still waiting";
    } else {
        EXPECT_TRUE(seen.workerHeld) << "the worker did not wait while the question was open";
    }
    EXPECT_EQ(seen.rowInserts, 0) << "rows were listed while the question was open";
    EXPECT_EQ(seen.boxes, 1u) << "another box came while the question was open";

    if (c.errorBox) {
        std::thread dismisser([&] {
            if (const HWND box = WaitForBoxOfThread(worker->m_nThreadID, window))
                Press(box, IDOK);
        });
        ServeMessagesUntil([&] { return dialog.m_bDone.load(); }, kLimit);
        dismisser.join();
    }
    if (c.answer == IDYES) {
        EXPECT_TRUE(ServeMessagesUntil([&] { return !IsWindow(window); }, kLimit)) << "the dialog stayed";
        EXPECT_TRUE(dialog.m_bDone);
    } else {
        EXPECT_TRUE(ServeMessagesUntil([&] { return dialog.m_bDone.load(); }, kLimit)) << "the work never ended";
        EXPECT_TRUE(IsWindow(window)) << "No closed the dialog";
        EXPECT_EQ(dialog.m_listResult.GetItemCount(), expectedRows);
    }
    EXPECT_EQ(g_rowInserts, expectedRows);
    const std::vector<std::wstring> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), c.errorBox ? 2u : 1u);
    EXPECT_EQ(boxes[0], L"Are you sure you want to cancel?");
    if (c.errorBox) {
        EXPECT_EQ(boxes[1].rfind(L"Error(1018)", 0), 0u) << "the error box reads: " << testing::PrintToString(boxes[1]);
    }

    if (IsWindow(window)) {
        dialog.SendMessage(WM_CLOSE);
        EXPECT_TRUE(ServeMessagesUntil([&] { return !IsWindow(window); }, kLimit));
    }
    EXPECT_EQ(WaitForSingleObject(worker->m_hThread, 10000), WAIT_OBJECT_0);
}

std::string CaseName(const testing::TestParamInfo<Case>& info)
{
    return "Case" + std::to_string(info.index);
}

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

INSTANTIATE_TEST_SUITE_P(Reads, CloseDuringWorkTest, testing::ValuesIn(kCases), CaseName);

}  // namespace
