// Web addresses the program opens or shows.
#pragma once

#include <string>

// An absolute http:// or https:// address with a host, holding no blank, double quote,
// control character or backslash anywhere. Anything else (a local path, a share, a
// file: address, another scheme, text that would split or extend the command line of
// the program that opens web addresses) must not be handed to the shell.
bool IsWebAddress(const std::wstring& address);
