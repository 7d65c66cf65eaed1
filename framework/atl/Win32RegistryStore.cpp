#include "Win32RegistryStore.h"

namespace {

HKEY KeyOf(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users: return HKEY_USERS;
    }
    return nullptr;
}

// An open key for the length of a scope.
class OpenKey {
public:
    OpenKey(RegistryRoot root, const std::wstring& path, REGSAM access)
        : m_status(::RegOpenKeyExW(KeyOf(root), path.c_str(), 0, access, &m_key))
    {
    }
    ~OpenKey()
    {
        if (m_status == ERROR_SUCCESS)
            ::RegCloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    LSTATUS Status() const { return m_status; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
    LSTATUS m_status;
};

} // namespace

long Win32RegistryStore::CreateKey(RegistryRoot root, const std::wstring& path)
{
    HKEY key = nullptr;
    const LSTATUS status =
        ::RegCreateKeyExW(KeyOf(root), path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS)
        ::RegCloseKey(key);
    return status;
}

long Win32RegistryStore::SetString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                                   const std::wstring& value)
{
    const OpenKey key(root, path, KEY_SET_VALUE);
    if (key.Status() != ERROR_SUCCESS)
        return key.Status();
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.Get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

long Win32RegistryStore::DeleteValue(RegistryRoot root, const std::wstring& path, const std::wstring& name)
{
    const OpenKey key(root, path, KEY_SET_VALUE);
    if (key.Status() != ERROR_SUCCESS)
        return key.Status();
    return ::RegDeleteValueW(key.Get(), name.empty() ? nullptr : name.c_str());
}

long Win32RegistryStore::DeleteTree(RegistryRoot root, const std::wstring& path)
{
    // With a subkey name, RegDeleteTreeW removes that key too.
    return ::RegDeleteTreeW(KeyOf(root), path.c_str());
}

long Win32RegistryStore::DeleteKey(RegistryRoot root, const std::wstring& path)
{
    return ::RegDeleteKeyW(KeyOf(root), path.c_str());
}

bool Win32RegistryStore::KeyExists(RegistryRoot root, const std::wstring& path) const
{
    return OpenKey(root, path, KEY_READ).Status() == ERROR_SUCCESS;
}

bool Win32RegistryStore::HasSubkeys(RegistryRoot root, const std::wstring& path) const
{
    const OpenKey key(root, path, KEY_READ);
    DWORD subkeys = 0;
    return key.Status() == ERROR_SUCCESS &&
           ::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys > 0;
}
