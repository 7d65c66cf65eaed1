#include "RegistryScript.h"

#include <cwctype>

namespace {

bool EqualNoCase(const std::wstring& left, const wchar_t* right)
{
    size_t i = 0;
    for (; i < left.size() && right[i]; ++i) {
        if (std::towupper(left[i]) != std::towupper(right[i]))
            return false;
    }
    return i == left.size() && !right[i];
}

bool EqualNoCase(const std::wstring& left, const std::wstring& right)
{
    return left.size() == right.size() && EqualNoCase(left, right.c_str());
}

struct Token {
    std::wstring text;
    bool quoted = false;
};

// Splits the script into white-space separated words and quoted texts.
class Lexer {
public:
    explicit Lexer(const std::wstring& text) : m_text(text) {}

    // False at the end of the text or on an unclosed quote (then `failed` is set).
    bool Next(Token* token)
    {
        while (m_at < m_text.size() && std::iswspace(m_text[m_at]))
            ++m_at;
        if (m_at == m_text.size())
            return false;
        token->text.clear();
        token->quoted = m_text[m_at] == L'\'';
        return token->quoted ? ReadQuoted(&token->text) : ReadBare(&token->text);
    }

    bool failed = false;

private:
    bool ReadQuoted(std::wstring* text)
    {
        for (++m_at; m_at < m_text.size(); ++m_at) {
            if (m_text[m_at] != L'\'') {
                *text += m_text[m_at];
            } else if (m_at + 1 < m_text.size() && m_text[m_at + 1] == L'\'') {
                *text += L'\'';
                ++m_at;
            } else {
                ++m_at;
                return true;
            }
        }
        failed = true;
        return false;
    }

    bool ReadBare(std::wstring* text)
    {
        while (m_at < m_text.size() && !std::iswspace(m_text[m_at]))
            *text += m_text[m_at++];
        return true;
    }

    const std::wstring& m_text;
    size_t m_at = 0;
};

// Recursive descent over the token stream; every rule returns false on a syntax error.
class Parser {
public:
    explicit Parser(const std::wstring& text) : m_lexer(text) { Advance(); }

    bool ParseScript(std::vector<ScriptRoot>* roots)
    {
        while (m_hasToken) {
            ScriptRoot root;
            if (m_token.quoted || !RootOf(m_token.text, &root.root))
                return false;
            Advance();
            if (!ExpectSymbol(L"{") || !ParseBody(false, &root.keys, nullptr) || !ExpectSymbol(L"}"))
                return false;
            roots->push_back(std::move(root));
        }
        return !m_lexer.failed;
    }

private:
    void Advance() { m_hasToken = m_lexer.Next(&m_token); }

    bool IsSymbol(const wchar_t* symbol) const { return m_hasToken && !m_token.quoted && m_token.text == symbol; }
    bool IsKeyword(const wchar_t* word) const { return m_hasToken && !m_token.quoted && EqualNoCase(m_token.text, word); }

    bool ExpectSymbol(const wchar_t* symbol)
    {
        if (!IsSymbol(symbol))
            return false;
        Advance();
        return true;
    }

    // A key or value name: any word but the braces and '=', not empty, no backslash.
    bool TakeName(std::wstring* name)
    {
        if (!m_hasToken || IsSymbol(L"{") || IsSymbol(L"}") || IsSymbol(L"=") || m_token.text.empty() ||
            m_token.text.find(L'\\') != std::wstring::npos)
            return false;
        *name = m_token.text;
        Advance();
        return true;
    }

    // "= s TEXT"
    bool TakeStringAssignment(std::wstring* data)
    {
        if (!ExpectSymbol(L"=") || !IsKeyword(L"s"))
            return false;
        Advance();
        if (!m_hasToken || IsSymbol(L"{") || IsSymbol(L"}"))
            return false;
        *data = m_token.text;
        Advance();
        return true;
    }

    // Keys (and, below a key, "val" entries) up to the closing brace, which stays.
    bool ParseBody(bool valuesAllowed, std::vector<ScriptKey>* keys, std::vector<ScriptValue>* values)
    {
        while (m_hasToken && !IsSymbol(L"}")) {
            if (IsKeyword(L"val")) {
                if (!valuesAllowed)
                    return false;
                Advance();
                ScriptValue value;
                if (!TakeName(&value.name) || !TakeStringAssignment(&value.data))
                    return false;
                values->push_back(std::move(value));
            } else {
                ScriptKey key;
                if (!ParseKey(&key))
                    return false;
                keys->push_back(std::move(key));
            }
        }
        return true;
    }

    bool ParseKey(ScriptKey* key)
    {
        if (IsKeyword(L"NoRemove")) {
            key->flag = KeyFlag::NoRemove;
            Advance();
        } else if (IsKeyword(L"ForceRemove")) {
            key->flag = KeyFlag::ForceRemove;
            Advance();
        }
        if (!TakeName(&key->name))
            return false;
        if (IsSymbol(L"=")) {
            key->hasDefault = true;
            if (!TakeStringAssignment(&key->defaultValue))
                return false;
        }
        if (!IsSymbol(L"{"))
            return true;
        Advance();
        return ParseBody(true, &key->subkeys, &key->values) && ExpectSymbol(L"}");
    }

    static bool RootOf(const std::wstring& name, RegistryRoot* root)
    {
        struct Name {
            const wchar_t* shortName;
            const wchar_t* longName;
            RegistryRoot root;
        };
        static const Name kRoots[] = {
            {L"HKCR", L"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
            {L"HKCU", L"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
            {L"HKLM", L"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
            {L"HKU", L"HKEY_USERS", RegistryRoot::Users},
        };
        for (const Name& candidate : kRoots) {
            if (EqualNoCase(name, candidate.shortName) || EqualNoCase(name, candidate.longName)) {
                *root = candidate.root;
                return true;
            }
        }
        return false;
    }

    Lexer m_lexer;
    Token m_token;
    bool m_hasToken = false;
};

} // namespace

void ReplacementMap::Add(const std::wstring& name, const std::wstring& text)
{
    for (Entry& entry : m_entries) {
        if (EqualNoCase(entry.name, name)) {
            entry.text = text;
            return;
        }
    }
    m_entries.push_back({name, text});
}

void ReplacementMap::Clear()
{
    m_entries.clear();
}

const std::wstring* ReplacementMap::Find(const std::wstring& name) const
{
    for (const Entry& entry : m_entries) {
        if (EqualNoCase(entry.name, name))
            return &entry.text;
    }
    return nullptr;
}

bool ExpandReplacements(const std::wstring& script, const ReplacementMap& replacements, std::wstring* expanded)
{
    expanded->clear();
    for (size_t at = 0; at < script.size(); ++at) {
        if (script[at] != L'%') {
            *expanded += script[at];
            continue;
        }
        const size_t close = script.find(L'%', at + 1);
        if (close == std::wstring::npos)
            return false;
        if (close == at + 1) {
            *expanded += L'%';
        } else {
            const std::wstring* text = replacements.Find(script.substr(at + 1, close - at - 1));
            if (!text)
                return false;
            *expanded += *text;
        }
        at = close;
    }
    return true;
}

bool ParseRegistryScript(const std::wstring& text, std::vector<ScriptRoot>* roots)
{
    std::vector<ScriptRoot> parsed;
    if (!Parser(text).ParseScript(&parsed))
        return false;
    *roots = std::move(parsed);
    return true;
}

std::wstring EscapeSingleQuotes(const std::wstring& text)
{
    std::wstring escaped;
    for (wchar_t ch : text) {
        escaped += ch;
        if (ch == L'\'')
            escaped += L'\'';
    }
    return escaped;
}
