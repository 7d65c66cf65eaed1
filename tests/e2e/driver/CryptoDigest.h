// Digests computed by the driver itself with CryptoAPI, to check the program's values.
#pragma once

#include <windows.h>

#include <wincrypt.h>

#include <string>

// The digest of bytes as lower-case hexadecimal text; throws when CryptoAPI cannot make it.
std::wstring CryptoDigest(ALG_ID algorithm, const std::string& bytes);
