#include "ProgressDisplay.h"

#include <ctime>

#include "LocalizedString.h"
#include "Progress.h"
#include "TessalyDlg.h"
#include "TimeLeftText.h"
#include "resource.h"

namespace {
int32_t Now()
{
    return static_cast<int32_t>(clock());
}
}

ProgressDisplay::ProgressDisplay(CTessalyDlg& dialog) : m_dialog(dialog), m_start(Now()), m_lastUpdate(m_start) {}

void ProgressDisplay::RestartInterval()
{
    m_lastUpdate = Now();
}

std::function<bool()> ProgressDisplay::OfBlock(uint64_t remaining, uint64_t filePercentage, uint64_t shown,
                                               uint64_t total, uint64_t done)
{
    return [=] { return Show(remaining, filePercentage, shown, total, done); };
}

bool ProgressDisplay::Show(uint64_t remaining, uint64_t filePercentage, uint64_t shown, uint64_t total,
                           uint64_t done)
{
    // Between blocks the worker holds no lock: the place to wait while the user is
    // asked whether to cancel.
    const WorkerGate::Output output(m_dialog.m_workerGate);
    if (!ProgressUpdateDue(Now(), m_lastUpdate, remaining, filePercentage, m_lastPercentage))
        return !m_dialog.m_bCancel;   // a cancel answered here stops the run before its next read

    const int32_t elapsed = ElapsedSeconds(Now(), m_start);
    m_dialog.SetStaticText(m_dialog.m_staticTimeLeft, TimeLeftText(SplitTimeLeft(SecondsLeft(total, done, elapsed))));
    m_dialog.m_progress.SetPos(static_cast<int>(shown));
    m_dialog.SetStaticText(m_dialog.m_staticPercent, LoadLocalizedString(IDS_PERCENT_DONE, shown));
    if (m_dialog.m_bCancel)
        return false;
    m_lastPercentage = filePercentage;
    m_lastUpdate = Now();
    return true;
}
