#include "FunctionTable.h"

#include <array>
#include <stdexcept>

#include "CallLog.h"
#include "PublishedTable.h"

namespace {
// Enough for the longest table the double lays out.
constexpr size_t kMaxSlots = 64;

template <size_t Slot>
HRESULT STDMETHODCALLTYPE Unexpected(void* self)
{
    call_log::Write(static_cast<ObjectHeader*>(self)->table->NameOf(Slot) + L" unexpected");
    return E_NOTIMPL;
}

template <size_t... Slots>
std::array<void*, kMaxSlots> UnexpectedEntries(std::index_sequence<Slots...>)
{
    return {reinterpret_cast<void*>(&Unexpected<Slots>)...};
}

const std::array<void*, kMaxSlots>& UnexpectedEntries()
{
    static const std::array<void*, kMaxSlots> entries = UnexpectedEntries(std::make_index_sequence<kMaxSlots>());
    return entries;
}

[[noreturn]] void Broken(const std::wstring& what)
{
    throw std::runtime_error(std::string(what.begin(), what.end()));
}
}

FunctionTable::FunctionTable(const std::wstring& interfaceName) : m_interface(interfaceName)
{
    for (const published::Interface* item : published::Lineage(interfaceName)) {
        for (const published::Slot& slot : item->slots) {
            if (slot.number != static_cast<int>(m_names.size()) || m_names.size() == kMaxSlots)
                Broken(L"slot " + std::to_wstring(slot.number) + L" of " + item->name + L" is out of order");
            m_entries.push_back(UnexpectedEntries()[m_names.size()]);
            m_names.push_back(slot.method);
        }
        m_answers.emplace_back(item->name, item->id);
    }
}

void FunctionTable::BindEntry(const std::wstring& method, const std::wstring& parameters, void* function)
{
    const published::Slot& slot = published::SlotOf(m_interface, method);
    if (slot.parameters != parameters)
        Broken(method + L" is published with parameters " + slot.parameters + L", not " + parameters);
    m_entries[slot.number] = function;
}
