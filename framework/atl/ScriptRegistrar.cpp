#include "ScriptRegistrar.h"

#include <vector>

namespace {

constexpr long kErrorFileNotFound = 2;
constexpr const wchar_t* kPerUserClasses = L"Software\\Classes";

std::wstring SubkeyPath(const std::wstring& parent, const std::wstring& name)
{
    return parent.empty() ? name : parent + L"\\" + name;
}

struct KeyPlace {
    RegistryRoot root;
    std::wstring path;
};

RegistrarResult RegisterKey(RegistryStore& store, const KeyPlace& place, const ScriptKey& key)
{
    long error = 0;
    if (key.flag == KeyFlag::ForceRemove && store.KeyExists(place.root, place.path))
        error = store.DeleteTree(place.root, place.path);
    if (!error)
        error = store.CreateKey(place.root, place.path);
    if (!error && key.hasDefault)
        error = store.SetString(place.root, place.path, std::wstring(), key.defaultValue);
    for (size_t i = 0; !error && i < key.values.size(); ++i)
        error = store.SetString(place.root, place.path, key.values[i].name, key.values[i].data);
    if (error)
        return RegistrarResultFromWin32(error);
    for (const ScriptKey& subkey : key.subkeys) {
        const RegistrarResult result = RegisterKey(store, {place.root, SubkeyPath(place.path, subkey.name)}, subkey);
        if (result != kRegistrarOk)
            return result;
    }
    return kRegistrarOk;
}

RegistrarResult UnregisterKey(RegistryStore& store, const KeyPlace& place, const ScriptKey& key)
{
    if (!store.KeyExists(place.root, place.path))
        return kRegistrarOk;
    if (key.flag == KeyFlag::ForceRemove)
        return RegistrarResultFromWin32(store.DeleteTree(place.root, place.path));
    for (const ScriptKey& subkey : key.subkeys) {
        const RegistrarResult result = UnregisterKey(store, {place.root, SubkeyPath(place.path, subkey.name)}, subkey);
        if (result != kRegistrarOk)
            return result;
    }
    if (key.flag == KeyFlag::NoRemove)
        return kRegistrarOk;
    for (const ScriptValue& value : key.values) {
        const long error = store.DeleteValue(place.root, place.path, value.name);
        if (error && error != kErrorFileNotFound)
            return RegistrarResultFromWin32(error);
    }
    if (store.HasSubkeys(place.root, place.path))
        return kRegistrarOk;
    return RegistrarResultFromWin32(store.DeleteKey(place.root, place.path));
}

// Where the keys of a script root lie.
KeyPlace PlaceOfRoot(RegistryRoot root, bool perUser)
{
    if (perUser && root == RegistryRoot::ClassesRoot)
        return {RegistryRoot::CurrentUser, kPerUserClasses};
    return {root, std::wstring()};
}

} // namespace

RegistrarResult RegistrarResultFromWin32(long error)
{
    if (error <= 0)
        return static_cast<RegistrarResult>(error);
    return static_cast<RegistrarResult>(0x80070000u | (static_cast<unsigned long>(error) & 0xFFFFu));
}

RegistrarResult ScriptRegistrar::AddReplacement(const wchar_t* name, const wchar_t* text)
{
    m_replacements.Add(name ? name : L"", text ? text : L"");
    return kRegistrarOk;
}

RegistrarResult ScriptRegistrar::ClearReplacements()
{
    m_replacements.Clear();
    return kRegistrarOk;
}

RegistrarResult ScriptRegistrar::Register(const std::wstring& script, RegistryStore& store, bool perUser) const
{
    return Run(script, store, perUser, true);
}

RegistrarResult ScriptRegistrar::Unregister(const std::wstring& script, RegistryStore& store, bool perUser) const
{
    return Run(script, store, perUser, false);
}

RegistrarResult ScriptRegistrar::Run(const std::wstring& script, RegistryStore& store, bool perUser,
                                     bool registering) const
{
    std::wstring expanded;
    std::vector<ScriptRoot> roots;
    if (!ExpandReplacements(script, m_replacements, &expanded) || !ParseRegistryScript(expanded, &roots))
        return kRegistrarBadScript;
    for (const ScriptRoot& root : roots) {
        const KeyPlace base = PlaceOfRoot(root.root, perUser);
        for (const ScriptKey& key : root.keys) {
            const KeyPlace place{base.root, SubkeyPath(base.path, key.name)};
            const RegistrarResult result = registering ? RegisterKey(store, place, key) : UnregisterKey(store, place, key);
            if (result != kRegistrarOk)
                return result;
        }
    }
    return kRegistrarOk;
}
