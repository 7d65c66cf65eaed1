// A registry in memory for the registrar's tests: names are matched without regard to
// case, as the real registry matches them, and keep the spelling of their creation.
#pragma once

#include "RegistryStore.h"

#include <map>
#include <string>
#include <vector>

class MemoryRegistry : public RegistryStore {
public:
    long CreateKey(RegistryRoot root, const std::wstring& path) override;
    long SetString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                   const std::wstring& value) override;
    long DeleteValue(RegistryRoot root, const std::wstring& path, const std::wstring& name) override;
    long DeleteTree(RegistryRoot root, const std::wstring& path) override;
    long DeleteKey(RegistryRoot root, const std::wstring& path) override;
    bool KeyExists(RegistryRoot root, const std::wstring& path) const override;
    bool HasSubkeys(RegistryRoot root, const std::wstring& path) const override;

    // Every key and value in order, one a line: `HKCR\A\B` for a key, `HKCR\A\B @=text`
    // for its default value, `HKCR\A\B name=text` for a named one.
    std::vector<std::wstring> Dump() const;

    // CreateKey of this path (under any root) fails with access denied from now on.
    void RefuseKey(const std::wstring& path) { m_refused = Folded(path); }

private:
    struct Key {
        std::wstring spelling;
        std::map<std::wstring, std::pair<std::wstring, std::wstring>> values;   // folded name -> name, text
    };
    using Id = std::pair<RegistryRoot, std::wstring>;   // root and folded path

    static std::wstring Folded(const std::wstring& text);
    static bool IsBelow(const Id& key, const Id& parent);
    Key* Find(RegistryRoot root, const std::wstring& path);

    std::map<Id, Key> m_keys;
    std::wstring m_refused;
};
