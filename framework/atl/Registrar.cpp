#include "Registrar.h"

#include "PerUserRegistration.h"
#include "Win32RegistryStore.h"

#include <string>

namespace {

// A script resource as text: UTF-8, with or without a byte-order mark.
HRESULT LoadScript(HINSTANCE module, UINT id, const wchar_t* type, std::wstring* script)
{
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    if (!bytes)
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    int size = static_cast<int>(::SizeofResource(module, resource));
    if (size >= 3 && bytes[0] == '\xEF' && bytes[1] == '\xBB' && bytes[2] == '\xBF') {
        bytes += 3;
        size -= 3;
    }
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes, size, nullptr, 0);
    script->assign(static_cast<size_t>(length), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, bytes, size, &(*script)[0], length);
    return S_OK;
}

} // namespace

RegistrarResult CRegObject::AddReplacement(const wchar_t* name, const wchar_t* text)
{
    return m_registrar.AddReplacement(name, text);
}

RegistrarResult CRegObject::ClearReplacements()
{
    return m_registrar.ClearReplacements();
}

HRESULT CRegObject::ResourceRegister(HINSTANCE module, UINT id, const wchar_t* type)
{
    return RunResource(module, id, type, true);
}

HRESULT CRegObject::ResourceUnregister(HINSTANCE module, UINT id, const wchar_t* type)
{
    return RunResource(module, id, type, false);
}

HRESULT CRegObject::RunResource(HINSTANCE module, UINT id, const wchar_t* type, bool registering)
{
    std::wstring script;
    HRESULT hr = LoadScript(module, id, type, &script);
    if (FAILED(hr))
        return hr;
    bool perUser = false;
    AtlGetPerUserRegistration(&perUser);
    Win32RegistryStore registry;
    return registering ? m_registrar.Register(script, registry, perUser)
                       : m_registrar.Unregister(script, registry, perUser);
}
