// The nine hashes the program offers, the program's own CRC-32 and the text forms
// of hash values. Portable: the CryptoAPI hashes are fed by CryptHashSlot (Windows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Has160.h"

// The index of a hash: the order of the settings list, the enable flags, the result
// rows and the value of the compare-hash setting.
enum class HashKind : unsigned {
    Crc32 = 0,
    Md2,
    Md4,
    Md5,
    Sha_1,
    Sha_256,
    Sha_384,
    Sha_512,
    Has_160,
};

constexpr size_t kHashCount = 9;

struct HashInfo {
    HashKind kind;
    const wchar_t* displayName;
    uint32_t providerType;   // CryptoAPI provider type; 0 when the program computes it
    uint32_t algorithm;      // CryptoAPI ALG_ID; 0 when the program computes it
    uint32_t digestBytes;    // the expected length given to CryptHashSlot::AppendHashHex
    uint32_t moduleMessageId; // provider or hash object not available; 0 for none
    uint32_t dataMessageId;   // data refused; 0 for none
};

// Indexed by HashKind.
inline constexpr HashInfo kHashList[kHashCount] = {
    {HashKind::Crc32,   L"CRC-32",  0,  0,      4,  0,    0},
    {HashKind::Md2,     L"MD2",     1,  0x8001, 16, 1012, 1014},
    {HashKind::Md4,     L"MD4",     1,  0x8002, 16, 1013, 1015},
    {HashKind::Md5,     L"MD5",     1,  0x8003, 16, 1003, 1005},
    {HashKind::Sha_1,   L"SHA-1",   24, 0x8004, 20, 1002, 1004},
    {HashKind::Sha_256, L"SHA-256", 24, 0x800C, 32, 1006, 1009},
    {HashKind::Sha_384, L"SHA-384", 24, 0x800D, 48, 1007, 1010},
    {HashKind::Sha_512, L"SHA-512", 24, 0x800E, 64, 1008, 1011},
    {HashKind::Has_160, L"HAS-160", 0,  0,      kHas160DigestBytes, 1016, 1017},
};

constexpr const HashInfo& HashInfoOf(HashKind kind)
{
    return kHashList[static_cast<size_t>(kind)];
}

// Standard reflected CRC-32 (zip, PNG) of the bytes fed so far: `previous` is the
// result of the call before, 0 for the first. A stream fed in pieces gives the same
// value as in one call.
uint32_t ComputeCrc32(const void* data, uint64_t length, uint32_t previous);

// Eight lower-case hexadecimal digits, most significant first ("%08x").
std::wstring Crc32Text(uint32_t crc);
// Two lower-case hexadecimal digits per byte, in order, no separators ("%02x" each).
std::wstring DigestText(const unsigned char* digest, size_t length);
