#include "ReferenceDigests.h"

#include "Utf8.h"

#include <windows.h>

#include <bcrypt.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::size_t kMd2 = 1;

const std::string kDigestList = std::string(TESSALY_E2E_REFERENCE) + "/digests.txt";

// Reads the file in blocks, so that files of any size can be hashed.
std::string Md2OfFile(const std::wstring& path)
{
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<UCHAR> block(1 << 20);
    UCHAR digest[16] = {};
    bool made = file != INVALID_HANDLE_VALUE &&
                BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_MD2_ALGORITHM, nullptr, 0)) &&
                BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
    for (DWORD read = 0; made && ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &read, nullptr) &&
                         read > 0;)
        made = BCRYPT_SUCCESS(BCryptHashData(hash, block.data(), read, 0));
    made = made && BCRYPT_SUCCESS(BCryptFinishHash(hash, digest, sizeof digest, 0));
    if (hash)
        BCryptDestroyHash(hash);
    if (algorithm)
        BCryptCloseAlgorithmProvider(algorithm, 0);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!made)
        throw std::runtime_error("BCrypt cannot make the MD2 digest of " + Utf8(path));
    std::string text;
    for (UCHAR byte : digest) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", byte);
        text += pair;
    }
    return text;
}

// The line "NAME CRC-32 MD4 MD5 SHA-1 SHA-256 SHA-384 SHA-512 HAS-160" of the list.
HashValues ListedValues(const std::string& name)
{
    std::ifstream list(std::filesystem::path(WindowsPathOfLinuxPath(kDigestList)));
    for (std::string line; std::getline(list, line);) {
        std::istringstream fields(line);
        std::string listed;
        fields >> listed;
        if (listed != name)
            continue;
        HashValues values;
        for (std::size_t i = 0; i < kHashCount; ++i) {
            if (i != kMd2)
                fields >> values[i];
        }
        if (fields)
            return values;
    }
    throw std::runtime_error("no digests of " + name + " in " + kDigestList +
                             ": make-reference-files.py runs before the tests that need it");
}

}  // namespace

std::wstring ReferenceFile(const std::string& name)
{
    return WindowsPathOfLinuxPath(std::string(TESSALY_E2E_REFERENCE) + "/" + name);
}

HashValues ReferenceValues(const std::string& name)
{
    HashValues values = ListedValues(name);
    values[kMd2] = Md2OfFile(ReferenceFile(name));
    return values;
}
