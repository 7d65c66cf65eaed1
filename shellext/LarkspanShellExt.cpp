#include "LarkspanShellExt.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstring>

#include "AtlModule.h"
#include "ComBoundary.h"
#include "LocalizedString.h"
#include "Product.h"
#include "ProgramParameters.h"
#include "WinApp.h"
#include "resource.h"

namespace {

constexpr UINT_PTR kEntryOffset = 1;   // upper separator 0, the entry 1, lower separator 2
constexpr HRESULT kNoCommandIds = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
constexpr HRESULT kThreeCommandIds = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 3);

HMODULE Module()
{
    return AfxGetInstanceHandle();
}

// Path `index` of the drop handle, whatever its length; empty when it cannot be read.
std::wstring DroppedPath(HDROP drop, UINT index)
{
    const UINT length = ::DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0)
        return {};
    std::wstring path(length + 1, L'\0');
    path.resize(::DragQueryFileW(drop, index, &path[0], length + 1));
    return path;
}

// The selected paths in the order of the drop handle, quoted where they hold a blank;
// a path that cannot be read is left out.
std::vector<std::wstring> SelectedPaths(HDROP drop, UINT count)
{
    std::vector<std::wstring> paths;
    for (UINT i = 0; i < count; ++i) {
        const std::wstring path = DroppedPath(drop, i);
        if (!path.empty())
            paths.push_back(QuoteSpaces(path));
    }
    return paths;
}

// The selection's CF_HDROP medium with its memory locked as a drop handle; unlocked and
// released when the object goes, however the reading ends.
class DropMedium {
public:
    DropMedium() = default;
    ~DropMedium()
    {
        if (m_drop)
            ::GlobalUnlock(m_medium.hGlobal);
        if (m_taken)
            ::ReleaseStgMedium(&m_medium);
    }
    DropMedium(const DropMedium&) = delete;
    DropMedium& operator=(const DropMedium&) = delete;

    // False when `data` gives no CF_HDROP in global memory or its memory cannot be locked.
    bool Take(IDataObject* data)
    {
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        m_taken = data && SUCCEEDED(data->GetData(&format, &m_medium));
        m_drop = m_taken ? static_cast<HDROP>(::GlobalLock(m_medium.hGlobal)) : nullptr;
        return m_drop != nullptr;
    }
    HDROP Drop() const { return m_drop; }

private:
    STGMEDIUM m_medium = {};
    bool m_taken = false;
    HDROP m_drop = nullptr;
};

// Tessaly.exe in the folder of this library.
std::wstring ProgramPath()
{
    wchar_t folder[MAX_PATH] = {};
    ::GetModuleFileNameW(Module(), folder, MAX_PATH);
    ::PathRemoveFileSpecW(folder);
    wchar_t program[MAX_PATH] = {};
    ::PathCombineW(program, folder, product::kProgramFile);
    return program;
}

void CopyAnsi(const CString& text, CHAR* name, UINT cchMax)
{
    const int size = 2 * (text.GetLength() + 1);
    std::string ansi(static_cast<size_t>(size), '\0');
    if (::WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, &ansi[0], size, nullptr, nullptr) != 0)
        ::lstrcpynA(name, ansi.c_str(), static_cast<int>(cchMax));
}

} // namespace

CLarkspanShellExt::CLarkspanShellExt()
{
    const std::wstring program = ProgramPath();
    m_strProgramPath = program;
    m_strProgramPathQuoted = QuoteSpaces(program);
    // Last, as nothing after them can fail: a construction that runs out of memory
    // leaves no bitmap behind.
    m_hHashBitmap = ::LoadBitmapW(Module(), MAKEINTRESOURCEW(IDB_HASH));
    m_hCompareBitmap = ::LoadBitmapW(Module(), MAKEINTRESOURCEW(IDB_COMPARE));
}

HRESULT WINAPI CLarkspanShellExt::UpdateRegistry(BOOL doRegister)
{
    return AtlGetModule()->UpdateRegistryFromResource(IDR_LARKSPAN_SHELLEXT, doRegister);
}

HRESULT CLarkspanShellExt::InternalQueryInterface(CLarkspanShellExt* object, REFIID iid, void** result)
{
    static const ComInterfaceEntry<CLarkspanShellExt> kInterfaceMap[] = {
        {&IID_ILarkspanShellExt, &InterfaceOf<ILarkspanShellExt, CLarkspanShellExt>},
        {&IID_IDispatch, &InterfaceOf<IDispatch, CLarkspanShellExt>},
        {&IID_IShellExtInit, &InterfaceOf<IShellExtInit, CLarkspanShellExt>},
        {&IID_IContextMenu, &InterfaceOf<IContextMenu, CLarkspanShellExt>},
    };
    return AtlInternalQueryInterface(object, kInterfaceMap, iid, result);
}

void CLarkspanShellExt::FinalRelease()
{
    if (m_hHashBitmap)
        ::DeleteObject(m_hHashBitmap);
    if (m_hCompareBitmap)
        ::DeleteObject(m_hCompareBitmap);
    m_listFiles.clear();
}

STDMETHODIMP CLarkspanShellExt::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY)
{
    return ComBoundary([&] { return TakeSelection(data); });
}

HRESULT CLarkspanShellExt::TakeSelection(IDataObject* data)
{
    DropMedium medium;
    if (!medium.Take(data))
        return E_INVALIDARG;
    const UINT count = ::DragQueryFileW(medium.Drop(), 0xFFFFFFFF, nullptr, 0);
    if (count == 0)
        return E_INVALIDARG;
    // Read whole before anything changes, so that a failure keeps the earlier selection.
    std::vector<std::wstring> paths = SelectedPaths(medium.Drop(), count);
    m_listFiles.swap(paths);
    m_nSelCount = count == 1 || count == 2 ? static_cast<int>(count) : 0;
    return m_listFiles.empty() ? E_FAIL : S_OK;
}

CString CLarkspanShellExt::EntryLabel() const
{
    return LoadLocalizedString(Module(), m_nSelCount == 1 ? IDS_HASH_ENTRY : IDS_COMPARE_ENTRY, product::kWord,
                               product::kShortVersion);
}

STDMETHODIMP CLarkspanShellExt::QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT, UINT flags)
{
    return ComBoundary([&] { return InsertEntry(menu, index, firstId, flags); });
}

HRESULT CLarkspanShellExt::InsertEntry(HMENU menu, UINT index, UINT firstId, UINT flags)
{
    if ((flags & (CMF_DEFAULTONLY | CMF_VERBSONLY)) || m_nSelCount == 0)
        return kNoCommandIds;
    // Before the menu changes, so that running out of memory for it leaves the menu as it was.
    const CString label = EntryLabel();
    if (!::InsertMenuW(menu, index, MF_BYPOSITION | MF_SEPARATOR, firstId, L""))
        return kNoCommandIds;
    if (!::InsertMenuW(menu, index + 1, MF_BYPOSITION | MF_STRING, firstId + 1, label))
        return kNoCommandIds;
    const HBITMAP picture = m_nSelCount == 1 ? m_hHashBitmap : m_hCompareBitmap;
    if (picture)
        ::SetMenuItemBitmaps(menu, index + 1, MF_BYPOSITION, picture, nullptr);
    if (!::InsertMenuW(menu, index + 2, MF_BYPOSITION | MF_SEPARATOR, firstId + 2, L""))
        return kNoCommandIds;
    return kThreeCommandIds;
}

STDMETHODIMP CLarkspanShellExt::GetCommandString(UINT_PTR, UINT type, UINT*, CHAR* name, UINT cchMax)
{
    return ComBoundary([&] { return CopyCommandString(type, name, cchMax); });
}

HRESULT CLarkspanShellExt::CopyCommandString(UINT type, CHAR* name, UINT cchMax) const
{
    if (!name)
        return E_INVALIDARG;
    std::memset(name, 0, cchMax);
    if (!(type & (GCS_HELPTEXTA | GCS_UNICODE)))
        return E_INVALIDARG;
    const CString text = m_nSelCount == 0 ? CString() : EntryLabel();
    if (type & GCS_UNICODE)
        ::lstrcpynW(reinterpret_cast<wchar_t*>(name), text, static_cast<int>(cchMax));
    else
        CopyAnsi(text, name, cchMax);
    return S_OK;
}

// The shell passes its own command offsets below 65536 and verb strings as addresses;
// a verb string is never this handler's.
bool CLarkspanShellExt::IsOwnCommand(const CMINVOKECOMMANDINFO& info) const
{
    return IS_INTRESOURCE(info.lpVerb) && reinterpret_cast<UINT_PTR>(info.lpVerb) == kEntryOffset &&
           m_nSelCount != 0;
}

STDMETHODIMP CLarkspanShellExt::InvokeCommand(CMINVOKECOMMANDINFO* info)
{
    return ComBoundary([&] { return StartProgram(info); });
}

HRESULT CLarkspanShellExt::StartProgram(const CMINVOKECOMMANDINFO* info)
{
    // The verb comes first: the shell also hands over verbs that are not ours, and those
    // must not raise the error box below.
    if (!info || !IsOwnCommand(*info))
        return E_INVALIDARG;
    if (!::PathFileExistsW(m_strProgramPath)) {
        ::MessageBoxW(nullptr, LoadLocalizedString(Module(), IDS_PROGRAM_MISSING, product::kProgramFile),
                      LoadLocalizedString(Module(), IDS_ERROR_CAPTION), MB_ICONERROR);
        return E_INVALIDARG;
    }
    const std::wstring parameters = ProgramParameters(m_nSelCount, m_listFiles);
    ::ShellExecuteW(nullptr, L"open", m_strProgramPathQuoted, parameters.c_str(), nullptr, SW_SHOWNORMAL);
    m_listFiles.clear();
    return S_OK;
}
