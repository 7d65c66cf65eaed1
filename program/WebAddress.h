// Web addresses the program opens or shows.
#pragma once

#include <string>

// An absolute http:// or https:// address with a host. Anything else (a local path,
// a share, a file: address, another scheme) must not be handed to the shell, which
// would open or start it.
bool IsWebAddress(const std::wstring& address);
