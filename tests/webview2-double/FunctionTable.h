// Function tables laid out by the published table: one entry per slot of an interface and
// its bases, in the published order. An entry the double does not bind logs each call as
// "<published name of the slot> unexpected" and returns E_NOTIMPL, so a call made through
// a wrongly laid out declaration shows up under the slot it really landed in.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class FunctionTable;

// What every object of the double starts with: the entries the caller calls through,
// then the table they come from.
struct ObjectHeader {
    void* const* entries;
    const FunctionTable* table;
};

class FunctionTable {
public:
    // All slots of `interfaceName` and its bases, none of them bound yet. Throws
    // std::runtime_error when the published table lacks the interface or numbers its
    // slots out of order.
    explicit FunctionTable(const std::wstring& interfaceName);

    // Puts `function` in the slot published as `method`. `parameters` are the parameter
    // types the function takes after the object, written as the published table writes
    // them; they must be the slot's, so that the function's signature follows the table.
    template <typename Result, typename... Args>
    void Bind(const std::wstring& method, const std::wstring& parameters,
              Result(STDMETHODCALLTYPE* function)(void*, Args...))
    {
        BindEntry(method, parameters, reinterpret_cast<void*>(function));
    }

    void* const* Entries() const { return m_entries.data(); }
    const std::wstring& NameOf(size_t slot) const { return m_names[slot]; }
    const std::wstring& InterfaceName() const { return m_interface; }
    // The interfaces an object with this table answers for: this one and its bases.
    const std::vector<std::pair<std::wstring, IID>>& Answers() const { return m_answers; }

private:
    void BindEntry(const std::wstring& method, const std::wstring& parameters, void* function);

    std::wstring m_interface;
    std::vector<void*> m_entries;
    std::vector<std::wstring> m_names;
    std::vector<std::pair<std::wstring, IID>> m_answers;
};
