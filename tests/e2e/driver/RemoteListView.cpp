#include "RemoteListView.h"

#include "WindowQuery.h"

#include <commctrl.h>

#include <stdexcept>

namespace {

constexpr int kTextCapacity = 1024;
// State images of a list with check boxes: 1 unchecked, 2 checked.
constexpr UINT kCheckedImage = 2;
constexpr UINT kUncheckedImage = 1;

// A block of the list owner's memory: list messages take their structures by address
// and write into them, so the structures must live in that process.
class RemoteBlock {
public:
    RemoteBlock(HWND window, size_t size)
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_)
            address_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
        if (!address_)
            throw std::runtime_error("cannot reach the memory of the list's process");
    }
    ~RemoteBlock()
    {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    char* Address(size_t offset = 0) const { return address_ + offset; }
    void Write(const void* data, size_t size) const
    {
        WriteProcessMemory(process_, address_, data, size, nullptr);
    }
    void Read(size_t offset, void* data, size_t size) const
    {
        if (!ReadProcessMemory(process_, address_ + offset, data, size, nullptr))
            throw std::runtime_error("cannot read the memory of the list's process");
    }
    std::wstring ReadText(size_t offset) const
    {
        std::wstring text(kTextCapacity, L'\0');
        Read(offset, text.data(), kTextCapacity * sizeof(wchar_t));
        text.resize(wcsnlen(text.c_str(), kTextCapacity));
        return text;
    }

private:
    HANDLE process_ = nullptr;
    char* address_ = nullptr;
};

// Sends a list message whose structure (with its text buffer behind it) lives remotely,
// and returns the structure as the list filled it, and its text.
template <class Structure>
std::pair<Structure, std::wstring> QueryWithText(HWND list, UINT message, WPARAM index, Structure query)
{
    RemoteBlock block(list, sizeof(Structure) + kTextCapacity * sizeof(wchar_t));
    query.pszText = reinterpret_cast<LPWSTR>(block.Address(sizeof(Structure)));
    query.cchTextMax = kTextCapacity;
    block.Write(&query, sizeof query);
    SendWithTimeout(list, message, index, reinterpret_cast<LPARAM>(block.Address()));
    Structure answer{};
    block.Read(0, &answer, sizeof answer);
    return {answer, block.ReadText(sizeof(Structure))};
}

}  // namespace

int RemoteListView::ColumnCount() const
{
    HWND header = reinterpret_cast<HWND>(SendWithTimeout(list_, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendWithTimeout(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::vector<ListColumn> RemoteListView::Columns() const
{
    std::vector<ListColumn> columns;
    for (int i = 0; i < ColumnCount(); ++i) {
        LVCOLUMNW query{};
        query.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        auto [column, heading] = QueryWithText(list_, LVM_GETCOLUMNW, i, query);
        columns.push_back({heading, column.cx, column.fmt & LVCFMT_JUSTIFYMASK});
    }
    return columns;
}

int RemoteListView::RowCount() const
{
    return static_cast<int>(SendWithTimeout(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::vector<ListRow> RemoteListView::Rows() const
{
    std::vector<ListRow> rows(RowCount());
    const int columns = ColumnCount();
    for (size_t row = 0; row < rows.size(); ++row) {
        for (int sub = 0; sub < columns; ++sub) {
            LVITEMW query{};
            query.iSubItem = sub;
            rows[row].push_back(QueryWithText(list_, LVM_GETITEMTEXTW, row, query).second);
        }
    }
    return rows;
}

RECT RemoteListView::CellOnScreen(int row, int column) const
{
    // Sub-item 0 stands for the whole row; its label is the first column's cell.
    RECT cell{LVIR_LABEL, column, 0, 0};
    RemoteBlock block(list_, sizeof cell);
    block.Write(&cell, sizeof cell);
    SendWithTimeout(list_, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(block.Address()));
    block.Read(0, &cell, sizeof cell);
    MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&cell), 2);
    return cell;
}

void RemoteListView::Select(const std::vector<int>& rows) const
{
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    RemoteBlock block(list_, sizeof state);
    block.Write(&state, sizeof state);
    SendWithTimeout(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(block.Address()));
    state.state = LVIS_SELECTED;
    block.Write(&state, sizeof state);
    for (int row : rows)
        SendWithTimeout(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(block.Address()));
}

std::vector<ListRow> RemoteListView::SettledRows(std::chrono::milliseconds timeout) const
{
    using Clock = std::chrono::steady_clock;
    int count = 0;
    Clock::time_point unchangedSince = Clock::now();
    WaitUntil([&] {
        const int now = RowCount();
        if (now != count) {
            count = now;
            unchangedSince = Clock::now();
        }
        return count > 0 && Clock::now() - unchangedSince > 500ms;
    }, timeout);
    return Rows();
}

bool RemoteListView::Checked(int row) const
{
    const auto state = static_cast<UINT>(SendWithTimeout(list_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(kCheckedImage);
}

void RemoteListView::SetChecked(int row, bool checked) const
{
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? kCheckedImage : kUncheckedImage);
    RemoteBlock block(list_, sizeof item);
    block.Write(&item, sizeof item);
    SendWithTimeout(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.Address()));
}
