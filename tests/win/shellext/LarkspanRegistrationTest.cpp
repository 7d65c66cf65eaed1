// Registration of the extension for real: regsvr32 on a copy in a folder whose name
// holds a quote and a blank, then the registry of the prefix read back.
#include "ShellExtTestSupport.h"

#include <gtest/gtest.h>

namespace {


const std::wstring& ExtensionCopy()
{
    static const std::wstring path = [] {
        const std::wstring copy = MakeTestFolder(L"it's registered") + L"\\Larkspan.dll";
        CopyFileOrThrow(WindowsPathOf(LARKSPAN_DLL), copy);
        return copy;
    }();
    return path;
}

// Where class keys go: Software\Classes below HKLM for the machine, below HKCU for the user.
struct Classes {
    HKEY root;
    const char* name;
};
const Classes kMachine = {HKEY_LOCAL_MACHINE, "machine"};
const Classes kUser = {HKEY_CURRENT_USER, "user"};

std::wstring InClasses(const std::wstring& key)
{
    return L"Software\\Classes\\" + key;
}

const std::wstring kClassKey = std::wstring(L"CLSID\\") + kClsidText;
const std::wstring kHandlerKey = L"*\\ShellEx\\ContextMenuHandlers\\Larkspan";
const std::wstring kTypeLibKey = std::wstring(L"TypeLib\\") + kAppIdText;

struct ScriptValue {
    std::wstring key;
    std::wstring name;
    std::optional<std::wstring> data;   // nothing: a key without a default value
};

// What scripts 101 and 106 write, "%MODULE%" being the copy's path.
std::vector<ScriptValue> ScriptValues()
{
    return {
        {std::wstring(L"AppID\\") + kAppIdText, L"", L"Larkspan"},
        {L"AppID\\Larkspan.DLL", L"AppID", kAppIdText},
        {kClassKey, L"", L"LarkspanShellExt class"},
        {kClassKey + L"\\Programmable", L"", std::nullopt},
        {kClassKey + L"\\InprocServer32", L"", ExtensionCopy()},
        {kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {kClassKey + L"\\TypeLib", L"", kAppIdText},
        {kClassKey + L"\\Version", L"", L"2.1"},
        {kHandlerKey, L"", kClsidText},
    };
}

// The keys that removal takes away, and the ones it leaves.
const std::vector<std::wstring> kOwnKeys = {std::wstring(L"AppID\\") + kAppIdText, L"AppID\\Larkspan.DLL", kClassKey,
                                            kHandlerKey};
const std::vector<std::wstring> kSharedKeys = {L"AppID", L"CLSID", L"*", L"*\\ShellEx", L"*\\ShellEx\\ContextMenuHandlers"};

void ExpectRegistered(const Classes& classes)
{
    for (const ScriptValue& value : ScriptValues()) {
        const std::wstring key = InClasses(value.key);
        EXPECT_TRUE(KeyExists(classes.root, key)) << classes.name << ": " << Utf8(key);
        EXPECT_EQ(ReadString(classes.root, key, value.name), value.data)
            << classes.name << ": " << Utf8(key) << " [" << Utf8(value.name) << "]";
    }
    // Seen through HKEY_CLASSES_ROOT, which shows per-user and machine classes: Wine's
    // per-user type-library registration writes machine-wide (its FIXME says so), which
    // per-user-typelib.sh checks from Wine's side.
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kTypeLibKey + L"\\1.0\\409\\win64"), ExtensionCopy())
        << classes.name << ": the type library";
}

void ExpectUnregistered(const Classes& classes)
{
    for (const std::wstring& key : kOwnKeys)
        EXPECT_FALSE(KeyExists(classes.root, InClasses(key))) << classes.name << ": " << Utf8(key);
}

void ExpectNoTypeLibrary()
{
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"Interface\\") + kIidText)) << "the dual interface";
}

void ExpectSharedKeysKept(const Classes& classes)
{
    for (const std::wstring& key : kSharedKeys)
        EXPECT_TRUE(KeyExists(classes.root, InClasses(key))) << classes.name << ": " << Utf8(key);
}

DWORD Regsvr32(const std::wstring& switches)
{
    return RunToEnd(L"regsvr32.exe /s " + switches + L" \"" + ExtensionCopy() + L"\"");
}

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const Classes* classes : {&kMachine, &kUser})
            ExpectUnregistered(*classes);
        ExpectNoTypeLibrary();
    }
};

TEST_F(RegistrationTest, PerMachineWritesBothScriptsAndTheTypeLibraryAndRemovesThem)
{
    ASSERT_EQ(Regsvr32(L""), 0u);
    ExpectRegistered(kMachine);
    ExpectUnregistered(kUser);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"Interface\\") + kIidText)) << "the dual interface";

    ASSERT_EQ(Regsvr32(L"/u"), 0u);
    ExpectUnregistered(kMachine);
    ExpectSharedKeysKept(kMachine);
    ExpectNoTypeLibrary();
}

TEST_F(RegistrationTest, RegisteringAgainRebuildsTheClassAndHandlerKeys)
{
    ASSERT_EQ(Regsvr32(L""), 0u);
    const std::wstring stale[] = {InClasses(kClassKey + L"\\Stale"), InClasses(kHandlerKey + L"\\Stale")};
    for (const std::wstring& key : stale)
        WriteString(HKEY_LOCAL_MACHINE, key, L"", L"left over");
    WriteString(HKEY_LOCAL_MACHINE, InClasses(kClassKey), L"Stale", L"left over");

    ASSERT_EQ(Regsvr32(L""), 0u);
    ExpectRegistered(kMachine);
    for (const std::wstring& key : stale)
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key)) << Utf8(key);
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, InClasses(kClassKey), L"Stale"));

    ASSERT_EQ(Regsvr32(L"/u"), 0u);
    ExpectUnregistered(kMachine);
}

TEST_F(RegistrationTest, InstallSwitchesToPerUserOnlyForTheWordUser)
{
    struct Case {
        const wchar_t* switches;   // regsvr32 /n /i:TEXT calls DllInstall with TEXT alone
        const Classes* place;
        const Classes* other;
    };
    const Case cases[] = {
        {L"/n /i:user", &kUser, &kMachine},
        {L"/n /i:USER", &kUser, &kMachine},
        {L"/n /i:users", &kMachine, &kUser},
        {L"/n /i", &kMachine, &kUser},   // an empty text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.switches));
        ASSERT_EQ(Regsvr32(c.switches), 0u);
        ExpectRegistered(*c.place);
        ExpectUnregistered(*c.other);
        ASSERT_EQ(Regsvr32(std::wstring(L"/u ") + c.switches), 0u);
        ExpectUnregistered(*c.place);
        ExpectSharedKeysKept(*c.place);
        ExpectNoTypeLibrary();
    }
}

using Install = HRESULT(WINAPI*)(BOOL, LPCWSTR);
using Register = HRESULT(WINAPI*)();

Install InstallOf(const ExtensionLibrary& library)
{
    return reinterpret_cast<Install>(reinterpret_cast<void*>(library.Export("DllInstall")));
}

TEST_F(RegistrationTest, InstallWithoutTextRegistersPerMachine)
{
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    {
        const ExtensionLibrary library(ExtensionCopy());
        ASSERT_EQ(InstallOf(library)(TRUE, nullptr), S_OK);
        ExpectRegistered(kMachine);
        ExpectUnregistered(kUser);
        EXPECT_EQ(InstallOf(library)(FALSE, nullptr), S_OK);
        ExpectUnregistered(kMachine);
    }
    CoUninitialize();
}

// Per-user mode, once on, stays on for the library's life in the process.
TEST_F(RegistrationTest, PerUserModeLastsForLaterRegistrations)
{
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    {
        const ExtensionLibrary library(ExtensionCopy());
        ASSERT_EQ(InstallOf(library)(TRUE, L"user"), S_OK);
        ExpectRegistered(kUser);
        const auto registerServer = reinterpret_cast<Register>(reinterpret_cast<void*>(library.Export("DllRegisterServer")));
        const auto unregisterServer =
            reinterpret_cast<Register>(reinterpret_cast<void*>(library.Export("DllUnregisterServer")));
        ASSERT_EQ(registerServer(), S_OK);
        ExpectRegistered(kUser);
        ExpectUnregistered(kMachine);
        EXPECT_EQ(unregisterServer(), S_OK);
        ExpectUnregistered(kUser);
    }
    CoUninitialize();
}

} // namespace
