#include "HashThread.h"

#include "Arguments.h"
#include "CommandLine.h"
#include "LocalizedString.h"
#include "Product.h"
#include "TessalyDlg.h"
#include "resource.h"

namespace {
void ShowTask(CTessalyDlg& dialog, const wchar_t* korean, const wchar_t* english, UINT titleId)
{
    const WorkerGate::Output output(dialog.m_workerGate);
    dialog.m_staticTask.SetWindowText(LocalizedText(korean, english));
    dialog.SetWindowText(LoadLocalizedString(titleId, product::kWord, product::kShortVersion));
}

void RunChosenWork(CTessalyDlg& dialog)
{
    switch (RunModeOf(ProgramArgument(1))) {
    case RunMode::HashFile:
        ShowTask(dialog, L"파일 해시를 검사합니다", L"Check the file hash", IDS_TITLE_FILE_HASH);
        dialog.HashFile();
        break;
    case RunMode::CompareFiles:
        ShowTask(dialog, L"파일 해시를 비교합니다", L"Compare the file hash", IDS_TITLE_COMPARE);
        dialog.CompareFiles();
        break;
    case RunMode::None:
        break;   // an unknown switch is no error: nothing runs
    }
}
}

UINT __cdecl HashThreadProc(LPVOID param)
{
    auto* dialog = static_cast<CTessalyDlg*>(param);
    try {
        RunChosenWork(*dialog);
    } catch (...) {
        // Out of memory, or a threading library out of memory or handles (std::system_error),
        // here or on a helper thread: the run ends as a failed one does, without rows (they
        // are written only once every value is at hand). A message box would need them too.
    }
    dialog->m_bDone.exchange(true);
    return 0;
}
