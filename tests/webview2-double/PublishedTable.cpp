#include "PublishedTable.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "FaultPlan.h"

namespace {
std::wstring Trimmed(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L" \t\r");
    if (first == std::wstring::npos)
        return std::wstring();
    return text.substr(first, text.find_last_not_of(L" \t\r") - first + 1);
}

std::vector<std::wstring> Fields(const std::wstring& line)
{
    std::vector<std::wstring> fields;
    std::wistringstream stream(line);
    std::wstring field;
    while (std::getline(stream, field, L'|'))
        fields.push_back(Trimmed(field));
    return fields;
}

[[noreturn]] void Broken(const std::wstring& what)
{
    throw std::runtime_error(std::string(what.begin(), what.end()));
}

std::wstring ResourceText()
{
    HMODULE library = fault_plan::LibraryModule();
    HRSRC resource = ::FindResourceW(library, L"PUBLISHED_INTERFACES", RT_RCDATA);
    HGLOBAL loaded = resource ? ::LoadResource(library, resource) : nullptr;
    if (!loaded)
        Broken(L"the published interface table is missing from the library");
    const char* text = static_cast<const char*>(::LockResource(loaded));
    return std::wstring(text, text + ::SizeofResource(library, resource));   // the table is ASCII
}

IID ParsedId(const std::wstring& text)
{
    IID id;
    if (FAILED(::IIDFromString(text.c_str(), &id)))
        Broken(L"not an interface id: " + text);
    return id;
}

void AddLine(std::vector<published::Interface>& interfaces, const std::vector<std::wstring>& fields)
{
    const std::wstring& kind = fields[0];
    if (kind == L"interface" && fields.size() == 4) {
        interfaces.push_back({fields[1], ParsedId(fields[2]), fields[3] == L"-" ? L"" : fields[3], {}});
    } else if (kind == L"slot" && fields.size() == 4 && !interfaces.empty()) {
        interfaces.back().slots.push_back({std::stoi(fields[1]), fields[2], fields[3]});
    } else if (kind != L"order") {
        Broken(L"unreadable table line starting with " + kind);
    }
}

std::vector<published::Interface> ParsedTable()
{
    std::vector<published::Interface> interfaces;
    std::wistringstream text(ResourceText());
    std::wstring line;
    while (std::getline(text, line)) {
        line = Trimmed(line);
        if (!line.empty() && line[0] != L'#')
            AddLine(interfaces, Fields(line));
    }
    return interfaces;
}

const std::vector<published::Interface>& Table()
{
    static const std::vector<published::Interface> table = ParsedTable();
    return table;
}
}

namespace published {
const Interface& Find(const std::wstring& name)
{
    const std::vector<Interface>& table = Table();
    const auto found = std::find_if(table.begin(), table.end(), [&](const Interface& i) { return i.name == name; });
    if (found == table.end())
        Broken(L"the table has no interface " + name);
    return *found;
}

std::vector<const Interface*> Lineage(const std::wstring& name)
{
    std::vector<const Interface*> lineage;
    for (std::wstring next = name; !next.empty(); next = lineage.back()->base)
        lineage.push_back(&Find(next));
    std::reverse(lineage.begin(), lineage.end());
    return lineage;
}

const Slot& SlotOf(const std::wstring& name, const std::wstring& method)
{
    for (const Interface* item : Lineage(name)) {
        for (const Slot& slot : item->slots) {
            if (slot.method == method)
                return slot;
        }
    }
    Broken(L"the table has no method " + method + L" in " + name);
}
}
