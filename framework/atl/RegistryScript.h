// Registry scripts in the registrar's usual syntax, for example
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove {clsid} = s 'A class'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// Tokens are separated by white space. A name or a value is a bare word or a text in
// single quotes, where '' stands for one quote. Keywords (NoRemove, ForceRemove, val, s)
// and root names (HKCR, HKEY_CLASSES_ROOT, HKCU, HKLM, HKU and their long forms) are
// matched without regard to case. Only string values exist here.
#pragma once

#include "RegistryStore.h"

#include <string>
#include <vector>

enum class KeyFlag { None, NoRemove, ForceRemove };

struct ScriptValue {
    std::wstring name;
    std::wstring data;
};

struct ScriptKey {
    std::wstring name;
    KeyFlag flag = KeyFlag::None;
    bool hasDefault = false;
    std::wstring defaultValue;
    std::vector<ScriptValue> values;
    std::vector<ScriptKey> subkeys;
};

struct ScriptRoot {
    RegistryRoot root = RegistryRoot::ClassesRoot;
    std::vector<ScriptKey> keys;
};

// "%NAME%" texts and what they stand for; names match without regard to case.
class ReplacementMap {
public:
    void Add(const std::wstring& name, const std::wstring& text);
    void Clear();
    const std::wstring* Find(const std::wstring& name) const;

private:
    struct Entry {
        std::wstring name;
        std::wstring text;
    };
    std::vector<Entry> m_entries;
};

// Replaces every %NAME% of the script ("%%" gives "%"). False when a name is unknown
// or a '%' is not closed.
bool ExpandReplacements(const std::wstring& script, const ReplacementMap& replacements, std::wstring* expanded);

// Parses an expanded script. False, with `roots` untouched, on any syntax error.
bool ParseRegistryScript(const std::wstring& text, std::vector<ScriptRoot>* roots);

// Doubles every single quote, so that a text can stand inside a quoted script value.
std::wstring EscapeSingleQuotes(const std::wstring& text);
