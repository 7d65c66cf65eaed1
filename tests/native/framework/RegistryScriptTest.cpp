// The registrar against a registry in memory: what a script writes, what its removal
// leaves, and which scripts are refused before anything is written.
#include "MemoryRegistry.h"
#include "ScriptRegistrar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ::testing::UnorderedElementsAreArray;
using Lines = std::vector<std::wstring>;

constexpr const wchar_t* kAppId = L"{5b2e7a90-3c41-4d8e-9f06-b1a4c7d2e815}";

// Keys made before the script runs: a foreign subkey below a ForceRemove key, a
// foreign sibling beside it, and a foreign subkey below a plain key.
void AddForeignKeys(MemoryRegistry& registry)
{
    registry.CreateKey(RegistryRoot::ClassesRoot, L"CLSID\\{c1}\\Stale");
    registry.SetString(RegistryRoot::ClassesRoot, L"CLSID\\{c1}", L"Old", L"value");
    registry.CreateKey(RegistryRoot::ClassesRoot, L"CLSID\\{other}");
    registry.CreateKey(RegistryRoot::ClassesRoot, L"Shared\\Foreign");
}

struct ScriptCase {
    const char* what;
    const wchar_t* script;
    bool perUser;
    Lines afterRegister;
    Lines afterUnregister;
};

class ScriptRegistrarTest : public ::testing::TestWithParam<ScriptCase> {
protected:
    ScriptRegistrarTest()
    {
        registrar.AddReplacement(L"APPID", kAppId);
        registrar.AddReplacement(L"Module", EscapeSingleQuotes(L"C:\\O'Neil dir\\Larkspan.dll").c_str());
        AddForeignKeys(registry);
    }

    ScriptRegistrar registrar;
    MemoryRegistry registry;
};

const Lines kForeignKeys = {
    L"HKCR\\CLSID", L"HKCR\\CLSID\\{c1}", L"HKCR\\CLSID\\{c1}\\Stale", L"HKCR\\CLSID\\{c1} Old=value",
    L"HKCR\\CLSID\\{other}", L"HKCR\\Shared", L"HKCR\\Shared\\Foreign",
};

Lines With(Lines lines, const Lines& more)
{
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

const ScriptCase kScriptCases[] = {
    {"a replaced key name, default and named values; NoRemove stays",
     L"HKCR\n{\n  NoRemove AppID\n  {\n    '%APPID%' = s 'Larkspan'\n    'Larkspan.DLL'\n    {\n"
     L"      val AppID = s '%APPID%'\n    }\n  }\n}\n",
     false,
     With(kForeignKeys, {L"HKCR\\AppID", L"HKCR\\AppID\\{5b2e7a90-3c41-4d8e-9f06-b1a4c7d2e815}",
                         L"HKCR\\AppID\\{5b2e7a90-3c41-4d8e-9f06-b1a4c7d2e815} @=Larkspan",
                         L"HKCR\\AppID\\Larkspan.DLL",
                         L"HKCR\\AppID\\Larkspan.DLL AppID={5b2e7a90-3c41-4d8e-9f06-b1a4c7d2e815}"}),
     With(kForeignKeys, {L"HKCR\\AppID"})},
    {"per user, class keys go below HKCU\\Software\\Classes",
     L"HKCR { NoRemove AppID { 'Larkspan.DLL' { val AppID = s '%APPID%' } } }", true,
     With(kForeignKeys, {L"HKCU\\Software", L"HKCU\\Software\\Classes", L"HKCU\\Software\\Classes\\AppID",
                         L"HKCU\\Software\\Classes\\AppID\\Larkspan.DLL",
                         L"HKCU\\Software\\Classes\\AppID\\Larkspan.DLL AppID={5b2e7a90-3c41-4d8e-9f06-b1a4c7d2e815}"}),
     With(kForeignKeys, {L"HKCU\\Software", L"HKCU\\Software\\Classes", L"HKCU\\Software\\Classes\\AppID"})},
    {"ForceRemove rebuilds the key from scratch and removes it whole",
     L"HKCR { NoRemove CLSID { ForceRemove {c1} = s 'A class' { ForceRemove Programmable "
     L"InprocServer32 = s '%MODULE%' { val ThreadingModel = s 'Apartment' } } } }",
     false,
     {L"HKCR\\CLSID", L"HKCR\\CLSID\\{c1}", L"HKCR\\CLSID\\{c1} @=A class", L"HKCR\\CLSID\\{c1}\\Programmable",
      L"HKCR\\CLSID\\{c1}\\InprocServer32", L"HKCR\\CLSID\\{c1}\\InprocServer32 @=C:\\O'Neil dir\\Larkspan.dll",
      L"HKCR\\CLSID\\{c1}\\InprocServer32 ThreadingModel=Apartment", L"HKCR\\CLSID\\{other}", L"HKCR\\Shared",
      L"HKCR\\Shared\\Foreign"},
     {L"HKCR\\CLSID", L"HKCR\\CLSID\\{other}", L"HKCR\\Shared", L"HKCR\\Shared\\Foreign"}},
    {"a plain key keeps a subkey that the script did not write",
     L"HKCR { Shared = s 'mine' { Own = s 'x' } }", false,
     With(kForeignKeys, {L"HKCR\\Shared @=mine", L"HKCR\\Shared\\Own", L"HKCR\\Shared\\Own @=x"}),
     With(kForeignKeys, {L"HKCR\\Shared @=mine"})},
    {"keywords, roots and replacement names in any case; quoted names; '' and %%",
     L"hkey_local_machine { noremove Software { FORCEREMOVE 'My Tool' = s 'It''s 100%%' "
     L"{ VAL 'Path Name' = S '%module%' } } }",
     false,
     With(kForeignKeys, {L"HKLM\\Software", L"HKLM\\Software\\My Tool", L"HKLM\\Software\\My Tool @=It's 100%",
                         L"HKLM\\Software\\My Tool Path Name=C:\\O'Neil dir\\Larkspan.dll"}),
     With(kForeignKeys, {L"HKLM\\Software"})},
    {"several roots, bare values", L"HKCU { Tool = s bare } HKU { Other }", false,
     With(kForeignKeys, {L"HKCU\\Tool", L"HKCU\\Tool @=bare", L"HKU\\Other"}), kForeignKeys},
};

TEST_P(ScriptRegistrarTest, RegistersAndUnregisters)
{
    const ScriptCase& c = GetParam();
    ASSERT_EQ(registrar.Register(c.script, registry, c.perUser), kRegistrarOk);
    EXPECT_THAT(registry.Dump(), UnorderedElementsAreArray(c.afterRegister)) << "after registration";

    // A second registration ends where the first did.
    ASSERT_EQ(registrar.Register(c.script, registry, c.perUser), kRegistrarOk);
    EXPECT_THAT(registry.Dump(), UnorderedElementsAreArray(c.afterRegister)) << "after the second registration";

    ASSERT_EQ(registrar.Unregister(c.script, registry, c.perUser), kRegistrarOk);
    EXPECT_THAT(registry.Dump(), UnorderedElementsAreArray(c.afterUnregister)) << "after removal";

    // Removing what is gone already is no error.
    EXPECT_EQ(registrar.Unregister(c.script, registry, c.perUser), kRegistrarOk);
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptRegistrarTest, ::testing::ValuesIn(kScriptCases),
                         [](const ::testing::TestParamInfo<ScriptCase>& info) {
                             return "Case" + std::to_string(info.index);
                         });

// Every script starts with a good key, so that a registrar that wrote while it read
// would leave it behind.
TEST(ScriptRegistrarRefuses, MalformedScriptsBeforeWritingAnything)
{
    struct Case {
        const char* what;
        const wchar_t* script;
    };
    const Case cases[] = {
        {"unknown replacement", L"HKCR { Good = s 'x' Bad = s '%NOPE%' }"},
        {"unclosed replacement", L"HKCR { Good = s 'x' Bad = s '%APPID' }"},
        {"unclosed quote", L"HKCR { Good = s 'x' Bad = s 'open }"},
        {"missing closing brace", L"HKCR { Good = s 'x' { val v = s 'y' }"},
        {"stray closing brace", L"HKCR { Good = s 'x' } }"},
        {"unknown root", L"HKCR { Good } HKXX { Bad }"},
        {"a value type other than s", L"HKCR { Good = s 'x' Bad = d '5' }"},
        {"a value straight below a root", L"HKCR { Good val v = s 'x' }"},
        {"no value after s", L"HKCR { Good = s 'x' Bad = s }"},
        {"no type after =", L"HKCR { Good = s 'x' Bad = 'y' }"},
        {"an empty name", L"HKCR { Good = s 'x' '' = s 'y' }"},
        {"a backslash in a name", L"HKCR { Good = s 'x' 'A\\B' }"},
        {"a flag without a name", L"HKCR { Good = s 'x' NoRemove { } }"},
        {"a val without a name", L"HKCR { Good { val = s 'x' } }"},
        {"a quoted root", L"'HKCR' { Good }"},
    };
    for (const Case& c : cases) {
        ScriptRegistrar registrar;
        registrar.AddReplacement(L"APPID", kAppId);
        MemoryRegistry registry;
        AddForeignKeys(registry);
        const Lines before = registry.Dump();
        EXPECT_EQ(registrar.Register(c.script, registry, false), kRegistrarBadScript) << c.what;
        EXPECT_EQ(registrar.Unregister(c.script, registry, false), kRegistrarBadScript) << c.what;
        EXPECT_EQ(registry.Dump(), before) << c.what;
    }
}

TEST(ScriptRegistrarRefuses, ReplacementsThatWereCleared)
{
    ScriptRegistrar registrar;
    registrar.AddReplacement(L"APPID", kAppId);
    registrar.ClearReplacements();
    MemoryRegistry registry;
    EXPECT_EQ(registrar.Register(L"HKCR { Key = s '%APPID%' }", registry, false), kRegistrarBadScript);
    EXPECT_TRUE(registry.Dump().empty());
}

TEST(ScriptRegistrarWriteFailure, StopsAtTheFirstFailureAndReportsIt)
{
    ScriptRegistrar registrar;
    MemoryRegistry registry;
    registry.RefuseKey(L"First\\Second");
    EXPECT_EQ(registrar.Register(L"HKCR { First { Second Third } Fourth }", registry, false),
              static_cast<RegistrarResult>(0x80070005u));
    EXPECT_THAT(registry.Dump(), UnorderedElementsAreArray(Lines{L"HKCR\\First"}));
}

TEST(EscapeSingleQuotes, DoublesEveryQuote)
{
    EXPECT_EQ(EscapeSingleQuotes(L"C:\\it's\\a'b'"), L"C:\\it''s\\a''b''");
    EXPECT_EQ(EscapeSingleQuotes(L"plain"), L"plain");
}

} // namespace
