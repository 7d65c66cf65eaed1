// CComTypeInfoHolder: the type information of one dual interface, read once from the
// registered type library and shared by every object, which serves IDispatch from it.
#pragma once

#include <windows.h>
#include <oaidl.h>

class CComTypeInfoHolder {
public:
    constexpr CComTypeInfoHolder(const GUID* iid, const GUID* libid, WORD major, WORD minor)
        : m_pguid(iid), m_plibid(libid), m_wMajor(major), m_wMinor(minor)
    {
    }

    HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info);
    HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids);
    HRESULT Invoke(IDispatch* object, DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError);

private:
    // Loads the type information on first use (LoadRegTypeLib); kept until unload.
    HRESULT GetTI(LCID lcid);
    static void Cleanup(void* holder);

    const GUID* m_pguid;
    const GUID* m_plibid;
    WORD m_wMajor;
    WORD m_wMinor;
    ITypeInfo* m_pInfo = nullptr;
};
