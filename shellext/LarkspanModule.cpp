#include "LarkspanModule.h"

#include <iterator>

#include "ComClassFactory.h"
#include "LarkspanShellExt.h"

namespace {

constexpr const wchar_t* kAppId = L"{5b2e7a90-3c41-4d8e-9f06-b1a4c7d2e815}";

AtlObjectMapEntry g_objectMap[] = {
    AtlObjectEntry<CLarkspanShellExt>(),
};

} // namespace

CLarkspanModule theModule;

AtlObjectMapEntry* CLarkspanModule::ObjectMap()
{
    return g_objectMap;
}

std::size_t CLarkspanModule::ObjectMapSize()
{
    return std::size(g_objectMap);
}

HRESULT CLarkspanModule::AddCommonRGSReplacements(IRegistrarBase* registrar)
{
    return registrar->AddReplacement(L"APPID", kAppId);
}
