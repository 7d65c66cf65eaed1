#include "ShellExtTestSupport.h"

#include "RecordedCommandLines.h"

#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <stdexcept>
#include <thread>

const CLSID kClsidLarkspanShellExt = {0xa81f4c27, 0x60d9, 0x4b3a, {0x8e, 0x5c, 0x2f, 0x97, 0xd0, 0xb6, 0x4a, 0x13}};
const IID kIidLarkspanShellExt = {0x7c2d91e4, 0x5a38, 0x4f07, {0xb1, 0xc6, 0x3e, 0x8a, 0x0d, 0x59, 0xf2, 0x74}};
const GUID kLibidLarkspan = {0x5b2e7a90, 0x3c41, 0x4d8e, {0x9f, 0x06, 0xb1, 0xa4, 0xc7, 0xd2, 0xe8, 0x15}};

namespace {

void Require(bool ok, const std::string& what)
{
    if (!ok)
        throw std::runtime_error(what + " (error " + std::to_string(GetLastError()) + ")");
}

// Frees a medium's memory block when its receiver releases the medium, and counts it.
class MediumOwner final : public IUnknown {
public:
    MediumOwner(HGLOBAL block, LONG* outstanding) : m_block(block), m_outstanding(outstanding) { ++*m_outstanding; }

    STDMETHODIMP QueryInterface(REFIID iid, void** result) override
    {
        *result = IsEqualIID(iid, IID_IUnknown) ? this : nullptr;
        if (!*result)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_count; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG count = --m_count;
        if (count == 0) {
            GlobalFree(m_block);
            --*m_outstanding;
            delete this;
        }
        return count;
    }

private:
    ULONG m_count = 1;
    HGLOBAL m_block;
    LONG* m_outstanding;
};

// IDataObject with one rendering: CF_HDROP in a global memory block.
class DropDataObject final : public IDataObject {
public:
    DropDataObject(const std::vector<std::wstring>& paths, DropKind kind, LONG* outstandingMedia)
        : m_kind(kind), m_outstandingMedia(outstandingMedia)
    {
        for (const std::wstring& path : paths)
            m_names.insert(m_names.end(), path.c_str(), path.c_str() + path.size() + 1);
        m_names.push_back(L'\0');
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** result) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *result = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *result = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_count; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG count = --m_count;
        if (count == 0)
            delete this;
        return count;
    }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = m_kind == DropKind::UnlockableMemory ? nullptr : DropBlock();
        medium->pUnkForRelease = m_outstandingMedia ? new MediumOwner(medium->hGlobal, m_outstandingMedia) : nullptr;
        return S_OK;
    }
    STDMETHODIMP QueryGetData(FORMATETC* format) override
    {
        return m_kind != DropKind::NoDropFormat && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL)
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~DropDataObject() = default;

    HGLOBAL DropBlock() const
    {
        const size_t bytes = sizeof(DROPFILES) + m_names.size() * sizeof(wchar_t);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        std::copy(m_names.begin(), m_names.end(), reinterpret_cast<wchar_t*>(drop + 1));
        GlobalUnlock(block);
        return block;
    }

    ULONG m_count = 1;
    DropKind m_kind;
    LONG* m_outstandingMedia;
    std::vector<wchar_t> m_names;   // every path with its terminator, then one more
};

bool IsMessageBoxOfThisThread(HWND window)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return IsWindowVisible(window) && std::wstring(className) == L"#32770";
}

bool ShowsButton(HWND box, int id)
{
    HWND button = GetDlgItem(box, id);
    return button && IsWindowVisible(button);
}

SeenMessageBox ReadBox(HWND box)
{
    // The icon's static control: 0x0440 in Wine's message box template, 0x14 in Windows's.
    HWND icon = GetDlgItem(box, 0x0440);
    if (!icon)
        icon = GetDlgItem(box, 0x14);
    const auto shown = icon ? reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)) : nullptr;
    const bool otherButtons = ShowsButton(box, IDCANCEL) || ShowsButton(box, IDYES) || ShowsButton(box, IDNO) ||
                              ShowsButton(box, IDRETRY) || ShowsButton(box, IDABORT) || ShowsButton(box, IDIGNORE);
    return {WindowText(box), WindowText(GetDlgItem(box, 0xFFFF)),
            shown && shown == LoadIconW(nullptr, IDI_ERROR), ShowsButton(box, IDOK) && !otherButtons};
}

} // namespace

std::string Utf8(const std::wstring& text)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string result(static_cast<size_t>(bytes), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], bytes, nullptr,
                            nullptr);
    return result;
}

std::wstring FromUtf8(const std::string& text)
{
    const int chars = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(chars), L'\0');
    if (chars > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], chars);
    return result;
}

std::wstring WindowsPathOf(const std::string& linuxPath)
{
    std::wstring path = L"Z:" + FromUtf8(linuxPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::wstring MakeTestFolder(const std::wstring& name)
{
    const std::wstring folder = WindowsPathOf(LARKSPAN_TEST_WORK) + L"\\" + name;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder;
}

void CopyFileOrThrow(const std::wstring& from, const std::wstring& to)
{
    Require(CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE, "cannot copy " + Utf8(from) + " to " + Utf8(to));
}

std::wstring WriteTextFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    Require(file != INVALID_HANDLE_VALUE, "cannot create " + Utf8(path));
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    Require(ok != FALSE, "cannot write " + Utf8(path));
    return path;
}

std::wstring MakeExtensionFolder(const std::wstring& name, const std::string& library, bool withRecorder)
{
    const std::wstring folder = MakeTestFolder(name);
    CopyFileOrThrow(WindowsPathOf(library), folder + L"\\Larkspan.dll");
    if (withRecorder)
        CopyFileOrThrow(WindowsPathOf(LARKSPAN_RECORDER), folder + L"\\Tessaly.exe");
    return folder;
}

TestFolders MakeTestFolders(const std::wstring& name, const std::string& library)
{
    TestFolders made;
    made.recorderFolder = MakeExtensionFolder(name + L"\\with recorder", library, true);
    made.missingFolder = MakeExtensionFolder(name + L"\\without program", library, false);
    made.files = MakeTestFolder(name + L"\\selection");
    for (const wchar_t* file : {L"one.txt", L"two.txt", L"three.txt", L"with blank.txt"})
        WriteTextFile(made.files + L"\\" + file, "abc");
    return made;
}

ComRef<IDataObject> MakeDropDataObject(const std::vector<std::wstring>& paths, DropKind kind, LONG* outstandingMedia)
{
    return ComRef<IDataObject>(new DropDataObject(paths, kind, outstandingMedia));
}

ExtensionLibrary::ExtensionLibrary(const std::wstring& path) : m_module(LoadLibraryW(path.c_str()))
{
    Require(m_module != nullptr, "cannot load " + Utf8(path));
}

ExtensionLibrary::~ExtensionLibrary()
{
    FreeLibrary(m_module);
}

FARPROC ExtensionLibrary::Export(const char* name) const
{
    return GetProcAddress(m_module, name);
}

HRESULT ExtensionLibrary::GetClassObject(REFCLSID clsid, REFIID iid, void** object) const
{
    using Func = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    return reinterpret_cast<Func>(reinterpret_cast<void*>(Export("DllGetClassObject")))(clsid, iid, object);
}

HRESULT ExtensionLibrary::CanUnloadNow() const
{
    using Func = HRESULT(WINAPI*)();
    return reinterpret_cast<Func>(reinterpret_cast<void*>(Export("DllCanUnloadNow")))();
}

ComRef<IUnknown> ExtensionLibrary::CreateHandler() const
{
    IClassFactory* factory = nullptr;
    if (FAILED(GetClassObject(kClsidLarkspanShellExt, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        return nullptr;
    void* handler = nullptr;
    const HRESULT hr = factory->CreateInstance(nullptr, IID_IUnknown, &handler);
    factory->Release();
    return SUCCEEDED(hr) ? ComRef<IUnknown>(static_cast<IUnknown*>(handler)) : nullptr;
}

Handler::Handler(const ExtensionLibrary& library)
    : object(library.CreateHandler()),
      init(QueryAs<IShellExtInit>(object.get(), IID_IShellExtInit)),
      menu(QueryAs<IContextMenu>(object.get(), IID_IContextMenu))
{
    if (!init || !menu)
        throw std::runtime_error("no handler");
}

HRESULT Handler::Select(const std::vector<std::wstring>& paths, DropKind kind)
{
    return init->Initialize(nullptr, MakeDropDataObject(paths, kind).get(), nullptr);
}

HRESULT Handler::InvokeOffset(UINT_PTR offset)
{
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.lpVerb = reinterpret_cast<LPCSTR>(offset);
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
}

HRESULT Handler::InvokeVerb(const char* verb)
{
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.lpVerb = verb;
    return menu->InvokeCommand(&info);
}

PopupMenu::PopupMenu()
{
    AppendMenuW(handle, MF_STRING, 1, L"Before");
    AppendMenuW(handle, MF_STRING, 2, L"After");
}

RecordedStarts::RecordedStarts(std::wstring folder) : m_folder(std::move(folder))
{
    ForgetRecordedCommandLines(m_folder);
}

std::vector<std::wstring> RecordedStarts::Lines() const
{
    return RecordedCommandLines(m_folder);
}

std::vector<std::wstring> RecordedStarts::WaitForLines(size_t count) const
{
    WaitUntil([&] { return Lines().size() >= count; }, 30s);
    Sleep(300);
    return Lines();
}

std::wstring RecordedStarts::ParametersOf(const std::wstring& commandLine) const
{
    const std::wstring program = L"\"" + m_folder + L"\\Tessaly.exe\" ";
    if (commandLine.compare(0, program.size(), program) != 0)
        return L"(started as: " + commandLine + L")";
    return commandLine.substr(program.size());
}

std::wstring Quoted(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}

std::wstring AsPassed(const std::wstring& path)
{
    return path.find(L' ') == std::wstring::npos ? path : Quoted(path);
}

std::wstring ExpectedParameters(const wchar_t* switchText, const std::vector<std::wstring>& paths)
{
    std::wstring parameters = std::wstring(switchText) + L" ";
    for (const std::wstring& path : paths)
        parameters += AsPassed(path) + L" ";
    return parameters;
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const std::wstring& name)
{
    wchar_t value[1024] = {};
    DWORD bytes = sizeof value;
    if (RegGetValueW(root, path.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_REG_SZ, nullptr, value,
                     &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

void WriteString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value)
{
    const LSTATUS status =
        RegSetKeyValueW(root, path.c_str(), name.empty() ? nullptr : name.c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    SetLastError(static_cast<DWORD>(status));
    Require(status == ERROR_SUCCESS, "cannot write the registry value " + Utf8(path));
}

void DeleteTree(HKEY root, const std::wstring& path)
{
    RegDeleteTreeW(root, path.c_str());
}

DWORD RunToEnd(const std::wstring& commandLine)
{
    std::wstring line = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    Require(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) != FALSE,
            "cannot start " + Utf8(commandLine));
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        Sleep(20);
    }
    return true;
}

std::vector<SeenMessageBox> AnswerMessageBoxesDuring(const std::function<void()>& action)
{
    const DWORD thread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::vector<SeenMessageBox> seen;
    std::thread watcher([&] {
        while (!done) {
            std::vector<HWND> boxes;
            EnumThreadWindows(
                thread,
                [](HWND window, LPARAM found) {
                    if (IsMessageBoxOfThisThread(window))
                        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&boxes));
            for (HWND box : boxes) {
                seen.push_back(ReadBox(box));
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
                WaitUntil([box] { return !IsWindow(box); }, 5s);
            }
            Sleep(20);
        }
    });
    action();
    done = true;
    watcher.join();
    return seen;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId)
{
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && IsWindowVisible(window))
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> TopLevelWindowsCaptioned(const std::wstring& caption)
{
    struct Search {
        const std::wstring* caption;
        std::vector<HWND> found;
    } search{&caption, {}};
    EnumWindows(
        [](HWND window, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            if (WindowText(window) == *s->caption)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = {};
    // WM_GETTEXT with a time limit, so that a window of a hanging process cannot hang the test.
    DWORD_PTR copied = 0;
    if (!window || !SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                                        2000, &copied))
        return {};
    return std::wstring(text, copied);
}
