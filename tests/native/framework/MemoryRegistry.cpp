#include "MemoryRegistry.h"

#include <cwctype>

namespace {

constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;

const wchar_t* RootName(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::ClassesRoot: return L"HKCR";
    case RegistryRoot::CurrentUser: return L"HKCU";
    case RegistryRoot::LocalMachine: return L"HKLM";
    case RegistryRoot::Users: return L"HKU";
    }
    return L"?";
}

} // namespace

std::wstring MemoryRegistry::Folded(const std::wstring& text)
{
    std::wstring folded = text;
    for (wchar_t& ch : folded)
        ch = static_cast<wchar_t>(std::towupper(ch));
    return folded;
}

bool MemoryRegistry::IsBelow(const Id& key, const Id& parent)
{
    return key.first == parent.first && key.second.size() > parent.second.size() &&
           key.second.compare(0, parent.second.size(), parent.second) == 0 && key.second[parent.second.size()] == L'\\';
}

MemoryRegistry::Key* MemoryRegistry::Find(RegistryRoot root, const std::wstring& path)
{
    const auto found = m_keys.find({root, Folded(path)});
    return found == m_keys.end() ? nullptr : &found->second;
}

long MemoryRegistry::CreateKey(RegistryRoot root, const std::wstring& path)
{
    if (Folded(path) == m_refused)
        return kErrorAccessDenied;
    // Like RegCreateKeyEx, every missing key on the way is made too.
    for (size_t end = path.find(L'\\'); ; end = path.find(L'\\', end + 1)) {
        const std::wstring part = path.substr(0, end);
        m_keys.insert({{root, Folded(part)}, Key{part, {}}});
        if (end == std::wstring::npos)
            return 0;
    }
}

long MemoryRegistry::SetString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                               const std::wstring& value)
{
    Key* key = Find(root, path);
    if (!key)
        return kErrorFileNotFound;
    key->values[Folded(name)] = {name, value};
    return 0;
}

long MemoryRegistry::DeleteValue(RegistryRoot root, const std::wstring& path, const std::wstring& name)
{
    Key* key = Find(root, path);
    return key && key->values.erase(Folded(name)) ? 0 : kErrorFileNotFound;
}

long MemoryRegistry::DeleteTree(RegistryRoot root, const std::wstring& path)
{
    const Id top{root, Folded(path)};
    if (!m_keys.erase(top))
        return kErrorFileNotFound;
    for (auto it = m_keys.begin(); it != m_keys.end();)
        it = IsBelow(it->first, top) ? m_keys.erase(it) : std::next(it);
    return 0;
}

long MemoryRegistry::DeleteKey(RegistryRoot root, const std::wstring& path)
{
    if (HasSubkeys(root, path))
        return kErrorAccessDenied;
    return m_keys.erase({root, Folded(path)}) ? 0 : kErrorFileNotFound;
}

bool MemoryRegistry::KeyExists(RegistryRoot root, const std::wstring& path) const
{
    return m_keys.count({root, Folded(path)}) != 0;
}

bool MemoryRegistry::HasSubkeys(RegistryRoot root, const std::wstring& path) const
{
    const Id parent{root, Folded(path)};
    for (const auto& entry : m_keys) {
        if (IsBelow(entry.first, parent))
            return true;
    }
    return false;
}

std::vector<std::wstring> MemoryRegistry::Dump() const
{
    std::vector<std::wstring> lines;
    for (const auto& entry : m_keys) {
        const std::wstring key = std::wstring(RootName(entry.first.first)) + L"\\" + entry.second.spelling;
        lines.push_back(key);
        for (const auto& value : entry.second.values) {
            const std::wstring& name = value.second.first;
            lines.push_back(key + L" " + (name.empty() ? L"@" : name) + L"=" + value.second.second);
        }
    }
    return lines;
}
