// Reads a list view of another process: its column headings and its rows.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

struct ListColumn {
    std::wstring heading;
    int width;
    int format;   // LVCFMT_LEFT, ...
};

using ListRow = std::vector<std::wstring>;   // the item text, then each sub-item's

class RemoteListView {
public:
    explicit RemoteListView(HWND list) : list_(list) {}

    std::vector<ListColumn> Columns() const;
    int RowCount() const;
    std::vector<ListRow> Rows() const;
    // The rows once some are listed and no more come for a moment (a program adds
    // them one by one); what is listed when the timeout passes.
    std::vector<ListRow> SettledRows(std::chrono::milliseconds timeout) const;
    // The check box of a row, in a list with check boxes.
    bool Checked(int row) const;
    void SetChecked(int row, bool checked) const;
    // The cell's rectangle on the screen, as the list lays it out now.
    RECT CellOnScreen(int row, int column) const;
    // Makes exactly these rows the selected ones, as the program's own code would.
    void Select(const std::vector<int>& rows) const;

private:
    int ColumnCount() const;
    HWND list_;
};
