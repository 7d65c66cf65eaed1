// A real main dialog and its worker thread inside a test program: the command line they
// read, the worker's start, and this thread serving the messages the worker's control
// writes wait for.
#pragma once

#include "HashThread.h"
#include "TessalyDlg.h"
#include "resource.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

// The command line that the dialog and the worker read, for as long as the object lives.
class ProgramArguments {
public:
    explicit ProgramArguments(std::vector<std::wstring> arguments)
        : m_arguments(std::move(arguments)), m_count(__argc), m_values(__wargv)
    {
        for (std::wstring& argument : m_arguments)
            m_pointers.push_back(argument.data());
        m_pointers.push_back(nullptr);
        __argc = static_cast<int>(m_arguments.size());
        __wargv = m_pointers.data();
    }
    ~ProgramArguments()
    {
        __argc = m_count;
        __wargv = m_values;
    }
    ProgramArguments(const ProgramArguments&) = delete;
    ProgramArguments& operator=(const ProgramArguments&) = delete;

private:
    std::vector<std::wstring> m_arguments;
    std::vector<wchar_t*> m_pointers;
    int m_count;
    wchar_t** m_values;
};

// The worker's writes to the controls wait for this thread: it serves them until `done`.
template <typename Done>
bool ServeMessagesUntil(Done done, std::chrono::seconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// The worker thread on `dialog`, created suspended and kept (not auto-deleted), as
// start-up starts it; nullptr when it cannot be had.
inline CWinThread* CreateWorker(CTessalyDlg& dialog)
{
    CWinThread* worker = AfxBeginThread(HashThreadProc, &dialog, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (worker) {
        worker->m_bAutoDelete = FALSE;
        dialog.m_pWorkerThread = worker;
    }
    return worker;
}

// A small file in the temporary folder, removed with the object.
class InputFileOnDisk {
public:
    explicit InputFileOnDisk(const wchar_t* name)
    {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        m_path = std::wstring(folder) + name;
        const char text[] = "Larkspan sample text\n";
        HANDLE file =
            CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(file, text, sizeof text - 1, &written, nullptr));
        CloseHandle(file);
    }
    ~InputFileOnDisk() { DeleteFileW(m_path.c_str()); }
    InputFileOnDisk(const InputFileOnDisk&) = delete;
    InputFileOnDisk& operator=(const InputFileOnDisk&) = delete;

    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

// The application object and the common controls that the dialog needs.
class DialogWorkerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
    }

    CWinApp application;   // the dialog's message loops ask it to translate messages
};
