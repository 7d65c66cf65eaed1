// The registrar's view of the real registry.
#pragma once

#include <windows.h>

#include "RegistryStore.h"

class Win32RegistryStore : public RegistryStore {
public:
    long CreateKey(RegistryRoot root, const std::wstring& path) override;
    long SetString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                   const std::wstring& value) override;
    long DeleteValue(RegistryRoot root, const std::wstring& path, const std::wstring& name) override;
    long DeleteTree(RegistryRoot root, const std::wstring& path) override;
    long DeleteKey(RegistryRoot root, const std::wstring& path) override;
    bool KeyExists(RegistryRoot root, const std::wstring& path) const override;
    bool HasSubkeys(RegistryRoot root, const std::wstring& path) const override;
};
