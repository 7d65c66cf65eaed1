// The module of an in-process COM server: its lock count, the table of the classes
// that it serves (the object map) with their cached class factories, and its
// registration from the registry scripts and the type library in its own resources.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "PerUserRegistration.h"
#include "ScriptRegistrar.h"

// Makes an object: stand-alone when `outer` is null, else aggregated by it.
using AtlCreatorFunc = HRESULT (*)(void* outer, REFIID iid, void** object);

// One class of the server. The class factory is made on the first request and kept
// until the library is unloaded; it is stored only once complete, since requests on
// other threads read it without a lock.
struct AtlObjectMapEntry {
    const CLSID* clsid;
    HRESULT(WINAPI* updateRegistry)(BOOL doRegister);
    HRESULT (*createClassFactory)(AtlCreatorFunc instanceCreator, REFIID iid, void** object);
    AtlCreatorFunc createInstance;
    void (*objectMain)(bool starting);
    std::atomic<IUnknown*> classFactory;
};

// Holds a critical section for one scope.
class CComCritSecLock {
public:
    explicit CComCritSecLock(CRITICAL_SECTION& section) : m_section(section) { ::EnterCriticalSection(&m_section); }
    ~CComCritSecLock() { ::LeaveCriticalSection(&m_section); }
    CComCritSecLock(const CComCritSecLock&) = delete;
    CComCritSecLock& operator=(const CComCritSecLock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};

// The classes of the server and their class factories.
class CAtlComModule {
public:
    CAtlComModule();
    ~CAtlComModule();
    CAtlComModule(const CAtlComModule&) = delete;
    CAtlComModule& operator=(const CAtlComModule&) = delete;

    void SetObjectMap(AtlObjectMapEntry* entries, std::size_t count);
    void ExecuteObjectMain(bool starting);
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object);
    // Every class's registration function, then the type library (TYPELIB 1).
    HRESULT RegisterServer(BOOL registerTypeLib);
    HRESULT UnregisterServer(BOOL unregisterTypeLib);

    HINSTANCE m_hInstTypeLib;

private:
    // The entry's class factory, made on the first request.
    HRESULT ClassFactoryOf(AtlObjectMapEntry& entry, IUnknown** factory);
    // Every class's registration function, up to the first failure.
    HRESULT UpdateRegistryOfClasses(BOOL doRegister);

    CRITICAL_SECTION m_csObjMap;
    bool m_bLockReady = false;
    AtlObjectMapEntry* m_pEntries = nullptr;
    std::size_t m_nEntries = 0;
};

// The one COM module of this library, made before the module object below and
// destroyed after it.
CAtlComModule& AtlComModule();

class CAtlModule {
public:
    CAtlModule();
    virtual ~CAtlModule();
    CAtlModule(const CAtlModule&) = delete;
    CAtlModule& operator=(const CAtlModule&) = delete;

    virtual LONG Lock();
    virtual LONG Unlock();
    virtual LONG GetLockCount();
    // Replacements that every registry script of the module may use besides "Module".
    virtual HRESULT AddCommonRGSReplacements(IRegistrarBase* registrar);

    // Applies or removes registry script `id` ("REGISTRY" resource of this library).
    HRESULT UpdateRegistryFromResource(UINT id, BOOL doRegister);
    // `func(data)` runs when the module is destroyed. E_OUTOFMEMORY when it cannot be kept.
    HRESULT AddTermFunc(void (*func)(void* data), void* data);

    CRITICAL_SECTION m_csStaticDataInitAndTypeInfo;

private:
    struct TermFunc {
        void (*func)(void*);
        void* data;
    };

    LONG m_nLockCnt = 0;
    std::vector<TermFunc> m_termFuncs;
};

// The module object of this library; null before it is made and after it is gone.
CAtlModule* AtlGetModule();
// This library's own instance handle.
HINSTANCE AtlModuleInstance();
// The full path of a module, or the error for an insufficient buffer when it fills 260 characters.
HRESULT AtlModuleFileName(HINSTANCE module, std::wstring* path);

template <class T>
class CAtlModuleT : public CAtlModule {
public:
    HRESULT RegisterServer(BOOL registerTypeLib) { return AtlComModule().RegisterServer(registerTypeLib); }
    HRESULT UnregisterServer(BOOL unregisterTypeLib) { return AtlComModule().UnregisterServer(unregisterTypeLib); }
    // The module's own script (T::kAppIdScriptId), which registers its AppID.
    static HRESULT WINAPI UpdateRegistryAppId(BOOL doRegister)
    {
        return AtlGetModule()->UpdateRegistryFromResource(T::kAppIdScriptId, doRegister);
    }
};

// Registration runs in the system's default locale; the caller's comes back afterwards.
class CThreadLocaleScope {
public:
    CThreadLocaleScope() : m_saved(::GetThreadLocale()) { ::SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
    ~CThreadLocaleScope() { ::SetThreadLocale(m_saved); }
    CThreadLocaleScope(const CThreadLocaleScope&) = delete;
    CThreadLocaleScope& operator=(const CThreadLocaleScope&) = delete;

private:
    LCID m_saved;
};

// T supplies ObjectMap(), ObjectMapSize() and kAppIdScriptId.
template <class T>
class CAtlDllModuleT : public CAtlModuleT<T> {
public:
    CAtlDllModuleT()
    {
        AtlComModule().SetObjectMap(T::ObjectMap(), T::ObjectMapSize());
        AtlComModule().ExecuteObjectMain(true);
    }
    ~CAtlDllModuleT() override { AtlComModule().ExecuteObjectMain(false); }

    HRESULT DllCanUnloadNow() { return this->GetLockCount() == 0 ? S_OK : S_FALSE; }

    HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
    {
        return AtlComModule().GetClassObject(clsid, iid, object);
    }

    HRESULT DllRegisterServer(BOOL registerTypeLib = TRUE)
    {
        CThreadLocaleScope locale;
        HRESULT hr = T::UpdateRegistryAppId(TRUE);
        if (SUCCEEDED(hr))
            hr = this->RegisterServer(registerTypeLib);
        return hr;
    }

    HRESULT DllUnregisterServer(BOOL unregisterTypeLib = TRUE)
    {
        CThreadLocaleScope locale;
        HRESULT hr = this->UnregisterServer(unregisterTypeLib);
        if (SUCCEEDED(hr))
            hr = T::UpdateRegistryAppId(FALSE);
        return hr;
    }
};
