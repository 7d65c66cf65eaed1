// IDispatchImpl: IDispatch of a dual interface T, served from the registered type
// library through one CComTypeInfoHolder per interface.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "ComTypeInfoHolder.h"

template <class T, const IID* piid, const GUID* plibid, WORD major = 1, WORD minor = 0,
          class TypeInfoHolder = CComTypeInfoHolder>
class IDispatchImpl : public T {
public:
    STDMETHOD(GetTypeInfoCount)(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** info) override
    {
        return s_tih.GetTypeInfo(index, lcid, info);
    }
    STDMETHOD(GetIDsOfNames)(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override
    {
        return s_tih.GetIDsOfNames(iid, names, count, lcid, ids);
    }
    STDMETHOD(Invoke)(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError) override
    {
        return s_tih.Invoke(static_cast<T*>(this), id, iid, lcid, flags, params, result, exception, argumentError);
    }

private:
    static inline TypeInfoHolder s_tih{piid, plibid, major, minor};
};
