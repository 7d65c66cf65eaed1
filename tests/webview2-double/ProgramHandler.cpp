#include "ProgramHandler.h"

#include "PublishedTable.h"

ProgramHandler::ProgramHandler(void* object, const std::wstring& interfaceName)
    : m_invokeSlot(published::SlotOf(interfaceName, L"Invoke").number)
{
    if (object) {
        static_cast<IUnknown*>(object)->QueryInterface(published::Find(interfaceName).id,
                                                       reinterpret_cast<void**>(&m_object));
    }
}

ProgramHandler::ProgramHandler(const ProgramHandler& other)
    : m_object(other.m_object), m_invokeSlot(other.m_invokeSlot)
{
    if (m_object)
        m_object->AddRef();
}

ProgramHandler::~ProgramHandler()
{
    if (m_object)
        m_object->Release();
}
