// Per-user registration: once switched on, class keys go below
// HKEY_CURRENT_USER\Software\Classes and the type library is registered for the user.
// The module and the registrar both read it.
#pragma once

#include <windows.h>

HRESULT AtlSetPerUserRegistration(bool perUser);
HRESULT AtlGetPerUserRegistration(bool* perUser);
