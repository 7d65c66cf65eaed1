// The extension on an exhausted heap: whatever runs out of memory inside it, Explorer
// gets E_OUTOFMEMORY, never an exception, and the object stays as it was. A copy of the
// library whose operator new fails where the test chooses is called with each of its
// allocations failing in turn, the first, then the second, and so on, until a call
// runs through.
#include "ShellExtTestSupport.h"
#include "ProcessResources.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kFirstId = 100;

const auto* const kComApartment = ::testing::AddGlobalTestEnvironment(new ComApartment);

// The places the tests use, made once.
const TestFolders& TestPlaces()
{
    static const TestFolders places = MakeTestFolders(L"out-of-memory", LARKSPAN_ALLOCATION_HOOK_DLL);
    return places;
}

// The library, loaded only by the tests of its first uses.
const std::wstring& FreshLibrary()
{
    static const std::wstring path =
        MakeExtensionFolder(L"out-of-memory\\fresh", LARKSPAN_ALLOCATION_HOOK_DLL, false) + L"\\Larkspan.dll";
    return path;
}

std::wstring FileToSelect(const wchar_t* name)
{
    return TestPlaces().files + L"\\" + name;
}

// The library's allocation hook (AllocationHook.cpp).
class AllocationHook {
public:
    explicit AllocationHook(const ExtensionLibrary& library)
        : m_fail(reinterpret_cast<FailFunc>(reinterpret_cast<void*>(library.Export("FailAllocation")))),
          m_failed(reinterpret_cast<FailedFunc>(reinterpret_cast<void*>(library.Export("AllocationFailed"))))
    {
        if (!m_fail || !m_failed)
            throw std::runtime_error("the library has no allocation hook");
    }

    // The `count`-th allocation from now on fails; 0: none does.
    void FailAllocation(LONG count) const { m_fail(count); }
    bool Failed() const { return m_failed() != FALSE; }

private:
    using FailFunc = void(WINAPI*)(LONG);
    using FailedFunc = BOOL(WINAPI*)();
    FailFunc m_fail;
    FailedFunc m_failed;
};

// How a call went with each of its allocations failing in turn.
struct Sweep {
    LONG allocations = 0;        // of the call that ran through
    HRESULT result = E_FAIL;     // of that call
};

// Runs `call` with its first allocation failing, then its second, and so on, each time
// expecting E_OUTOFMEMORY and then `afterFailure`, until a run in which no allocation
// failed.
template <class Call, class AfterFailure>
Sweep WithEachAllocationFailing(const AllocationHook& hook, Call call, AfterFailure afterFailure)
{
    constexpr LONG kMostAllocations = 2000;
    for (LONG n = 1; n <= kMostAllocations; ++n) {
        hook.FailAllocation(n);
        const HRESULT result = call();
        const bool failed = hook.Failed();
        hook.FailAllocation(0);
        if (!failed)
            return {n - 1, result};
        SCOPED_TRACE("allocation " + std::to_string(n) + " failed");
        EXPECT_EQ(result, E_OUTOFMEMORY);
        afterFailure();
    }
    ADD_FAILURE() << "more than " << kMostAllocations << " allocations";
    return {};
}

class OutOfMemoryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        library = new ExtensionLibrary(TestPlaces().recorderFolder + L"\\Larkspan.dll");
        hook = new AllocationHook(*library);
    }
    static void TearDownTestSuite()
    {
        delete hook;
        delete library;
        hook = nullptr;
        library = nullptr;
    }

    static ExtensionLibrary* library;
    static AllocationHook* hook;
};
ExtensionLibrary* OutOfMemoryTest::library = nullptr;
AllocationHook* OutOfMemoryTest::hook = nullptr;

// ---- the handler's construction and its methods

TEST_F(OutOfMemoryTest, ConstructionFailsWithNothingLeftBehind)
{
    IClassFactory* raw = nullptr;
    ASSERT_EQ(library->GetClassObject(kClsidLarkspanShellExt, IID_IClassFactory, reinterpret_cast<void**>(&raw)), S_OK);
    ComRef<IClassFactory> factory(raw);
    // An outer object that the handler never calls while it is made.
    struct Outer : IUnknown {
        STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
        STDMETHODIMP_(ULONG) AddRef() override { return 2; }
        STDMETHODIMP_(ULONG) Release() override { return 1; }
    } outer;
    for (IUnknown* controlling : {static_cast<IUnknown*>(nullptr), static_cast<IUnknown*>(&outer)}) {
        SCOPED_TRACE(controlling ? "aggregated" : "stand-alone");
        const int gdiObjects = CountProcessResources().gdiObjects;
        void* handler = nullptr;
        const Sweep sweep = WithEachAllocationFailing(
            *hook, [&] { return factory->CreateInstance(controlling, IID_IUnknown, &handler); },
            [&] {
                EXPECT_EQ(handler, nullptr);
                EXPECT_EQ(CountProcessResources().gdiObjects, gdiObjects) << "the bitmaps are not left behind";
            });
        EXPECT_GT(sweep.allocations, 0);
        ASSERT_EQ(sweep.result, S_OK);
        static_cast<IUnknown*>(handler)->Release();
    }
    factory.reset();
    EXPECT_EQ(library->CanUnloadNow(), S_OK) << "no failed handler keeps the library locked";
}

TEST_F(OutOfMemoryTest, FailedSelectionKeepsTheEarlierOneAndReleasesTheMedium)
{
    const RecordedStarts starts(TestPlaces().recorderFolder);
    const std::vector<std::wstring> earlier = {FileToSelect(L"one.txt"), FileToSelect(L"two.txt")};
    Handler handler(*library);
    ASSERT_EQ(handler.Select(earlier), S_OK);
    LONG media = 0;
    const ComRef<IDataObject> data = MakeDropDataObject({FileToSelect(L"with blank.txt")}, DropKind::Paths, &media);
    size_t startsSeen = 0;
    const Sweep sweep = WithEachAllocationFailing(
        *hook, [&] { return handler.init->Initialize(nullptr, data.get(), nullptr); },
        [&] {
            EXPECT_EQ(media, 0) << "the medium is released";
            // The earlier selection whole: the program gets both paths.
            EXPECT_EQ(handler.InvokeOffset(1), S_OK);
            const std::vector<std::wstring> lines = starts.WaitForLines(++startsSeen);
            ASSERT_EQ(lines.size(), startsSeen);
            EXPECT_EQ(starts.ParametersOf(lines.back()), ExpectedParameters(L"-c", earlier));
            ASSERT_EQ(handler.Select(earlier), S_OK);
        });
    EXPECT_GT(sweep.allocations, 0);
    EXPECT_EQ(sweep.result, S_OK);
    EXPECT_EQ(media, 0);
}

TEST_F(OutOfMemoryTest, FailedMenuIsLeftAsItWas)
{
    Handler handler(*library);
    ASSERT_EQ(handler.Select({FileToSelect(L"one.txt")}), S_OK);
    int items = 0;
    const Sweep sweep = WithEachAllocationFailing(
        *hook,
        [&] {
            PopupMenu menu;
            const HRESULT result = handler.menu->QueryContextMenu(menu.handle, 1, kFirstId, kFirstId + 10, CMF_NORMAL);
            items = GetMenuItemCount(menu.handle);
            return result;
        },
        [&] { EXPECT_EQ(items, 2); });
    EXPECT_GT(sweep.allocations, 0);
    EXPECT_EQ(sweep.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 3));
    EXPECT_EQ(items, 5);
}

TEST_F(OutOfMemoryTest, FailedCommandStringLeavesAnEmptyBuffer)
{
    Handler handler(*library);
    ASSERT_EQ(handler.Select({FileToSelect(L"one.txt")}), S_OK);
    for (UINT type : {UINT(GCS_HELPTEXTW), UINT(GCS_HELPTEXTA)}) {
        SCOPED_TRACE(type);
        wchar_t buffer[64];
        const Sweep sweep = WithEachAllocationFailing(
            *hook,
            [&] {
                std::fill(std::begin(buffer), std::end(buffer), L'#');
                return handler.menu->GetCommandString(1, type, nullptr, reinterpret_cast<CHAR*>(buffer), 64);
            },
            [&] { EXPECT_EQ(buffer[0], L'\0'); });
        EXPECT_GT(sweep.allocations, 0);
        EXPECT_EQ(sweep.result, S_OK);
    }
}

TEST_F(OutOfMemoryTest, FailedCommandStartsNothingAndKeepsTheSelection)
{
    const RecordedStarts starts(TestPlaces().recorderFolder);
    Handler handler(*library);
    ASSERT_EQ(handler.Select({FileToSelect(L"one.txt")}), S_OK);
    const Sweep sweep = WithEachAllocationFailing(*hook, [&] { return handler.InvokeOffset(1); }, [] {});
    EXPECT_GT(sweep.allocations, 0);
    EXPECT_EQ(sweep.result, S_OK);
    // One start, the one that ran through, with the whole selection.
    const std::vector<std::wstring> lines = starts.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(starts.ParametersOf(lines[0]), ExpectedParameters(L"-h", {FileToSelect(L"one.txt")}));
}

TEST_F(OutOfMemoryTest, FailedErrorBoxIsNotShown)
{
    const ExtensionLibrary alone(TestPlaces().missingFolder + L"\\Larkspan.dll");
    const AllocationHook hookAlone(alone);
    Handler handler(alone);
    ASSERT_EQ(handler.Select({FileToSelect(L"one.txt")}), S_OK);
    std::vector<SeenMessageBox> boxes;
    const Sweep sweep = WithEachAllocationFailing(
        hookAlone,
        [&] {
            HRESULT result = S_OK;
            boxes = AnswerMessageBoxesDuring([&] { result = handler.InvokeOffset(1); });
            return result;
        },
        [&] { EXPECT_TRUE(boxes.empty()); });
    EXPECT_GT(sweep.allocations, 0);
    EXPECT_EQ(sweep.result, E_INVALIDARG);
    EXPECT_EQ(boxes.size(), 1u) << "the box of the missing program";
}

// ---- the library's first uses

TEST(FirstUse, LoadIsRefusedWhenItsEntryPointRunsOutOfMemory)
{
    const std::wstring& path = FreshLibrary();
    LONG n = 1;
    for (;; ++n) {
        ASSERT_LT(n, 100) << "the load never ran through";
        SetEnvironmentVariableW(L"LARKSPAN_FAILING_ALLOCATION", std::to_wstring(n).c_str());
        const HMODULE module = LoadLibraryW(path.c_str());
        const DWORD error = GetLastError();
        SetEnvironmentVariableW(L"LARKSPAN_FAILING_ALLOCATION", nullptr);
        if (!module) {
            EXPECT_EQ(error, static_cast<DWORD>(ERROR_DLL_INIT_FAILED)) << "allocation " << n;
            continue;
        }
        const auto failed = reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(module, "AllocationFailed")));
        const bool allocationFailed = failed && failed();
        FreeLibrary(module);
        ASSERT_FALSE(allocationFailed) << "loaded although allocation " << n << " failed";
        break;
    }
    EXPECT_GT(n, 1) << "the load allocates";
}

TEST(FirstUse, FirstClassObjectRequestFails)
{
    const ExtensionLibrary fresh(FreshLibrary());
    const AllocationHook hook(fresh);
    void* factory = nullptr;
    const Sweep sweep = WithEachAllocationFailing(
        hook, [&] { return fresh.GetClassObject(kClsidLarkspanShellExt, IID_IClassFactory, &factory); },
        [&] { EXPECT_EQ(factory, nullptr); });
    EXPECT_GT(sweep.allocations, 0);
    ASSERT_EQ(sweep.result, S_OK);
    static_cast<IUnknown*>(factory)->Release();
}

// ---- registration and the type information (they write to the registry)

using RegistrationFunc = HRESULT(WINAPI*)();

RegistrationFunc RegistrationExport(const ExtensionLibrary& library, const char* name)
{
    return reinterpret_cast<RegistrationFunc>(reinterpret_cast<void*>(library.Export(name)));
}

bool ClassRegistered()
{
    return KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + kClsidText);
}

TEST_F(OutOfMemoryTest, FailedRegistrationGivesTheThreadItsLocaleBack)
{
    const RegistrationFunc registerServer = RegistrationExport(*library, "DllRegisterServer");
    const RegistrationFunc unregisterServer = RegistrationExport(*library, "DllUnregisterServer");
    // Not the system's default locale, which registration sets for its duration.
    const LCID saved = GetThreadLocale();
    constexpr LCID kKorean = 0x0412;
    ASSERT_TRUE(SetThreadLocale(kKorean));

    // From nothing registered: a failed registration is completed and then taken back.
    Sweep sweep = WithEachAllocationFailing(*hook, registerServer, [&] {
        EXPECT_EQ(GetThreadLocale(), kKorean);
        EXPECT_EQ(registerServer(), S_OK);
        EXPECT_EQ(unregisterServer(), S_OK);
    });
    EXPECT_GT(sweep.allocations, 0);
    EXPECT_EQ(sweep.result, S_OK);
    EXPECT_TRUE(ClassRegistered());

    // From registered: a failed unregistration is undone by registering again.
    sweep = WithEachAllocationFailing(*hook, unregisterServer, [&] {
        EXPECT_EQ(GetThreadLocale(), kKorean);
        EXPECT_EQ(registerServer(), S_OK);
    });
    EXPECT_GT(sweep.allocations, 0);
    EXPECT_EQ(sweep.result, S_OK);
    EXPECT_FALSE(ClassRegistered());
    SetThreadLocale(saved);
}

TEST_F(OutOfMemoryTest, FailedInstallationIsTakenBack)
{
    const auto install = reinterpret_cast<HRESULT(WINAPI*)(BOOL, LPCWSTR)>(
        reinterpret_cast<void*>(library->Export("DllInstall")));
    const Sweep sweep = WithEachAllocationFailing(
        *hook, [&] { return install(TRUE, nullptr); }, [] { EXPECT_FALSE(ClassRegistered()); });
    EXPECT_GT(sweep.allocations, 0);
    EXPECT_EQ(sweep.result, S_OK);
    EXPECT_TRUE(ClassRegistered());
    EXPECT_EQ(install(FALSE, nullptr), S_OK);
}

TEST_F(OutOfMemoryTest, FailedTypeInformationIsNotKept)
{
    ASSERT_EQ(RegistrationExport(*library, "DllRegisterServer")(), S_OK);
    {
        const ComRef<IDispatch> dispatch = QueryAs<IDispatch>(Handler(*library).object.get(), IID_IDispatch);
        ASSERT_TRUE(dispatch);
        // In the library's own locale, under which it is registered.
        ITypeInfo* info = nullptr;
        const Sweep sweep = WithEachAllocationFailing(
            *hook, [&] { return dispatch->GetTypeInfo(0, 1033, &info); }, [&] { EXPECT_EQ(info, nullptr); });
        EXPECT_GT(sweep.allocations, 0);
        ASSERT_EQ(sweep.result, S_OK);
        info->Release();
    }
    EXPECT_EQ(RegistrationExport(*library, "DllUnregisterServer")(), S_OK);
}

} // namespace
