// The runtime-folder search against registry keys and folders made in the test's own
// Wine prefix: the uninstall registrations, the installation-folder scans and the
// order of the four sources. Everything made here carries a marker and is removed
// afterwards; the test steps aside where a real installation exists.
#include "EdgeWebBrowser.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace {
constexpr const wchar_t* kRuntimeKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Microsoft EdgeWebView";
constexpr const wchar_t* kRuntimeKey32 =
    L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Microsoft EdgeWebView";
constexpr const wchar_t* kBrowserKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Microsoft Edge";
constexpr const wchar_t* kBrowserKey32 =
    L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Microsoft Edge";
constexpr const wchar_t* kMicrosoftFolder = L"c:\\Program Files (x86)\\Microsoft";
constexpr const wchar_t* kRuntimeBase = L"c:\\Program Files (x86)\\Microsoft\\EdgeWebView\\Application\\";
constexpr const wchar_t* kBrowserBase = L"c:\\Program Files (x86)\\Microsoft\\Edge\\Application\\";
constexpr const wchar_t* kMarker = L"TessalyBrowserFolderTest";

constexpr const wchar_t* kAllKeys[] = {kRuntimeKey, kRuntimeKey32, kBrowserKey, kBrowserKey32};
constexpr const wchar_t* kProductFolders[] = {L"c:\\Program Files (x86)\\Microsoft\\EdgeWebView",
                                              L"c:\\Program Files (x86)\\Microsoft\\Edge"};

bool KeyExists(const wchar_t* path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

bool KeyIsOurs(const wchar_t* path)
{
    return ::RegGetValueW(HKEY_LOCAL_MACHINE, path, kMarker, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderIsOurs(const std::wstring& path)
{
    return ::GetFileAttributesW((path + L"\\" + kMarker).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

void MakeFolders(const std::wstring& path)
{
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    ::CreateDirectoryW(path.c_str(), nullptr);
}

void MakeFile(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot make a file in the test prefix";
    ::CloseHandle(file);
}

// The first entry of `base` that is a folder named as four numbers, in the order the
// file system lists them.
std::wstring FirstVersionFolderListed(const std::wstring& base)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW((base + L"*").c_str(), &entry);
    std::wstring found;
    do {
        int a, b, c, d;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            std::swscanf(entry.cFileName, L"%d.%d.%d.%d", &a, &b, &c, &d) == 4) {
            found = base + entry.cFileName;
            break;
        }
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return found;
}

class BrowserFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const wchar_t* key : kAllKeys) {
            if (KeyExists(key) && !KeyIsOurs(key))
                GTEST_SKIP() << "a browser runtime is registered on this machine";
        }
        for (const wchar_t* folder : kProductFolders) {
            if (FolderExists(folder) && !FolderIsOurs(folder))
                GTEST_SKIP() << "a browser runtime is installed on this machine";
        }
        m_madeMicrosoftFolder = !FolderExists(kMicrosoftFolder);
        RemoveOurs();   // what a run that did not finish left behind
        m_ours = true;
    }

    void TearDown() override
    {
        if (!m_ours)
            return;
        RemoveOurs();
        if (m_madeMicrosoftFolder)
            ::RemoveDirectoryW(kMicrosoftFolder);   // only when empty
    }

    static void RemoveOurs()
    {
        for (const wchar_t* key : kAllKeys) {
            if (KeyIsOurs(key))
                ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
        }
        for (const wchar_t* folder : kProductFolders) {
            if (FolderIsOurs(folder))
                RemoveTree(folder);
        }
    }

    // An uninstall key with the given values; a null value is left out.
    static void Register(const wchar_t* path, const wchar_t* location, const wchar_t* version)
    {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD one = 1;
        ::RegSetValueExW(key, kMarker, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
        for (const auto& [name, value] : {std::pair{L"InstallLocation", location}, std::pair{L"Version", version}}) {
            if (value)
                ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
        }
        ::RegCloseKey(key);
    }

    static void Unregister(const wchar_t* path) { ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path); }

    // A base folder holding the given sub-folders.
    static void Install(const std::wstring& base, const std::vector<std::wstring>& folders)
    {
        MakeFolders(base);
        MakeFile(base.substr(0, base.rfind(L'\\', base.size() - 2)) + L"\\" + kMarker);
        for (const std::wstring& folder : folders)
            ::CreateDirectoryW((base + folder).c_str(), nullptr);
    }

    bool m_madeMicrosoftFolder = false;
    bool m_ours = false;
};

struct RegistrationCase {
    const wchar_t* location;   // null: no such value
    const wchar_t* version;
    const wchar_t* expected;
};

TEST_F(BrowserFolderTest, RegistrationGivesTheLocationWithTheVersionBelowIt)
{
    const RegistrationCase cases[] = {
        {L"C:\\Runtime", L"120.0.2210.91", L"C:\\Runtime\\120.0.2210.91"},
        {L"C:\\Runtime\\", L"120.0.2210.91", L"C:\\Runtime\\120.0.2210.91"},
        {L"C:\\Runtime", nullptr, L""},
        {nullptr, L"120.0.2210.91", L""},
        {nullptr, nullptr, L""},
    };
    for (const RegistrationCase& c : cases) {
        Register(kRuntimeKey, c.location, c.version);
        EXPECT_EQ(CEdgeWebBrowser::ReadRuntimeFolderFromRegistry(true), c.expected)
            << "location " << (c.location ? "set" : "absent") << ", version " << (c.version ? "set" : "absent");
        Unregister(kRuntimeKey);
    }
    EXPECT_EQ(CEdgeWebBrowser::ReadRuntimeFolderFromRegistry(true), L"") << "no key at all";
}

TEST_F(BrowserFolderTest, SecondKeyPathIsAskedOnlyWhenTheFirstIsMissing)
{
    Register(kRuntimeKey32, L"C:\\Second", L"2.0.0.0");
    EXPECT_EQ(CEdgeWebBrowser::ReadRuntimeFolderFromRegistry(true), L"C:\\Second\\2.0.0.0");
    Register(kRuntimeKey, L"C:\\First", nullptr);
    EXPECT_EQ(CEdgeWebBrowser::ReadRuntimeFolderFromRegistry(true), L"")
        << "a first key without a version is not made up for by the second";
}

TEST_F(BrowserFolderTest, BrowserRegistrationIsReadUnderItsOwnKeys)
{
    Register(kRuntimeKey, L"C:\\Runtime", L"1.0.0.0");
    EXPECT_EQ(CEdgeWebBrowser::ReadRuntimeFolderFromRegistry(false), L"");
    Register(kBrowserKey32, L"C:\\Browser", L"3.0.0.0");
    EXPECT_EQ(CEdgeWebBrowser::ReadRuntimeFolderFromRegistry(false), L"C:\\Browser\\3.0.0.0");
}

TEST_F(BrowserFolderTest, LocationOfAtMost259CharactersIsRead)
{
    const std::wstring fits = L"C:\\" + std::wstring(256, L'a');   // 259 characters
    Register(kRuntimeKey, fits.c_str(), L"1.2.3.4");
    EXPECT_EQ(CEdgeWebBrowser::ReadRuntimeFolderFromRegistry(true), fits + L"\\1.2.3.4");
    const std::wstring tooLong = fits + L"b";
    Register(kRuntimeKey, tooLong.c_str(), L"1.2.3.4");
    EXPECT_EQ(CEdgeWebBrowser::ReadRuntimeFolderFromRegistry(true), L"");
}

TEST_F(BrowserFolderTest, ScanWithoutBaseFolderFindsNothing)
{
    EXPECT_EQ(CEdgeWebBrowser::ScanRuntimeFolder(true), L"");
    EXPECT_EQ(CEdgeWebBrowser::ScanRuntimeFolder(false), L"");
}

TEST_F(BrowserFolderTest, ScanTakesOnlyFoldersNamedAsFourNumbers)
{
    Install(kRuntimeBase, {L"SetupMetrics", L"v1.2.3.4", L"1.2.3"});
    MakeFile(std::wstring(kRuntimeBase) + L"5.6.7.8");
    EXPECT_EQ(CEdgeWebBrowser::ScanRuntimeFolder(true), L"");
}

TEST_F(BrowserFolderTest, ScanTakesTheFirstVersionFolderListedNotTheHighest)
{
    Install(kRuntimeBase, {L"Temp", L"9.0.0.0", L"10.0.0.0", L"1.0.0.0", L"100.2.3.4"});
    const std::wstring first = FirstVersionFolderListed(kRuntimeBase);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(CEdgeWebBrowser::ScanRuntimeFolder(true), first);
    EXPECT_EQ(CEdgeWebBrowser::ScanRuntimeFolder(false), L"") << "the browser has a base folder of its own";
    Install(kBrowserBase, {L"121.0.0.0"});
    EXPECT_EQ(CEdgeWebBrowser::ScanRuntimeFolder(false), std::wstring(kBrowserBase) + L"121.0.0.0");
}

TEST_F(BrowserFolderTest, FourSourcesAreAskedInTheirOrder)
{
    Register(kRuntimeKey, L"C:\\RuntimeFromRegistry", L"1.0.0.0");
    Install(kRuntimeBase, {L"2.0.0.0"});
    Register(kBrowserKey, L"C:\\BrowserFromRegistry", L"300.0.0.0");
    Install(kBrowserBase, {L"400.0.0.0"});
    EXPECT_EQ(CEdgeWebBrowser::FindBrowserFolder(), L"C:\\RuntimeFromRegistry\\1.0.0.0")
        << "the runtime wins over a newer browser";
    Unregister(kRuntimeKey);
    EXPECT_EQ(CEdgeWebBrowser::FindBrowserFolder(), std::wstring(kRuntimeBase) + L"2.0.0.0");
    RemoveTree(kProductFolders[0]);
    EXPECT_EQ(CEdgeWebBrowser::FindBrowserFolder(), L"C:\\BrowserFromRegistry\\300.0.0.0");
    Unregister(kBrowserKey);
    EXPECT_EQ(CEdgeWebBrowser::FindBrowserFolder(), std::wstring(kBrowserBase) + L"400.0.0.0");
    RemoveTree(kProductFolders[1]);
    EXPECT_EQ(CEdgeWebBrowser::FindBrowserFolder(), L"");
}

TEST_F(BrowserFolderTest, RegistrationWithoutVersionFallsThroughToTheScan)
{
    Register(kRuntimeKey, L"C:\\Runtime", nullptr);
    Install(kRuntimeBase, {L"7.0.0.0"});
    EXPECT_EQ(CEdgeWebBrowser::FindBrowserFolder(), std::wstring(kRuntimeBase) + L"7.0.0.0");
}
}
