// The registry as the script registrar sees it: keys named by a root and a path of
// backslash-separated names, holding string values. The extension writes through
// Win32RegistryStore; the native tests keep a registry in memory.
#pragma once

#include <string>

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // Each change returns a Win32 error code, 0 on success.
    virtual long CreateKey(RegistryRoot root, const std::wstring& path) = 0;
    // An empty name is the key's default value.
    virtual long SetString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                           const std::wstring& value) = 0;
    virtual long DeleteValue(RegistryRoot root, const std::wstring& path, const std::wstring& name) = 0;
    // The key with everything below it.
    virtual long DeleteTree(RegistryRoot root, const std::wstring& path) = 0;
    // The key alone, which has no subkeys.
    virtual long DeleteKey(RegistryRoot root, const std::wstring& path) = 0;

    virtual bool KeyExists(RegistryRoot root, const std::wstring& path) const = 0;
    virtual bool HasSubkeys(RegistryRoot root, const std::wstring& path) const = 0;
};
