// The settings dialog of a run: opened with the main dialog's settings button, then
// read and worked across processes as a user works it.
#pragma once

#include "RemoteListView.h"
#include "TessalyRun.h"

#include <optional>
#include <string>
#include <vector>

namespace setting_control {
inline constexpr int kOk = IDOK;
inline constexpr int kCancel = IDCANCEL;
inline constexpr int kSelectAll = 1000;
inline constexpr int kUnselectAll = 1001;
inline constexpr int kReset = 1002;
inline constexpr int kLowercase = 1003;
inline constexpr int kCompareHash = 1004;
inline constexpr int kHashList = 1005;
inline constexpr int kSearchHashLabel = 1006;
inline constexpr int kCompareHashLabel = 1007;
}  // namespace setting_control

inline constexpr int kHashKinds = 9;

// What the dialog shows of the stored choice.
struct SettingsChoice {
    std::vector<bool> hashes;   // the check boxes of the nine rows, in hash-list order
    bool lowercase;
    int compareHash;            // the combo box's selection; -1: none
};
bool operator==(const SettingsChoice& a, const SettingsChoice& b);
void PrintTo(const SettingsChoice& choice, std::ostream* out);

class SettingsDialog {
public:
    // Clicks the settings button (posted: the dialog runs modally inside the click) and
    // waits for the dialog; nothing when it does not open.
    static std::optional<SettingsDialog> Open(const TessalyRun& run, HWND mainDialog);

    HWND Window() const { return window_; }
    std::wstring Text(int controlId) const;   // 0: the caption
    RemoteListView HashList() const;
    SettingsChoice Shown() const;

    // A click on a button or the check box; carried out when this returns.
    void Press(int controlId) const;
    void CheckHash(int row, bool checked) const;
    void SelectCompareHash(int index) const;
    // True once the dialog is gone.
    bool WaitUntilClosed() const;

private:
    explicit SettingsDialog(HWND window) : window_(window) {}
    HWND window_;
};
