#include "SettingsDialog.h"

#include <ostream>

namespace {

bool IsSettingsDialog(HWND window)
{
    return ClassNameOf(window) == L"#32770" && GetDlgItem(window, setting_control::kHashList) &&
           GetDlgItem(window, setting_control::kCompareHash);
}

}  // namespace

bool operator==(const SettingsChoice& a, const SettingsChoice& b)
{
    return a.hashes == b.hashes && a.lowercase == b.lowercase && a.compareHash == b.compareHash;
}

void PrintTo(const SettingsChoice& choice, std::ostream* out)
{
    *out << "hashes ";
    for (bool checked : choice.hashes)
        *out << (checked ? '1' : '0');
    *out << ", lowercase " << (choice.lowercase ? "checked" : "unchecked") << ", compare hash " << choice.compareHash;
}

std::optional<SettingsDialog> SettingsDialog::Open(const TessalyRun& run, HWND mainDialog)
{
    PostMessageW(GetDlgItem(mainDialog, control::kSettings), BM_CLICK, 0, 0);
    const std::optional<HWND> window = WaitFor<HWND>([&]() -> std::optional<HWND> {
        for (HWND shown : run.VisibleWindows())
            if (IsSettingsDialog(shown))
                return shown;
        return std::nullopt;
    }, kShowTimeout);
    if (!window)
        return std::nullopt;
    return SettingsDialog(*window);
}

std::wstring SettingsDialog::Text(int controlId) const
{
    return (controlId ? ControlText(window_, controlId) : TextOf(window_)).value_or(L"");
}

RemoteListView SettingsDialog::HashList() const
{
    return RemoteListView(GetDlgItem(window_, setting_control::kHashList));
}

SettingsChoice SettingsDialog::Shown() const
{
    SettingsChoice choice{{}, false, 0};
    const RemoteListView list = HashList();
    for (int row = 0; row < list.RowCount(); ++row)
        choice.hashes.push_back(list.Checked(row));
    choice.lowercase =
        SendWithTimeout(GetDlgItem(window_, setting_control::kLowercase), BM_GETCHECK, 0, 0) == BST_CHECKED;
    choice.compareHash =
        static_cast<int>(SendWithTimeout(GetDlgItem(window_, setting_control::kCompareHash), CB_GETCURSEL, 0, 0));
    return choice;
}

void SettingsDialog::Press(int controlId) const
{
    SendWithTimeout(GetDlgItem(window_, controlId), BM_CLICK, 0, 0);
}

void SettingsDialog::CheckHash(int row, bool checked) const
{
    HashList().SetChecked(row, checked);
}

void SettingsDialog::SelectCompareHash(int index) const
{
    SendWithTimeout(GetDlgItem(window_, setting_control::kCompareHash), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool SettingsDialog::WaitUntilClosed() const
{
    return WaitUntil([&] { return !IsWindow(window_) || !IsWindowVisible(window_); }, kEndTimeout);
}
