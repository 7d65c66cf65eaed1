// Shared by the extension's tests under Wine: paths, test folders, COM references,
// a CF_HDROP data object, the registry, child processes and message boxes.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace std::chrono_literals;

// Identities of the extension, written here independently of its sources.
extern const CLSID kClsidLarkspanShellExt;     // {a81f4c27-60d9-4b3a-8e5c-2f97d0b64a13}
extern const IID kIidLarkspanShellExt;         // {7c2d91e4-5a38-4f07-b1c6-3e8a0d59f274}
extern const GUID kLibidLarkspan;              // {5b2e7a90-3c41-4d8e-9f06-b1a4c7d2e815}
inline constexpr const wchar_t* kClsidText = L"{a81f4c27-60d9-4b3a-8e5c-2f97d0b64a13}";
inline constexpr const wchar_t* kIidText = L"{7c2d91e4-5a38-4f07-b1c6-3e8a0d59f274}";
inline constexpr const wchar_t* kAppIdText = L"{5b2e7a90-3c41-4d8e-9f06-b1a4c7d2e815}";

std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
// A path of the Linux side ("/work/...") as Wine's Windows programs see it ("Z:\work\...").
std::wstring WindowsPathOf(const std::string& linuxPath);

// A fresh, empty folder below the tests' work folder.
std::wstring MakeTestFolder(const std::wstring& name);
void CopyFileOrThrow(const std::wstring& from, const std::wstring& to);
std::wstring WriteTextFile(const std::wstring& path, const std::string& bytes);

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class I>
using ComRef = std::unique_ptr<I, ComRelease>;

template <class I>
ComRef<I> QueryAs(IUnknown* object, REFIID iid)
{
    void* result = nullptr;
    if (!object || FAILED(object->QueryInterface(iid, &result)))
        return nullptr;
    return ComRef<I>(static_cast<I*>(result));
}

// The data object that Explorer hands to a context-menu handler: the selected paths as
// CF_HDROP in global memory. The faulty kinds offer no CF_HDROP at all, or a medium
// whose memory cannot be locked.
enum class DropKind { Paths, NoDropFormat, UnlockableMemory };
ComRef<IDataObject> MakeDropDataObject(const std::vector<std::wstring>& paths, DropKind kind = DropKind::Paths);

// A copy of the extension loaded by its path, asked through its own exports.
class ExtensionLibrary {
public:
    explicit ExtensionLibrary(const std::wstring& path);
    ~ExtensionLibrary();
    ExtensionLibrary(const ExtensionLibrary&) = delete;
    ExtensionLibrary& operator=(const ExtensionLibrary&) = delete;

    HMODULE Module() const { return m_module; }
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const;
    HRESULT CanUnloadNow() const;
    // A new handler object from the library's class factory, asked for IUnknown.
    ComRef<IUnknown> CreateHandler() const;
    FARPROC Export(const char* name) const;

private:
    HMODULE m_module;
};

// The registry.
bool KeyExists(HKEY root, const std::wstring& path);
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const std::wstring& name = L"");
void WriteString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value);
void DeleteTree(HKEY root, const std::wstring& path);

// Runs a command line to its end; its exit code.
DWORD RunToEnd(const std::wstring& commandLine);

// Polls until the condition holds; false when the time ran out.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

struct SeenMessageBox {
    std::wstring caption;
    std::wstring text;
    bool errorIcon;
    bool okOnly;
};

// Runs `action` on this thread while a watcher reads every message box that appears on
// this thread and answers it with OK; the boxes seen, in order.
std::vector<SeenMessageBox> AnswerMessageBoxesDuring(const std::function<void()>& action);

// Visible top-level windows of one process.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);
// Top-level windows of any process whose caption is exactly `caption`.
std::vector<HWND> TopLevelWindowsCaptioned(const std::wstring& caption);
std::wstring WindowText(HWND window);
