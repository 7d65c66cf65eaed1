// The context-menu handler used as Explorer uses it: created through its registration
// or its library's class factory, given real CF_HDROP selections and a real popup
// menu, asked for its help texts, and made to start the program. A recording stand-in
// for Tessaly.exe shows the command line; the real program shows it in its window.
#include "ShellExtTestSupport.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <thread>

namespace {

constexpr const wchar_t* kHashLabel = L"File Hash --- Larkspan 2.1";
constexpr const wchar_t* kCompareLabel = L"Compare Hash --- Larkspan 2.1";
constexpr const wchar_t* kHashLabelKorean = L"파일 해시 --- Larkspan 2.1";
constexpr const wchar_t* kCompareLabelKorean = L"해시 비교 --- Larkspan 2.1";
constexpr UINT kFirstId = 100;

// The places the tests use, made once.
const TestFolders& TestPlaces()
{
    static const TestFolders places = MakeTestFolders(L"handler", LARKSPAN_DLL);
    return places;
}

std::wstring FileToSelect(const wchar_t* name)
{
    return TestPlaces().files + L"\\" + name;
}

const auto* const kComApartment = ::testing::AddGlobalTestEnvironment(new ComApartment);

bool IsKoreanUser()
{
    return GetUserDefaultLangID() == 1042;
}

struct MenuItem {
    UINT id;
    bool separator;
    std::wstring text;
    HBITMAP unchecked;
    HBITMAP checked;
};

std::vector<MenuItem> ItemsOf(HMENU menu)
{
    std::vector<MenuItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_CHECKMARKS;
        info.dwTypeData = text;
        info.cch = 256;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back({info.wID, (info.fType & MFT_SEPARATOR) != 0, text, info.hbmpUnchecked, info.hbmpChecked});
    }
    return items;
}

// The starts of the recording stand-in beside the library of the tests.
RecordedStarts StartsOfRecorder()
{
    return RecordedStarts(TestPlaces().recorderFolder);
}

class RecorderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { library = new ExtensionLibrary(TestPlaces().recorderFolder + L"\\Larkspan.dll"); }
    static void TearDownTestSuite()
    {
        delete library;
        library = nullptr;
    }
    static ExtensionLibrary* library;
};
ExtensionLibrary* RecorderTest::library = nullptr;

// ---- creation through the registry, the interface map and IDispatch

class RegisteredHandlerTest : public RecorderTest {
protected:
    static void SetUpTestSuite()
    {
        RecorderTest::SetUpTestSuite();
        using Register = HRESULT(WINAPI*)();
        ASSERT_EQ(reinterpret_cast<Register>(reinterpret_cast<void*>(library->Export("DllRegisterServer")))(), S_OK);
    }
    static void TearDownTestSuite()
    {
        using Unregister = HRESULT(WINAPI*)();
        EXPECT_EQ(reinterpret_cast<Unregister>(reinterpret_cast<void*>(library->Export("DllUnregisterServer")))(), S_OK);
        RecorderTest::TearDownTestSuite();
    }

    static ComRef<IUnknown> CreateThroughRegistry()
    {
        void* object = nullptr;
        EXPECT_EQ(CoCreateInstance(kClsidLarkspanShellExt, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), S_OK);
        return ComRef<IUnknown>(static_cast<IUnknown*>(object));
    }
};

TEST_F(RegisteredHandlerTest, ServesTheFourInterfacesOfItsMapAndNoOthers)
{
    const ComRef<IUnknown> handler = CreateThroughRegistry();
    ASSERT_TRUE(handler);
    struct Case {
        const char* name;
        IID iid;
        bool served;
    };
    const Case cases[] = {
        {"ILarkspanShellExt", kIidLarkspanShellExt, true}, {"IDispatch", IID_IDispatch, true},
        {"IShellExtInit", IID_IShellExtInit, true},         {"IContextMenu", IID_IContextMenu, true},
        {"IContextMenu2", IID_IContextMenu2, false},        {"IContextMenu3", IID_IContextMenu3, false},
        {"IClassFactory", IID_IClassFactory, false},        {"IPersist", IID_IPersist, false},
    };
    for (const Case& c : cases) {
        const ComRef<IUnknown> part = QueryAs<IUnknown>(handler.get(), c.iid);
        EXPECT_EQ(part != nullptr, c.served) << c.name;
        if (part) {
            // Every interface leads back to the one identity.
            EXPECT_EQ(QueryAs<IUnknown>(part.get(), IID_IUnknown).get(), handler.get()) << c.name;
        }
    }
}

TEST_F(RegisteredHandlerTest, IsServedByTheRegisteredCopyOfTheLibrary)
{
    const ComRef<IUnknown> handler = CreateThroughRegistry();
    ASSERT_TRUE(handler);
    HMODULE owner = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       *reinterpret_cast<LPCWSTR*>(handler.get()), &owner);
    EXPECT_EQ(owner, library->Module());
}

TEST_F(RegisteredHandlerTest, DispatchServesTheTypeInformationOfTheRegisteredLibrary)
{
    const ComRef<IDispatch> dispatch = QueryAs<IDispatch>(CreateThroughRegistry().get(), IID_IDispatch);
    ASSERT_TRUE(dispatch);
    UINT count = 0;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);

    // The library is registered under its locale, 1033; LoadRegTypeLib finds it for that
    // locale, and the type information, once read, serves every later request.
    for (LCID lcid : {LCID(1033), LCID(0), LCID(LOCALE_USER_DEFAULT)}) {
        ITypeInfo* raw = nullptr;
        ASSERT_EQ(dispatch->GetTypeInfo(0, lcid, &raw), S_OK) << "lcid " << lcid;
        const ComRef<ITypeInfo> info(raw);
        TYPEATTR* attributes = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
        EXPECT_TRUE(IsEqualGUID(attributes->guid, kIidLarkspanShellExt));
        EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
        EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
        EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FNONEXTENSIBLE);
        info->ReleaseTypeAttr(attributes);

        // The library: LarkspanLib 1.0, locale 1033, 64-bit; IDispatch is stdole2's.
        ITypeLib* rawLib = nullptr;
        UINT index = 0;
        ASSERT_EQ(info->GetContainingTypeLib(&rawLib, &index), S_OK);
        const ComRef<ITypeLib> lib(rawLib);
        TLIBATTR* libAttributes = nullptr;
        ASSERT_EQ(lib->GetLibAttr(&libAttributes), S_OK);
        EXPECT_TRUE(IsEqualGUID(libAttributes->guid, kLibidLarkspan));
        EXPECT_EQ(libAttributes->wMajorVerNum, 1);
        EXPECT_EQ(libAttributes->wMinorVerNum, 0);
        EXPECT_EQ(libAttributes->lcid, 0x409u);
        EXPECT_EQ(libAttributes->syskind, SYS_WIN64);
        lib->ReleaseTLibAttr(libAttributes);
    }

    ITypeInfo* none = reinterpret_cast<ITypeInfo*>(1);
    EXPECT_EQ(dispatch->GetTypeInfo(1, 0, &none), DISP_E_BADINDEX);
    EXPECT_EQ(none, nullptr);

    // No members of its own: names are unknown to it, and so are dispatch ids.
    OLECHAR name[] = L"Hash";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
    DISPPARAMS noArguments = {};
    EXPECT_EQ(dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &noArguments, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
}

TEST_F(RegisteredHandlerTest, TheTypeLibraryTakesIDispatchFromTheStandardLibrary)
{
    ITypeLib* raw = nullptr;
    ASSERT_EQ(LoadRegTypeLib(kLibidLarkspan, 1, 0, 0x409, &raw), S_OK);
    const ComRef<ITypeLib> lib(raw);
    ITypeInfo* rawInfo = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kClsidLarkspanShellExt, &rawInfo), S_OK);
    const ComRef<ITypeInfo> coclass(rawInfo);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FCANCREATE);
    EXPECT_EQ(attributes->cImplTypes, 1);
    coclass->ReleaseTypeAttr(attributes);

    // The interface's vtable part derives from IDispatch of stdole2.tlb.
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kIidLarkspanShellExt, &rawInfo), S_OK);
    const ComRef<ITypeInfo> dispatchPart(rawInfo);
    HREFTYPE vtableRef = 0;
    ASSERT_EQ(dispatchPart->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef), S_OK);
    ASSERT_EQ(dispatchPart->GetRefTypeInfo(vtableRef, &rawInfo), S_OK);
    const ComRef<ITypeInfo> vtablePart(rawInfo);
    TYPEATTR* vtableAttributes = nullptr;
    ASSERT_EQ(vtablePart->GetTypeAttr(&vtableAttributes), S_OK);
    EXPECT_EQ(vtableAttributes->typekind, TKIND_INTERFACE);
    EXPECT_EQ(vtableAttributes->cFuncs, 0) << "no methods of its own";
    vtablePart->ReleaseTypeAttr(vtableAttributes);
    HREFTYPE baseRef = 0;
    ASSERT_EQ(vtablePart->GetRefTypeOfImplType(0, &baseRef), S_OK);
    ASSERT_EQ(vtablePart->GetRefTypeInfo(baseRef, &rawInfo), S_OK);
    const ComRef<ITypeInfo> base(rawInfo);
    BSTR baseName = nullptr;
    ASSERT_EQ(base->GetDocumentation(MEMBERID_NIL, &baseName, nullptr, nullptr, nullptr), S_OK);
    EXPECT_STREQ(baseName, L"IDispatch");
    SysFreeString(baseName);
    ITypeLib* baseLib = nullptr;
    UINT index = 0;
    ASSERT_EQ(base->GetContainingTypeLib(&baseLib, &index), S_OK);
    TLIBATTR* baseLibAttributes = nullptr;
    baseLib->GetLibAttr(&baseLibAttributes);
    const GUID stdole = {0x00020430, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    EXPECT_TRUE(IsEqualGUID(baseLibAttributes->guid, stdole));
    baseLib->ReleaseTLibAttr(baseLibAttributes);
    baseLib->Release();
}

// Read from the library's file through the platform's type-library reader, not through
// the extension's own declarations.
TEST_F(RecorderTest, TheInterfaceHasTheSevenSlotsOfIDispatch)
{
    ITypeLib* raw = nullptr;
    ASSERT_EQ(LoadTypeLibEx((TestPlaces().recorderFolder + L"\\Larkspan.dll").c_str(), REGKIND_NONE, &raw), S_OK);
    const ComRef<ITypeLib> lib(raw);
    ITypeInfo* rawInfo = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kIidLarkspanShellExt, &rawInfo), S_OK);
    const ComRef<ITypeInfo> dispatchPart(rawInfo);

    // The dispatch part lists the inherited methods, each in its slot of 8 bytes.
    const wchar_t* const kInherited[] = {L"QueryInterface",   L"AddRef",      L"Release",      L"GetTypeInfoCount",
                                         L"GetTypeInfo",      L"GetIDsOfNames", L"Invoke"};
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(dispatchPart->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->cFuncs, 7);
    dispatchPart->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < std::size(kInherited); ++i) {
        FUNCDESC* function = nullptr;
        ASSERT_EQ(dispatchPart->GetFuncDesc(i, &function), S_OK) << i;
        BSTR name = nullptr;
        dispatchPart->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
        EXPECT_STREQ(name, kInherited[i]);
        EXPECT_EQ(function->oVft, static_cast<SHORT>(8 * i)) << Utf8(kInherited[i]);
        SysFreeString(name);
        dispatchPart->ReleaseFuncDesc(function);
    }

    // The vtable part: the seven slots of IDispatch, none of its own.
    HREFTYPE vtableRef = 0;
    ASSERT_EQ(dispatchPart->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef), S_OK);
    ASSERT_EQ(dispatchPart->GetRefTypeInfo(vtableRef, &rawInfo), S_OK);
    const ComRef<ITypeInfo> vtablePart(rawInfo);
    ASSERT_EQ(vtablePart->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
    EXPECT_EQ(attributes->cbSizeVft, 56);
    EXPECT_EQ(attributes->cFuncs, 0);
    vtablePart->ReleaseTypeAttr(attributes);
}

// Wine's type-library marshaller reads a library's path from the entry of locale 0 alone
// (its reg_get_typelib_module); the extension's library is registered under its own
// locale, 1033. The entry is there while the object lives. The marshaller reads the path
// with the ANSI registry call, in whose code page a path with Hangul (the tests' folder may
// hold it) cannot be written: the entry holds the path's short form, which is ASCII.
class NeutralLocaleEntry {
public:
    explicit NeutralLocaleEntry(const std::wstring& library)
    {
        WriteString(HKEY_LOCAL_MACHINE, m_key + L"\\win64", L"", ShortPathOf(library));
    }
    ~NeutralLocaleEntry() { DeleteTree(HKEY_LOCAL_MACHINE, m_key); }
    NeutralLocaleEntry(const NeutralLocaleEntry&) = delete;
    NeutralLocaleEntry& operator=(const NeutralLocaleEntry&) = delete;

private:
    static std::wstring ShortPathOf(const std::wstring& path)
    {
        wchar_t shortPath[MAX_PATH] = {};
        const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
        return length > 0 && length < MAX_PATH ? std::wstring(shortPath) : path;
    }

    const std::wstring m_key = std::wstring(L"Software\\Classes\\TypeLib\\") + kAppIdText + L"\\1.0\\0";
};

// The type library's marshaller builds the proxy from the registered library.
TEST_F(RegisteredHandlerTest, InterfaceIsMarshalledToAnotherApartmentAndCalledThere)
{
    const NeutralLocaleEntry neutralEntry(TestPlaces().recorderFolder + L"\\Larkspan.dll");
    const ComRef<IUnknown> handler = CreateThroughRegistry();
    ASSERT_TRUE(handler);
    IStream* stream = nullptr;
    ASSERT_EQ(CoMarshalInterThreadInterfaceInStream(kIidLarkspanShellExt, handler.get(), &stream), S_OK);
    HRESULT unmarshalled = E_FAIL;
    HRESULT called = E_FAIL;
    UINT count = 0;
    const void* proxy = nullptr;
    HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        IDispatch* shellExt = nullptr;   // ILarkspanShellExt: IDispatch and nothing of its own
        unmarshalled = CoGetInterfaceAndReleaseStream(stream, kIidLarkspanShellExt, reinterpret_cast<void**>(&shellExt));
        if (shellExt) {
            proxy = shellExt;
            called = shellExt->GetTypeInfoCount(&count);
            shellExt->Release();
        }
        CoUninitialize();
        SetEvent(finished);
    });
    // The handler's apartment serves the call meanwhile.
    const auto end = std::chrono::steady_clock::now() + 30s;
    while (MsgWaitForMultipleObjects(1, &finished, FALSE, 1000, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           std::chrono::steady_clock::now() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    other.join();
    CloseHandle(finished);
    EXPECT_EQ(unmarshalled, S_OK);
    EXPECT_NE(proxy, QueryAs<IUnknown>(handler.get(), kIidLarkspanShellExt).get()) << "a proxy, not the object";
    EXPECT_EQ(called, S_OK);
    EXPECT_EQ(count, 1u);
}

// ---- the exports and the class factory

TEST_F(RecorderTest, ClassObjectOnlyForTheHandlerClassAndAlwaysTheSameFactory)
{
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(library->GetClassObject(IID_IContextMenu, IID_IClassFactory, &other), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(library->GetClassObject(kClsidLarkspanShellExt, IID_IClassFactory, nullptr), E_POINTER);

    void* first = nullptr;
    void* second = nullptr;
    ASSERT_EQ(library->GetClassObject(kClsidLarkspanShellExt, IID_IClassFactory, &first), S_OK);
    ASSERT_EQ(library->GetClassObject(kClsidLarkspanShellExt, IID_IUnknown, &second), S_OK);
    EXPECT_EQ(QueryAs<IUnknown>(static_cast<IUnknown*>(first), IID_IUnknown).get(), second);
    void* notFactory = reinterpret_cast<void*>(1);
    EXPECT_EQ(library->GetClassObject(kClsidLarkspanShellExt, IID_IContextMenu, &notFactory), E_NOINTERFACE);
    EXPECT_EQ(notFactory, nullptr);
    static_cast<IUnknown*>(first)->Release();
    static_cast<IUnknown*>(second)->Release();
}

TEST_F(RecorderTest, ExportsHaveTheOrdinalsOneToFiveInAlphabeticalOrder)
{
    const char* const kExports[] = {"DllCanUnloadNow", "DllGetClassObject", "DllInstall", "DllRegisterServer",
                                    "DllUnregisterServer"};
    for (WORD ordinal = 1; ordinal <= std::size(kExports); ++ordinal) {
        const FARPROC byName = library->Export(kExports[ordinal - 1]);
        ASSERT_NE(byName, nullptr) << kExports[ordinal - 1];
        EXPECT_EQ(GetProcAddress(library->Module(), MAKEINTRESOURCEA(ordinal)), byName) << kExports[ordinal - 1];
    }
    EXPECT_EQ(GetProcAddress(library->Module(), MAKEINTRESOURCEA(6)), nullptr) << "no further export";
}

// What one thread got from the library's first requests.
struct FirstRequest {
    HRESULT classObject = E_FAIL;
    HRESULT instance = E_FAIL;
    const void* factory = nullptr;
};

FirstRequest AskForAHandler(const ExtensionLibrary& library)
{
    FirstRequest request;
    IClassFactory* factory = nullptr;
    request.classObject = library.GetClassObject(kClsidLarkspanShellExt, IID_IClassFactory,
                                                 reinterpret_cast<void**>(&factory));
    if (!factory)
        return request;
    void* handler = nullptr;
    request.instance = factory->CreateInstance(nullptr, IID_IUnknown, &handler);
    if (handler)
        static_cast<IUnknown*>(handler)->Release();
    request.factory = factory;   // the library keeps it: its address stays valid
    factory->Release();
    return request;
}

// Explorer may ask on several threads at once right after loading the library: every
// thread gets the one factory, already able to make handlers.
TEST(FreshLoad, ThreadsAskingAtOnceGetTheOneCompleteFactory)
{
    constexpr int kLoads = 200;
    constexpr int kThreads = 8;
    // A copy that no other test holds, so that every load is a fresh one.
    const std::wstring copy = MakeExtensionFolder(L"handler\\fresh loads", LARKSPAN_DLL, false) + L"\\Larkspan.dll";
    for (int load = 0; load < kLoads; ++load) {
        const ExtensionLibrary library(copy);
        std::atomic<bool> go{false};
        std::vector<FirstRequest> requests(kThreads);
        std::vector<std::thread> threads;
        for (FirstRequest& request : requests) {
            threads.emplace_back([&] {
                while (!go)
                    std::this_thread::yield();
                request = AskForAHandler(library);
            });
        }
        go = true;
        for (std::thread& thread : threads)
            thread.join();
        for (const FirstRequest& request : requests) {
            ASSERT_EQ(request.classObject, S_OK) << "load " << load;
            ASSERT_EQ(request.instance, S_OK) << "load " << load;
            ASSERT_EQ(request.factory, requests[0].factory) << "load " << load;
        }
        ASSERT_EQ(library.CanUnloadNow(), S_OK) << "load " << load;
    }
}

TEST_F(RecorderTest, CanUnloadOnlyWhenNoHandlerFactoryReferenceOrServerLockRemains)
{
    ASSERT_EQ(library->CanUnloadNow(), S_OK);

    ComRef<IUnknown> handler = library->CreateHandler();
    ASSERT_TRUE(handler);
    EXPECT_EQ(library->CanUnloadNow(), S_FALSE) << "a handler lives";
    handler.reset();
    EXPECT_EQ(library->CanUnloadNow(), S_OK) << "the handler is gone";

    IClassFactory* factory = nullptr;
    ASSERT_EQ(library->GetClassObject(kClsidLarkspanShellExt, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(library->CanUnloadNow(), S_FALSE) << "the caller holds the factory";
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(library->CanUnloadNow(), S_FALSE) << "the server is locked";
    ASSERT_EQ(library->GetClassObject(kClsidLarkspanShellExt, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    EXPECT_EQ(library->CanUnloadNow(), S_OK);
}

// An outer object that counts the references its inner object hands to it.
class CountingOuter final : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID, void** result) override
    {
        *result = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++count; }
    STDMETHODIMP_(ULONG) Release() override { return --count; }
    ULONG count = 1;
};

TEST_F(RecorderTest, AggregatedHandlerSpeaksForItsOuterObject)
{
    IClassFactory* raw = nullptr;
    ASSERT_EQ(library->GetClassObject(kClsidLarkspanShellExt, IID_IClassFactory, reinterpret_cast<void**>(&raw)), S_OK);
    ComRef<IClassFactory> factory(raw);
    CountingOuter outer;
    void* refused = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IContextMenu, &refused), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(refused, nullptr);

    void* inner = nullptr;
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, &inner), S_OK);
    auto* innerUnknown = static_cast<IUnknown*>(inner);
    void* menu = nullptr;
    ASSERT_EQ(innerUnknown->QueryInterface(IID_IContextMenu, &menu), S_OK);
    EXPECT_EQ(outer.count, 2u) << "the inner object's interfaces count on the outer object";
    // QueryInterface through the interface goes to the outer object, which knows nothing.
    void* back = reinterpret_cast<void*>(1);
    EXPECT_EQ(static_cast<IContextMenu*>(menu)->QueryInterface(IID_IShellExtInit, &back), E_NOINTERFACE);
    static_cast<IContextMenu*>(menu)->Release();
    EXPECT_EQ(outer.count, 1u);
    factory.reset();
    EXPECT_EQ(library->CanUnloadNow(), S_FALSE) << "the aggregated handler lives";
    innerUnknown->Release();
    EXPECT_EQ(library->CanUnloadNow(), S_OK);
}

TEST_F(RecorderTest, BitmapsAreSixteenBySixteenUncompressed32BitsWithoutAlpha)
{
    for (int id : {201, 202}) {
        HRSRC resource = FindResourceW(library->Module(), MAKEINTRESOURCEW(id), RT_BITMAP);
        ASSERT_TRUE(resource) << id;
        const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(library->Module(), resource)));
        EXPECT_EQ(header->biWidth, 16) << id;
        EXPECT_EQ(header->biHeight, 16) << id;
        EXPECT_EQ(header->biBitCount, 32) << id;
        EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB)) << id;
        const auto* pixels = reinterpret_cast<const BYTE*>(header + 1);
        int opaque = 0;
        for (int i = 0; i < 16 * 16; ++i)
            opaque += pixels[4 * i + 3] != 0;
        EXPECT_EQ(opaque, 0) << id;
    }
}

// ---- the selection and the menu

TEST_F(RecorderTest, SelectionSetsTheModeThatTheMenuShows)
{
    struct Case {
        const char* what;
        std::vector<std::wstring> paths;
        DropKind kind;
        HRESULT result;
        const wchar_t* label;   // null: no entry
    };
    const Case cases[] = {
        {"one file", {FileToSelect(L"one.txt")}, DropKind::Paths, S_OK, kHashLabel},
        {"a file with a blank", {FileToSelect(L"with blank.txt")}, DropKind::Paths, S_OK, kHashLabel},
        {"two files", {FileToSelect(L"one.txt"), FileToSelect(L"two.txt")}, DropKind::Paths, S_OK, kCompareLabel},
        {"three files",
         {FileToSelect(L"one.txt"), FileToSelect(L"two.txt"), FileToSelect(L"three.txt")},
         DropKind::Paths,
         S_OK,
         nullptr},
        // Wine's DragQueryFileW counts an empty list as one name that cannot be read: no
        // path, so E_FAIL, and the mode follows the count.
        {"no file", {}, DropKind::Paths, E_FAIL, kHashLabel},
        {"no CF_HDROP", {FileToSelect(L"one.txt")}, DropKind::NoDropFormat, E_INVALIDARG, nullptr},
        {"memory that cannot be locked", {FileToSelect(L"one.txt")}, DropKind::UnlockableMemory, E_INVALIDARG,
         nullptr},
    };
    for (const Case& c : cases) {
        Handler handler(*library);
        EXPECT_EQ(handler.Select(c.paths, c.kind), c.result) << c.what;
        PopupMenu menu;
        const HRESULT added = handler.menu->QueryContextMenu(menu.handle, 1, kFirstId, kFirstId + 10, CMF_NORMAL);
        if (!c.label) {
            EXPECT_EQ(added, S_OK) << c.what;
            EXPECT_EQ(GetMenuItemCount(menu.handle), 2) << c.what;
            continue;
        }
        EXPECT_EQ(added, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 3)) << c.what;
        const std::vector<MenuItem> items = ItemsOf(menu.handle);
        ASSERT_EQ(items.size(), 5u) << c.what;
        EXPECT_EQ(items[0].text, L"Before");
        EXPECT_TRUE(items[1].separator && items[1].id == kFirstId) << c.what;
        EXPECT_FALSE(items[2].separator) << c.what;
        EXPECT_EQ(items[2].id, kFirstId + 1) << c.what;
        EXPECT_EQ(items[2].text, c.label) << c.what;
        EXPECT_TRUE(items[2].unchecked) << c.what << ": the picture";
        EXPECT_FALSE(items[2].checked) << c.what;
        EXPECT_TRUE(items[3].separator && items[3].id == kFirstId + 2) << c.what;
        EXPECT_EQ(items[4].text, L"After");
    }
}

TEST_F(RecorderTest, EachModeHasItsOwnSixteenPixelPicture)
{
    HBITMAP pictures[2] = {};
    Handler handler(*library);
    const std::vector<std::wstring> selections[2] = {{FileToSelect(L"one.txt")},
                                                     {FileToSelect(L"one.txt"), FileToSelect(L"two.txt")}};
    for (int mode = 0; mode < 2; ++mode) {
        ASSERT_EQ(handler.Select(selections[mode]), S_OK);
        PopupMenu menu;
        handler.menu->QueryContextMenu(menu.handle, 0, kFirstId, kFirstId + 10, CMF_NORMAL);
        pictures[mode] = ItemsOf(menu.handle)[1].unchecked;
        BITMAP bitmap = {};
        ASSERT_TRUE(GetObjectW(pictures[mode], sizeof bitmap, &bitmap));
        EXPECT_EQ(bitmap.bmWidth, 16);
        EXPECT_EQ(bitmap.bmHeight, 16);
    }
    EXPECT_NE(pictures[0], pictures[1]);
}

// A bitmap's pixels as 32-bit colours, read through the screen's device context.
std::vector<DWORD> PixelsOf(HBITMAP bitmap)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(16 * 16);
    HDC screen = GetDC(nullptr);
    const int lines = GetDIBits(screen, bitmap, 0, 16, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return lines == 16 ? pixels : std::vector<DWORD>();
}

std::vector<DWORD> PixelsOfResource(HMODULE module, int id)
{
    const HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(id));
    std::vector<DWORD> pixels = PixelsOf(bitmap);
    DeleteObject(bitmap);
    return pixels;
}

// The picture shown beside the entry for `paths`.
HBITMAP PictureOfEntry(Handler& handler, const std::vector<std::wstring>& paths)
{
    PopupMenu menu;
    if (handler.Select(paths) != S_OK ||
        handler.menu->QueryContextMenu(menu.handle, 0, kFirstId, kFirstId + 10, CMF_NORMAL) != 3)
        return nullptr;
    return ItemsOf(menu.handle)[1].unchecked;
}

TEST_F(RecorderTest, HashEntryShowsBitmap202AndCompareEntryBitmap201)
{
    const std::vector<DWORD> hashPicture = PixelsOfResource(library->Module(), 202);
    const std::vector<DWORD> comparePicture = PixelsOfResource(library->Module(), 201);
    ASSERT_EQ(hashPicture.size(), 256u);
    ASSERT_NE(hashPicture, comparePicture) << "the two pictures can be told apart";
    struct Case {
        const char* what;
        std::vector<std::wstring> paths;
        const std::vector<DWORD>* picture;
    };
    const Case cases[] = {
        {"one file", {FileToSelect(L"one.txt")}, &hashPicture},
        {"two files", {FileToSelect(L"one.txt"), FileToSelect(L"two.txt")}, &comparePicture},
    };
    for (const Case& c : cases) {
        Handler handler(*library);
        EXPECT_EQ(PixelsOf(PictureOfEntry(handler, c.paths)), *c.picture) << c.what;
    }
}

TEST_F(RecorderTest, BothBitmapsAreDeletedAtTheFinalRelease)
{
    std::vector<HBITMAP> pictures;
    {
        Handler handler(*library);
        pictures.push_back(PictureOfEntry(handler, {FileToSelect(L"one.txt")}));
        pictures.push_back(PictureOfEntry(handler, {FileToSelect(L"one.txt"), FileToSelect(L"two.txt")}));
        for (HBITMAP picture : pictures)
            EXPECT_EQ(GetObjectType(picture), static_cast<DWORD>(OBJ_BITMAP)) << "kept while the handler lives";
    }
    for (HBITMAP picture : pictures)
        EXPECT_EQ(GetObjectType(picture), 0u) << "deleted with the handler";
}

TEST_F(RecorderTest, FailedSelectionKeepsTheEarlierOne)
{
    Handler handler(*library);
    ASSERT_EQ(handler.Select({FileToSelect(L"one.txt"), FileToSelect(L"two.txt")}), S_OK);
    EXPECT_EQ(handler.Select({FileToSelect(L"one.txt")}, DropKind::NoDropFormat), E_INVALIDARG);
    EXPECT_EQ(handler.Select({FileToSelect(L"one.txt")}, DropKind::UnlockableMemory), E_INVALIDARG);
    PopupMenu menu;
    EXPECT_EQ(handler.menu->QueryContextMenu(menu.handle, 0, kFirstId, kFirstId + 10, CMF_NORMAL), 3);
    EXPECT_EQ(ItemsOf(menu.handle)[1].text, kCompareLabel);
    // The paths too: the program gets both.
    const RecordedStarts starts = StartsOfRecorder();
    EXPECT_EQ(handler.InvokeOffset(1), S_OK);
    const std::vector<std::wstring> lines = starts.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(starts.ParametersOf(lines[0]), ExpectedParameters(L"-c", {FileToSelect(L"one.txt"), FileToSelect(L"two.txt")}));
}

TEST_F(RecorderTest, NoEntryForDefaultOnlyOrVerbsOnlyMenus)
{
    for (UINT flags : {UINT(CMF_DEFAULTONLY), UINT(CMF_VERBSONLY), UINT(CMF_DEFAULTONLY | CMF_EXPLORE)}) {
        Handler handler(*library);
        ASSERT_EQ(handler.Select({FileToSelect(L"one.txt")}), S_OK);
        PopupMenu menu;
        EXPECT_EQ(handler.menu->QueryContextMenu(menu.handle, 1, kFirstId, kFirstId + 10, flags), S_OK) << flags;
        EXPECT_EQ(GetMenuItemCount(menu.handle), 2) << flags;
    }
}

// ---- help texts

TEST_F(RecorderTest, CommandStringForEachRequestType)
{
    struct Case {
        UINT type;
        HRESULT result;
        bool wide;
    };
    const Case cases[] = {
        {GCS_VERBA, E_INVALIDARG, false},  {GCS_HELPTEXTA, S_OK, false}, {GCS_VALIDATEA, E_INVALIDARG, false},
        {GCS_VERBW, S_OK, true},           {GCS_HELPTEXTW, S_OK, true},  {GCS_VALIDATEW, S_OK, true},
        {GCS_VERBICONW, S_OK, true},
    };
    Handler handler(*library);
    ASSERT_EQ(handler.Select({FileToSelect(L"one.txt")}), S_OK);
    for (const Case& c : cases) {
        // Every command offset, the separators' too, has the entry's text.
        for (UINT_PTR offset : {0, 1, 2}) {
            wchar_t buffer[64];
            std::fill(std::begin(buffer), std::end(buffer), L'#');
            auto* bytes = reinterpret_cast<CHAR*>(buffer);
            EXPECT_EQ(handler.menu->GetCommandString(offset, c.type, nullptr, bytes, 64), c.result) << c.type;
            if (c.result != S_OK)
                EXPECT_EQ(bytes[0], '\0') << c.type;
            else if (c.wide)
                EXPECT_STREQ(buffer, kHashLabel) << c.type;
            else
                EXPECT_STREQ(bytes, Utf8(kHashLabel).c_str()) << c.type;
        }
    }
}

TEST_F(RecorderTest, CommandStringCutToTheBufferAndEmptyWithoutSelection)
{
    Handler handler(*library);
    ASSERT_EQ(handler.Select({FileToSelect(L"one.txt"), FileToSelect(L"two.txt")}), S_OK);
    wchar_t wide[5];
    EXPECT_EQ(handler.menu->GetCommandString(1, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(wide), 5), S_OK);
    EXPECT_STREQ(wide, L"Comp");
    char ansi[5];
    EXPECT_EQ(handler.menu->GetCommandString(1, GCS_HELPTEXTA, nullptr, ansi, 5), S_OK);
    EXPECT_STREQ(ansi, "Comp");

    Handler unselected(*library);
    wchar_t empty[8] = L"#######";
    EXPECT_EQ(unselected.menu->GetCommandString(1, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(empty), 8), S_OK);
    EXPECT_STREQ(empty, L"");
}

// ---- starting the program

TEST_F(RecorderTest, StartsTheProgramBesideTheLibraryWithTheSelection)
{
    // Paths of any length are passed whole; 258 and 259 characters with a blank still
    // get both quotes. A path with a blank is in quotes, the others as the rule for any
    // path has it: the tests' folder may hold a blank too.
    const std::wstring folder = TestPlaces().files + L"\\";
    auto blankPathOfLength = [&](size_t length) {
        std::wstring path = folder + L"a b";
        path += std::wstring(length - path.size(), L'x');
        return path;
    };
    const std::wstring long300 = blankPathOfLength(300);
    const std::wstring long259 = blankPathOfLength(259);
    const std::wstring long258 = blankPathOfLength(258);
    const std::wstring plain300 = folder + std::wstring(300 - folder.size(), L'y');
    struct Case {
        std::vector<std::wstring> paths;
        std::wstring parameters;
    };
    const Case cases[] = {
        {{FileToSelect(L"one.txt")}, L"-h " + AsPassed(FileToSelect(L"one.txt")) + L" "},
        {{FileToSelect(L"with blank.txt")}, L"-h " + Quoted(FileToSelect(L"with blank.txt")) + L" "},
        {{FileToSelect(L"one.txt"), FileToSelect(L"with blank.txt")},
         L"-c " + AsPassed(FileToSelect(L"one.txt")) + L" " + Quoted(FileToSelect(L"with blank.txt")) + L" "},
        {{long300}, L"-h " + Quoted(long300) + L" "},
        {{long259}, L"-h " + Quoted(long259) + L" "},
        {{long258, plain300}, L"-c " + Quoted(long258) + L" " + AsPassed(plain300) + L" "},
    };
    for (const Case& c : cases) {
        const RecordedStarts starts = StartsOfRecorder();
        Handler handler(*library);
        ASSERT_EQ(handler.Select(c.paths), S_OK);
        EXPECT_EQ(handler.InvokeOffset(1), S_OK);
        const std::vector<std::wstring> lines = starts.WaitForLines(1);
        ASSERT_EQ(lines.size(), 1u) << Utf8(c.parameters);
        EXPECT_EQ(starts.ParametersOf(lines[0]), c.parameters);
    }
}

TEST_F(RecorderTest, OnlyItsOwnCommandStartsTheProgram)
{
    const RecordedStarts starts = StartsOfRecorder();
    Handler handler(*library);
    ASSERT_EQ(handler.Select({FileToSelect(L"one.txt")}), S_OK);
    EXPECT_EQ(handler.InvokeVerb("open"), E_INVALIDARG);
    EXPECT_EQ(handler.InvokeOffset(0), E_INVALIDARG);
    EXPECT_EQ(handler.InvokeOffset(2), E_INVALIDARG);
    Handler threeFiles(*library);
    ASSERT_EQ(threeFiles.Select({FileToSelect(L"one.txt"), FileToSelect(L"two.txt"), FileToSelect(L"three.txt")}),
              S_OK);
    EXPECT_EQ(threeFiles.InvokeOffset(1), E_INVALIDARG);

    // Its own command then starts the program once: the refused ones started nothing.
    EXPECT_EQ(handler.InvokeOffset(1), S_OK);
    const std::vector<std::wstring> lines = starts.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(starts.ParametersOf(lines[0]), ExpectedParameters(L"-h", {FileToSelect(L"one.txt")}));
}

TEST_F(RecorderTest, SecondCommandWithoutNewSelectionPassesTheSwitchAlone)
{
    const RecordedStarts starts = StartsOfRecorder();
    Handler handler(*library);
    ASSERT_EQ(handler.Select({FileToSelect(L"one.txt"), FileToSelect(L"two.txt")}), S_OK);
    EXPECT_EQ(handler.InvokeOffset(1), S_OK);
    ASSERT_EQ(starts.WaitForLines(1).size(), 1u);
    EXPECT_EQ(handler.InvokeOffset(1), S_OK);
    const std::vector<std::wstring> lines = starts.WaitForLines(2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(starts.ParametersOf(lines[1]), L"-c ");
}

// ---- the program missing

void ExpectMissingProgramBox(const std::vector<SeenMessageBox>& boxes, const wchar_t* text, const wchar_t* caption)
{
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(boxes[0].caption, caption);
    EXPECT_TRUE(boxes[0].errorIcon);
    EXPECT_TRUE(boxes[0].okOnly);
}

void CheckMissingProgram(const wchar_t* text, const wchar_t* caption)
{
    ExtensionLibrary library(TestPlaces().missingFolder + L"\\Larkspan.dll");
    Handler handler(library);
    ASSERT_EQ(handler.Select({FileToSelect(L"one.txt")}), S_OK);

    // Verbs that are not the handler's are refused without a word.
    HRESULT result = S_OK;
    EXPECT_TRUE(AnswerMessageBoxesDuring([&] { result = handler.InvokeVerb("open"); }).empty());
    EXPECT_EQ(result, E_INVALIDARG);
    EXPECT_TRUE(AnswerMessageBoxesDuring([&] { result = handler.InvokeOffset(0); }).empty());
    EXPECT_EQ(result, E_INVALIDARG);

    ExpectMissingProgramBox(AnswerMessageBoxesDuring([&] { result = handler.InvokeOffset(1); }), text, caption);
    EXPECT_EQ(result, E_INVALIDARG);
    // The selection stays: the next try shows the box again.
    ExpectMissingProgramBox(AnswerMessageBoxesDuring([&] { result = handler.InvokeOffset(1); }), text, caption);
}

TEST(MissingProgram, ItsOwnCommandShowsTheErrorBox)
{
    ASSERT_FALSE(IsKoreanUser());
    CheckMissingProgram(L"Error(5000): can not find file 'Tessaly.exe'", L"Error");
}

// ---- the real program

class RealProgramTest : public ::testing::Test {
protected:
    // The program's start-up looks for the WebView2 runtime's registration.
    static constexpr const wchar_t* kRuntimeKey =
        L"SOFTWARE\\WOW6432Node\\Microsoft\\EdgeUpdate\\Clients\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";

    void SetUp() override { WriteString(HKEY_LOCAL_MACHINE, kRuntimeKey, L"pv", L"120.0.2210.91"); }
    void TearDown() override { DeleteTree(HKEY_LOCAL_MACHINE, kRuntimeKey); }
};

TEST_F(RealProgramTest, ShowsTheFileItWasStartedFor)
{
    const std::wstring extension = WindowsPathOf(TESSALY_PROGRAM_DIR) + L"\\Larkspan.dll";
    ASSERT_TRUE(PathFileExistsW(extension.c_str())) << "the extension lies beside the program";
    ExtensionLibrary library(extension);
    Handler handler(library);
    const std::wstring file = FileToSelect(L"with blank.txt");
    ASSERT_EQ(handler.Select({file}), S_OK);
    ASSERT_EQ(handler.InvokeOffset(1), S_OK);

    HWND window = nullptr;
    const std::wstring caption = L"Larkspan 2.1  File hash";
    ASSERT_TRUE(WaitUntil(
        [&] {
            // No update server answers here: the update check's box comes before the
            // main dialog and is answered so that start-up goes on.
            for (HWND box : TopLevelWindowsCaptioned(L"Larkspan 2.1 Check for updates"))
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            const std::vector<HWND> found = TopLevelWindowsCaptioned(caption);
            window = found.empty() ? nullptr : found[0];
            return window != nullptr;
        },
        60s))
        << "no window captioned " << Utf8(caption);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(window, 1012)) == L"File name: " + file; }, 30s))
        << Utf8(WindowText(GetDlgItem(window, 1012)));

    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
    // Boxes of the program's other parts (its banner's "Failure" without a WebView2
    // runtime here) would hold the close: they are answered first, and the close is
    // asked for again after each.
    bool closeDue = true;
    const bool ended = WaitUntil(
        [&] {
            bool box = false;
            for (HWND open : TopLevelWindowsOf(processId)) {
                if (open != window && GetDlgItem(open, 0xFFFF)) {
                    PostMessageW(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                    box = closeDue = true;
                }
            }
            if (!box && closeDue) {
                PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
                closeDue = false;
            }
            return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        },
        30s);
    std::wstring shown;
    if (!ended) {
        for (HWND open : TopLevelWindowsOf(processId))
            shown += L"[" + WindowText(open) + L"] ";
        TerminateProcess(process, 1);
    }
    CloseHandle(process);
    EXPECT_TRUE(ended) << "the program did not end when closed; its windows: " << Utf8(shown);
}

// ---- Korean (run with LC_ALL=ko_KR.UTF-8)

TEST(Korean, LabelsAndTheErrorBoxInKorean)
{
    if (!IsKoreanUser())
        GTEST_SKIP() << "runs with LC_ALL=ko_KR.UTF-8 (test win.LarkspanHandlerTest.korean)";
    ExtensionLibrary library(TestPlaces().recorderFolder + L"\\Larkspan.dll");
    const std::vector<std::wstring> selections[] = {{FileToSelect(L"one.txt")},
                                                    {FileToSelect(L"one.txt"), FileToSelect(L"two.txt")}};
    const wchar_t* labels[] = {kHashLabelKorean, kCompareLabelKorean};
    for (int mode = 0; mode < 2; ++mode) {
        Handler handler(library);
        ASSERT_EQ(handler.Select(selections[mode]), S_OK);
        PopupMenu menu;
        EXPECT_EQ(handler.menu->QueryContextMenu(menu.handle, 0, kFirstId, kFirstId + 10, CMF_NORMAL), 3);
        EXPECT_EQ(ItemsOf(menu.handle)[1].text, labels[mode]);
        wchar_t help[64] = {};
        EXPECT_EQ(handler.menu->GetCommandString(1, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(help), 64), S_OK);
        EXPECT_STREQ(help, labels[mode]);
    }
    CheckMissingProgram(L"Error(5000): 'Tessaly.exe' 파일을 찾을 수 없습니다.", L"에러");
}

} // namespace
