// Start-up's checks, in their order: arguments, path, network, WebView2 runtime.
#include "RuntimeRegistration.h"
#include "TessalyTest.h"

#include <functional>

namespace {

using Parameters = std::function<std::wstring(const TestFolder&)>;
using Registration = std::function<void()>;

std::wstring ExistingFile(const TestFolder& folder)
{
    return folder.MakeFile(L"input.txt", "abc");
}

const Parameters kNoArgument = [](const TestFolder&) { return L""; };
const Parameters kHashSwitchAlone = [](const TestFolder&) { return L"-h "; };
const Parameters kCompareSwitchAlone = [](const TestFolder&) { return L"-c "; };
const Parameters kMissingPath = [](const TestFolder& folder) {
    return ShellExtensionParameters(L"-h", {folder.PathOf(L"no such file.txt")});
};
const Parameters kPathWithoutSwitch = [](const TestFolder& folder) {
    return ShellExtensionParameters(ExistingFile(folder), {});
};
const Parameters kExistingPath = [](const TestFolder& folder) {
    return ShellExtensionParameters(L"-h", {ExistingFile(folder)});
};

const Registration kRegistered = [] { runtime_registration::WriteVersion(); };
const Registration kNotRegistered = [] { runtime_registration::Remove(); };
const Registration kKeyWithoutVersion = [] { runtime_registration::WriteKeyWithoutVersion(); };

enum class Network { Connected, Absent };

struct StartupErrorCase {
    const char* name;
    Network network;
    Registration registration;
    Parameters parameters;
    const std::wstring ExpectedTexts::*text;
    const std::wstring ExpectedTexts::*caption;   // nullptr: an empty caption
};

void PrintTo(const StartupErrorCase& c, std::ostream* out)
{
    *out << c.name;
}

class StartupErrorTest : public TessalyTest, public testing::WithParamInterface<StartupErrorCase> {};

TEST_P(StartupErrorTest, ShowsTheErrorAloneAndEnds)
{
    const StartupErrorCase& c = GetParam();
    ASSERT_EQ(NetworkConnected(), c.network == Network::Connected)
        << "this case needs a run " << (c.network == Network::Connected ? "with" : "without (unshare -n)")
        << " a network connection";
    c.registration();
    const TessalyRun& run = Start(c.parameters(folder_));

    const std::optional<MessageBoxView> box = run.WaitForMessageBox();
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(Utf8(box->text), Utf8(Expected().*c.text));
    EXPECT_EQ(Utf8(box->caption), Utf8(c.caption ? Expected().*c.caption : fixed_text::kNoCaption));
    EXPECT_STREQ(NameOf(box->icon), NameOf(BoxIcon::Error));
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_EQ(run.VisibleWindows(), std::vector<HWND>{box->window}) << "start-up created windows before failing";

    EXPECT_TRUE(Answer(*box, IDOK)) << "the box stays";
    EXPECT_TRUE(EndsAskingNothing(*run_));
}

using T = ExpectedTexts;

INSTANTIATE_TEST_SUITE_P(Arguments, StartupErrorTest, testing::Values(
    StartupErrorCase{"NoArgument", Network::Connected, kRegistered, kNoArgument, &T::noArgument, nullptr},
    StartupErrorCase{"HashSwitchAlone", Network::Connected, kRegistered, kHashSwitchAlone, &T::noSuchPath, nullptr},
    StartupErrorCase{"CompareSwitchAlone", Network::Connected, kRegistered, kCompareSwitchAlone, &T::noSuchPath, nullptr},
    StartupErrorCase{"MissingPath", Network::Connected, kRegistered, kMissingPath, &T::noSuchPath, nullptr},
    StartupErrorCase{"PathWithoutSwitch", Network::Connected, kRegistered, kPathWithoutSwitch, &T::noSuchPath, nullptr}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(RuntimeRegistration, StartupErrorTest, testing::Values(
    StartupErrorCase{"KeyAbsent", Network::Connected, kNotRegistered, kExistingPath, &T::noRuntime, nullptr},
    StartupErrorCase{"VersionAbsent", Network::Connected, kKeyWithoutVersion, kExistingPath, &T::noRuntime, nullptr}),
    [](const auto& info) { return info.param.name; });

// The argument and path checks come before the network check, the network check
// before the runtime check.
INSTANTIATE_TEST_SUITE_P(Offline, StartupErrorTest, testing::Values(
    StartupErrorCase{"NoArgument", Network::Absent, kRegistered, kNoArgument, &T::noArgument, nullptr},
    StartupErrorCase{"HashSwitchAlone", Network::Absent, kRegistered, kHashSwitchAlone, &T::noSuchPath, nullptr},
    StartupErrorCase{"MissingPath", Network::Absent, kRegistered, kMissingPath, &T::noSuchPath, nullptr},
    StartupErrorCase{"ExistingPath", Network::Absent, kRegistered, kExistingPath, &T::noNetwork, &T::noNetworkCaption},
    StartupErrorCase{"ExistingPathNoRuntime", Network::Absent, kNotRegistered, kExistingPath, &T::noNetwork,
                     &T::noNetworkCaption}),
    [](const auto& info) { return info.param.name; });

struct PassingRegistrationCase {
    const char* name;
    Registration registration;
};

void PrintTo(const PassingRegistrationCase& c, std::ostream* out)
{
    *out << c.name;
}

class RuntimeRegistrationTest : public TessalyTest, public testing::WithParamInterface<PassingRegistrationCase> {};

// Any readable "pv" passes: its type and content are not examined.
TEST_P(RuntimeRegistrationTest, AnyReadableVersionPasses)
{
    GetParam().registration();
    EXPECT_TRUE(MainDialogOf(Start(kExistingPath(folder_))));
}

INSTANTIATE_TEST_SUITE_P(RuntimeRegistration, RuntimeRegistrationTest, testing::Values(
    PassingRegistrationCase{"VersionText", [] { runtime_registration::WriteVersion(L"120.0.2210.91"); }},
    PassingRegistrationCase{"EmptyVersionText", [] { runtime_registration::WriteVersion(L""); }},
    PassingRegistrationCase{"VersionAsNumber", [] { runtime_registration::WriteVersionAsNumber(120); }}),
    [](const auto& info) { return info.param.name; });

}  // namespace
