#include "ComTypeInfoHolder.h"

#include "AtlModule.h"

#include <oleauto.h>

HRESULT CComTypeInfoHolder::GetTI(LCID lcid)
{
    CAtlModule* module = AtlGetModule();
    if (!module)
        return E_UNEXPECTED;
    CComCritSecLock lock(module->m_csStaticDataInitAndTypeInfo);
    if (m_pInfo)
        return S_OK;
    ITypeLib* typeLib = nullptr;
    HRESULT hr = ::LoadRegTypeLib(*m_plibid, m_wMajor, m_wMinor, lcid, &typeLib);
    if (FAILED(hr))
        return hr;
    ITypeInfo* info = nullptr;
    hr = typeLib->GetTypeInfoOfGuid(*m_pguid, &info);
    typeLib->Release();
    // Kept only once its release at unload is arranged.
    if (SUCCEEDED(hr))
        hr = module->AddTermFunc(&CComTypeInfoHolder::Cleanup, this);
    if (FAILED(hr)) {
        if (info)
            info->Release();
        return hr;
    }
    m_pInfo = info;
    return S_OK;
}

void CComTypeInfoHolder::Cleanup(void* holder)
{
    auto* self = static_cast<CComTypeInfoHolder*>(holder);
    if (self->m_pInfo) {
        self->m_pInfo->Release();
        self->m_pInfo = nullptr;
    }
}

HRESULT CComTypeInfoHolder::GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    const HRESULT hr = GetTI(lcid);
    if (SUCCEEDED(hr)) {
        m_pInfo->AddRef();
        *info = m_pInfo;
    }
    return hr;
}

HRESULT CComTypeInfoHolder::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids)
{
    const HRESULT hr = GetTI(lcid);
    return FAILED(hr) ? hr : m_pInfo->GetIDsOfNames(names, count, ids);
}

HRESULT CComTypeInfoHolder::Invoke(IDispatch* object, DISPID id, REFIID iid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception, UINT* argumentError)
{
    // Dispatch identifiers are defined for the null interface id only.
    if (!::IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    const HRESULT hr = GetTI(lcid);
    return FAILED(hr) ? hr : m_pInfo->Invoke(object, id, flags, params, result, exception, argumentError);
}
