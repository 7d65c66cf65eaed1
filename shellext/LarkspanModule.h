// CLarkspanModule: the extension's COM module, with the handler class as its one
// object-map entry and script 101 as its AppID registration.
#pragma once

#include "AtlModule.h"
#include "resource.h"

class CLarkspanModule : public CAtlDllModuleT<CLarkspanModule> {
public:
    static constexpr UINT kAppIdScriptId = IDR_LARKSPAN_APPID;

    static AtlObjectMapEntry* ObjectMap();
    static std::size_t ObjectMapSize();

    // "APPID", the extension's AppID, for both scripts.
    HRESULT AddCommonRGSReplacements(IRegistrarBase* registrar) override;
};

extern CLarkspanModule theModule;
