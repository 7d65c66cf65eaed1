#include "TessalyTest.h"

#include "RuntimeRegistration.h"
#include "UpdateServers.h"

#include <wininet.h>

#include <algorithm>

namespace {

std::wstring CurrentTestName()
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    return ExpectedLanguageName() + (L"\\" + std::wstring(name.begin(), name.end()));
}

}  // namespace

TessalyTest::TessalyTest()
    : folder_(CurrentTestName()), program_(folder_.CopyProgram()), currentFolder_(folder_.MakeFolder(L"elsewhere"))
{
    runtime_registration::WriteVersion();
    // Every start asks an update server; by default each one announces the current version.
    UpdateServers::Instance().Reset();
}

TessalyRun& TessalyTest::Start(const std::wstring& parameters)
{
    run_.reset();   // one program at a time: an earlier one is killed first
    run_ = std::make_unique<TessalyRun>(program_, parameters, currentFolder_);
    return *run_;
}

std::optional<std::wstring> MismatchedReadsFile(const wchar_t* name)
{
    wchar_t mountpoint[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"TESSALY_FAILING_READS", mountpoint, MAX_PATH))
        return std::nullopt;
    return WindowsPathOfLinuxPath(Utf8(mountpoint)) + L"\\" + name;
}

TessalyRun& TessalyTest::StartAsShell(const std::wstring& modeSwitch, const std::vector<std::wstring>& paths)
{
    return Start(ShellExtensionParameters(modeSwitch, paths));
}

bool NetworkConnected()
{
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
}

std::wstring TextOfControl(HWND mainDialog, int controlId)
{
    return ControlText(mainDialog, controlId).value_or(L"");
}

RemoteListView ResultList(HWND mainDialog)
{
    return RemoteListView(GetDlgItem(mainDialog, control::kResultList));
}

bool WorkerWritesFileName(HWND mainDialog)
{
    return WaitUntil([&] { return TextOfControl(mainDialog, control::kFile) != fixed_text::kTemplateStatic; },
                     10s);
}

HWND MainDialogOf(const TessalyRun& run)
{
    const std::optional<HWND> dialog = run.WaitForMainDialog();
    if (!dialog)
        ADD_FAILURE() << "no main dialog; " << WhatItShows(run);
    return dialog.value_or(nullptr);
}

std::string WhatItShows(const TessalyRun& run)
{
    const std::optional<MessageBoxView> box = run.WaitForMessageBox(0ms);
    return box ? "the program shows " + Describe(*box) : "the program shows no message box";
}

testing::AssertionResult EndsAskingNothing(const TessalyRun& run)
{
    const EndOfRun end = run.WaitForEnd();
    if (end.exitCode)
        return testing::AssertionSuccess() << "exit code " << *end.exitCode;
    if (end.box)
        return testing::AssertionFailure() << "instead of ending, the program shows " << Describe(*end.box);
    if (end.hiddenButRunning)
        return testing::AssertionFailure() << "the program hid all its windows but did not end";
    return testing::AssertionFailure() << "the program did not end within " << kEndTimeout.count() << " ms";
}

testing::AssertionResult CaptionBecomes(HWND mainDialog, const std::wstring& caption)
{
    std::wstring shown;
    if (WaitUntil([&] { return (shown = TextOf(mainDialog).value_or(L"")) == caption; }, kShowTimeout))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the caption reads \"" << Utf8(shown) << "\", not \"" << Utf8(caption)
                                       << "\"";
}
