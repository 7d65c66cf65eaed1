#include "CryptoDigest.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

std::wstring CryptoDigest(ALG_ID algorithm, const std::string& bytes)
{
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    DWORD length = 0;
    DWORD lengthSize = sizeof length;
    std::vector<BYTE> digest;
    const bool made =
        CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) &&
        CryptCreateHash(provider, algorithm, 0, 0, &hash) &&
        CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0) &&
        CryptGetHashParam(hash, HP_HASHSIZE, reinterpret_cast<BYTE*>(&length), &lengthSize, 0) &&
        (digest.resize(length), CryptGetHashParam(hash, HP_HASHVAL, digest.data(), &length, 0));
    if (hash)
        CryptDestroyHash(hash);
    if (provider)
        CryptReleaseContext(provider, 0);
    if (!made)
        throw std::runtime_error("CryptoAPI cannot make the digest " + std::to_string(algorithm));
    std::wstring text;
    for (BYTE byte : digest) {
        wchar_t pair[3];
        std::swprintf(pair, 3, L"%02x", byte);
        text += pair;
    }
    return text;
}
