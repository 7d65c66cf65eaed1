// CRegObject: the registrar of a module, applying the registry scripts held in its
// resources to the real registry (per user when per-user registration is on).
#pragma once

#include <windows.h>

#include "ScriptRegistrar.h"

class CRegObject : public IRegistrarBase {
public:
    RegistrarResult AddReplacement(const wchar_t* name, const wchar_t* text) override;
    RegistrarResult ClearReplacements() override;

    HRESULT ResourceRegister(HINSTANCE module, UINT id, const wchar_t* type);
    HRESULT ResourceUnregister(HINSTANCE module, UINT id, const wchar_t* type);

private:
    HRESULT RunResource(HINSTANCE module, UINT id, const wchar_t* type, bool registering);

    ScriptRegistrar m_registrar;
};
