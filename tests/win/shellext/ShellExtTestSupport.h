// Shared by the extension's tests under Wine: paths, test folders, COM references,
// a CF_HDROP data object, handlers and menus, the recording stand-in for the program,
// the registry, child processes and message boxes.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

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

// COM on the main thread for the whole run, as on Explorer's user-interface thread.
class ComApartment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK); }
    void TearDown() override { CoUninitialize(); }
};

std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
// A path of the Linux side ("/work/...") as Wine's Windows programs see it ("Z:\work\...").
std::wstring WindowsPathOf(const std::string& linuxPath);

// A fresh, empty folder below the tests' work folder.
std::wstring MakeTestFolder(const std::wstring& name);
void CopyFileOrThrow(const std::wstring& from, const std::wstring& to);
std::wstring WriteTextFile(const std::wstring& path, const std::string& bytes);
// A fresh folder with a copy of the extension `library` (Linux path) as Larkspan.dll,
// beside the recording stand-in for Tessaly.exe when `withRecorder`.
std::wstring MakeExtensionFolder(const std::wstring& name, const std::string& library, bool withRecorder);

// The folders of one test program, fresh, below `name` in the work folder.
struct TestFolders {
    std::wstring recorderFolder;   // the extension beside the recording Tessaly.exe
    std::wstring missingFolder;    // the extension alone
    std::wstring files;            // "one.txt", "two.txt", "three.txt" and "with blank.txt" to select
};
TestFolders MakeTestFolders(const std::wstring& name, const std::string& library);

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
// With `outstandingMedia`, the object counts there the media it handed out that were not
// released yet (they are released through it, not freed by ReleaseStgMedium itself).
ComRef<IDataObject> MakeDropDataObject(const std::vector<std::wstring>& paths, DropKind kind = DropKind::Paths,
                                       LONG* outstandingMedia = nullptr);

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

// One handler of a library, with its two interfaces for the menu.
struct Handler {
    ComRef<IUnknown> object;
    ComRef<IShellExtInit> init;
    ComRef<IContextMenu> menu;

    explicit Handler(const ExtensionLibrary& library);

    HRESULT Select(const std::vector<std::wstring>& paths, DropKind kind = DropKind::Paths);
    // The command as the shell gives it: an offset, or a verb string.
    HRESULT InvokeOffset(UINT_PTR offset);
    HRESULT InvokeVerb(const char* verb);
};

// A popup menu holding "Before" and "After", for the handler to insert between.
struct PopupMenu {
    HMENU handle = CreatePopupMenu();
    PopupMenu();
    ~PopupMenu() { DestroyMenu(handle); }
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;
};

// The command lines with which the recording stand-in in `folder` was started, one per start.
class RecordedStarts {
public:
    // Forgets the starts before it.
    explicit RecordedStarts(std::wstring folder);

    std::vector<std::wstring> Lines() const;
    // The lines once `count` of them are there (or the time is up), after a pause in
    // which a start that should not have happened has time to show up too.
    std::vector<std::wstring> WaitForLines(size_t count) const;
    // What follows the program in a recorded command line "PROGRAM PARAMETERS".
    std::wstring ParametersOf(const std::wstring& commandLine) const;

private:
    std::wstring m_folder;
};

// The path in double quotes.
std::wstring Quoted(const std::wstring& path);
// The path as the program's command line is to hold it: in double quotes when it holds a
// blank, else as it is. The tests' own folder may hold a blank: the rule is one for all paths.
std::wstring AsPassed(const std::wstring& path);
// The command line's parameters for `paths` after the switch `switchText` ("-h" or "-c"):
// the switch, then each path as passed, each followed by one blank.
std::wstring ExpectedParameters(const wchar_t* switchText, const std::vector<std::wstring>& paths);

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
