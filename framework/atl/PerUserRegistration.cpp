#include "PerUserRegistration.h"

namespace {
bool g_perUser = false;   // for the rest of the library's life once set
}

HRESULT AtlSetPerUserRegistration(bool perUser)
{
    g_perUser = perUser;
    return S_OK;
}

HRESULT AtlGetPerUserRegistration(bool* perUser)
{
    if (!perUser)
        return E_POINTER;
    *perUser = g_perUser;
    return S_OK;
}
