#include "AtlModule.h"

#include "ComBoundary.h"
#include "Registrar.h"

#include <oleauto.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

CAtlModule* g_module = nullptr;

using RegisterTypeLibFunc = HRESULT(WINAPI*)(ITypeLib*, LPOLESTR, LPOLESTR);
using UnRegisterTypeLibFunc = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);

// The per-user form of a type-library function where the automation library has it.
template <class Func>
Func TypeLibFunction(Func machineWide, const char* perUserName)
{
    bool perUserRegistration = false;
    AtlGetPerUserRegistration(&perUserRegistration);
    if (!perUserRegistration)
        return machineWide;
    const HMODULE automation = ::GetModuleHandleW(L"OLEAUT32.DLL");
    const FARPROC perUser = automation ? ::GetProcAddress(automation, perUserName) : nullptr;
    return perUser ? reinterpret_cast<Func>(reinterpret_cast<void*>(perUser)) : machineWide;
}

// Hands the type library held as TYPELIB 1 in the module, loaded without registering
// it, and the module's path to `use`.
template <class Use>
HRESULT WithModuleTypeLib(HINSTANCE module, Use use)
{
    std::wstring path;
    ITypeLib* typeLib = nullptr;
    HRESULT hr = AtlModuleFileName(module, &path);
    if (SUCCEEDED(hr))
        hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, &typeLib);
    if (FAILED(hr))
        return hr;
    hr = use(typeLib, path);
    typeLib->Release();
    return hr;
}

HRESULT AtlRegisterTypeLib(HINSTANCE module)
{
    return WithModuleTypeLib(module, [](ITypeLib* typeLib, std::wstring& path) {
        const RegisterTypeLibFunc registerTypeLib =
            TypeLibFunction<RegisterTypeLibFunc>(::RegisterTypeLib, "RegisterTypeLibForUser");
        return registerTypeLib(typeLib, &path[0], nullptr);
    });
}

// Unregistered under the library's own id, version, locale and system kind.
HRESULT AtlUnRegisterTypeLib(HINSTANCE module)
{
    return WithModuleTypeLib(module, [](ITypeLib* typeLib, std::wstring&) {
        TLIBATTR* attributes = nullptr;
        HRESULT hr = typeLib->GetLibAttr(&attributes);
        if (FAILED(hr))
            return hr;
        const UnRegisterTypeLibFunc unregisterTypeLib =
            TypeLibFunction<UnRegisterTypeLibFunc>(::UnRegisterTypeLib, "UnRegisterTypeLibForUser");
        hr = unregisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                               attributes->syskind);
        typeLib->ReleaseTLibAttr(attributes);
        return hr;
    });
}

} // namespace

CAtlComModule::CAtlComModule() : m_hInstTypeLib(AtlModuleInstance())
{
    m_bLockReady = ::InitializeCriticalSectionAndSpinCount(&m_csObjMap, 0) != FALSE;
}

CAtlComModule::~CAtlComModule()
{
    for (std::size_t i = 0; i < m_nEntries; ++i) {
        if (IUnknown* factory = m_pEntries[i].classFactory.exchange(nullptr))
            factory->Release();
    }
    if (m_bLockReady)
        ::DeleteCriticalSection(&m_csObjMap);
}

void CAtlComModule::SetObjectMap(AtlObjectMapEntry* entries, std::size_t count)
{
    m_pEntries = entries;
    m_nEntries = count;
}

void CAtlComModule::ExecuteObjectMain(bool starting)
{
    for (std::size_t i = 0; i < m_nEntries; ++i)
        m_pEntries[i].objectMain(starting);
}

HRESULT CAtlComModule::ClassFactoryOf(AtlObjectMapEntry& entry, IUnknown** factory)
{
    *factory = entry.classFactory.load(std::memory_order_acquire);
    if (*factory)
        return S_OK;
    // Made at most once: the test is repeated under the lock.
    CComCritSecLock lock(m_csObjMap);
    *factory = entry.classFactory.load(std::memory_order_relaxed);
    if (*factory)
        return S_OK;
    const HRESULT hr = entry.createClassFactory(entry.createInstance, IID_IUnknown, reinterpret_cast<void**>(factory));
    if (SUCCEEDED(hr))
        entry.classFactory.store(*factory, std::memory_order_release);
    return hr;
}

HRESULT CAtlComModule::GetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!m_bLockReady)
        return E_UNEXPECTED;
    for (std::size_t i = 0; i < m_nEntries; ++i) {
        AtlObjectMapEntry& entry = m_pEntries[i];
        if (!entry.createClassFactory || !::IsEqualCLSID(*entry.clsid, clsid))
            continue;
        IUnknown* factory = nullptr;
        HRESULT hr = ClassFactoryOf(entry, &factory);
        if (FAILED(hr))
            return hr;
        hr = factory->QueryInterface(iid, object);
        return hr == S_OK && !*object ? CLASS_E_CLASSNOTAVAILABLE : hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CAtlComModule::UpdateRegistryOfClasses(BOOL doRegister)
{
    for (std::size_t i = 0; i < m_nEntries; ++i) {
        const HRESULT hr = m_pEntries[i].updateRegistry(doRegister);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT CAtlComModule::RegisterServer(BOOL registerTypeLib)
{
    const HRESULT hr = UpdateRegistryOfClasses(TRUE);
    return SUCCEEDED(hr) && registerTypeLib ? AtlRegisterTypeLib(m_hInstTypeLib) : hr;
}

HRESULT CAtlComModule::UnregisterServer(BOOL unregisterTypeLib)
{
    const HRESULT hr = UpdateRegistryOfClasses(FALSE);
    return SUCCEEDED(hr) && unregisterTypeLib ? AtlUnRegisterTypeLib(m_hInstTypeLib) : hr;
}

namespace {
// Constructed before the library's other static objects and destroyed after them, for
// the module object uses it from both ends of its life. Not a function-local static:
// the guard of one starts the toolchain's thread library, which takes a TLS slot at
// every load of the library and never gives it back.
__attribute__((init_priority(101))) CAtlComModule g_atlComModule;
} // namespace

CAtlComModule& AtlComModule()
{
    return g_atlComModule;
}

CAtlModule::CAtlModule()
{
    ::InitializeCriticalSection(&m_csStaticDataInitAndTypeInfo);
    g_module = this;
}

CAtlModule::~CAtlModule()
{
    for (const TermFunc& term : m_termFuncs)
        term.func(term.data);
    ::DeleteCriticalSection(&m_csStaticDataInitAndTypeInfo);
    if (g_module == this)
        g_module = nullptr;
}

LONG CAtlModule::Lock()
{
    return ::InterlockedIncrement(&m_nLockCnt);
}

LONG CAtlModule::Unlock()
{
    return ::InterlockedDecrement(&m_nLockCnt);
}

LONG CAtlModule::GetLockCount()
{
    return m_nLockCnt;
}

HRESULT CAtlModule::AddCommonRGSReplacements(IRegistrarBase*)
{
    return S_OK;
}

HRESULT CAtlModule::UpdateRegistryFromResource(UINT id, BOOL doRegister)
{
    CRegObject registrar;
    HRESULT hr = AddCommonRGSReplacements(&registrar);
    std::wstring path;
    if (SUCCEEDED(hr))
        hr = AtlModuleFileName(AtlModuleInstance(), &path);
    if (FAILED(hr))
        return hr;
    // A library's path goes into the scripts as it is, only its quotes doubled.
    registrar.AddReplacement(L"Module", EscapeSingleQuotes(path).c_str());
    return doRegister ? registrar.ResourceRegister(AtlModuleInstance(), id, L"REGISTRY")
                      : registrar.ResourceUnregister(AtlModuleInstance(), id, L"REGISTRY");
}

HRESULT CAtlModule::AddTermFunc(void (*func)(void*), void* data)
{
    CComCritSecLock lock(m_csStaticDataInitAndTypeInfo);
    return ComBoundary([&] {
        m_termFuncs.push_back({func, data});
        return S_OK;
    });
}

CAtlModule* AtlGetModule()
{
    return g_module;
}

HINSTANCE AtlModuleInstance()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

HRESULT AtlModuleFileName(HINSTANCE module, std::wstring* path)
{
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(module, buffer, MAX_PATH);
    if (length == 0)
        return HRESULT_FROM_WIN32(::GetLastError());
    if (length == MAX_PATH)
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    path->assign(buffer, length);
    return S_OK;
}
