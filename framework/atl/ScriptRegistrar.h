// The registrar: applies registry scripts to a registry and removes them again.
// Registration writes every key of the script; a ForceRemove key is first removed
// with everything below it. Removal takes away the script's values and every key
// that is left without subkeys, a ForceRemove key with everything below it, and never
// a NoRemove key. A script that does not parse, or names an unknown replacement, is
// refused before anything is written.
#pragma once

#include "RegistryScript.h"
#include "RegistryStore.h"

#include <cstdint>
#include <string>

// Results in HRESULT form, so that the Windows side hands them on unchanged.
using RegistrarResult = std::int32_t;
inline constexpr RegistrarResult kRegistrarOk = 0;
// The registrar's answer to a script it cannot read (DISP_E_EXCEPTION).
inline constexpr RegistrarResult kRegistrarBadScript = static_cast<RegistrarResult>(0x80020009u);
// A Win32 error code in HRESULT form (HRESULT_FROM_WIN32).
RegistrarResult RegistrarResultFromWin32(long error);

// What a module sees of the registrar when it adds its replacements.
class IRegistrarBase {
public:
    virtual RegistrarResult AddReplacement(const wchar_t* name, const wchar_t* text) = 0;
    virtual RegistrarResult ClearReplacements() = 0;

protected:
    ~IRegistrarBase() = default;
};

class ScriptRegistrar : public IRegistrarBase {
public:
    RegistrarResult AddReplacement(const wchar_t* name, const wchar_t* text) override;
    RegistrarResult ClearReplacements() override;

    // Per user, the keys that the script places under HKEY_CLASSES_ROOT go to
    // HKEY_CURRENT_USER\Software\Classes instead.
    RegistrarResult Register(const std::wstring& script, RegistryStore& store, bool perUser) const;
    RegistrarResult Unregister(const std::wstring& script, RegistryStore& store, bool perUser) const;

private:
    RegistrarResult Run(const std::wstring& script, RegistryStore& store, bool perUser, bool registering) const;

    ReplacementMap m_replacements;
};
