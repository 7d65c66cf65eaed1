// The progress output of a hashing run: after each block, when due, the time left,
// the bar, the percentage text and the cancel check, in this order.
#pragma once

#include <cstdint>
#include <functional>

class CTessalyDlg;

class ProgressDisplay {
public:
    // The run's start time is taken here.
    explicit ProgressDisplay(CTessalyDlg& dialog);

    // Starts the 250 ms interval afresh (before a file's first block).
    void RestartInterval();
    // The progress of one block, for the hashes to show once they are done with the
    // block (HashGroup::Feed): of `filePercentage` (which decides whether the display is
    // due), showing `shown` on the bar and in the text, with the time left of `done` out
    // of `total` bytes. It answers false when the user has cancelled: the run stops.
    std::function<bool()> OfBlock(uint64_t remaining, uint64_t filePercentage, uint64_t shown, uint64_t total,
                                  uint64_t done);

private:
    bool Show(uint64_t remaining, uint64_t filePercentage, uint64_t shown, uint64_t total, uint64_t done);

    CTessalyDlg& m_dialog;
    int32_t m_start;
    int32_t m_lastUpdate;
    uint64_t m_lastPercentage = 0;
};
