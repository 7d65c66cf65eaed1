// The progress output of a hashing run: after each block, when due, the time left,
// the bar, the percentage text and the cancel check, in this order.
#pragma once

#include <cstdint>

class CTessalyDlg;

class ProgressDisplay {
public:
    // The run's start time is taken here.
    explicit ProgressDisplay(CTessalyDlg& dialog);

    // Starts the 250 ms interval afresh (before a file's first block).
    void RestartInterval();
    // After each block of `filePercentage` (which decides whether the display is due),
    // showing `shown` on the bar and in the text, with the time left of `done` out of
    // `total` bytes. False when the user has cancelled: the run stops.
    bool AfterBlock(uint64_t remaining, uint64_t filePercentage, uint64_t shown, uint64_t total, uint64_t done);

private:
    CTessalyDlg& m_dialog;
    int32_t m_start;
    int32_t m_lastUpdate;
    uint64_t m_lastPercentage = 0;
};
