// The hash choice of a run, as setting.ini beside the program copy states it.
#pragma once

#include "TestFolder.h"

#include <array>
#include <cstddef>
#include <string>

// The program's nine hashes, in its order: the order of the rows and of the keys.
inline constexpr std::size_t kHashCount = 9;
inline constexpr std::array<const char*, kHashCount> kHashNames = {
    "CRC-32", "MD2", "MD4", "MD5", "SHA-1", "SHA-256", "SHA-384", "SHA-512", "HAS-160"};

struct HashSettings {
    std::array<bool, kHashCount> enabled;
    bool upperCase;
};

// With no settings file: CRC-32, MD5 and SHA-1 in lower case.
inline constexpr HashSettings kDefaultHashes{{true, false, false, true, true, false, false, false, false}, false};
inline constexpr HashSettings kAllHashes{{true, true, true, true, true, true, true, true, true}, false};
inline constexpr HashSettings kNoHashes{{}, false};
inline constexpr HashSettings kOnlyCrc32{{true}, false};

inline constexpr HashSettings UpperCase(HashSettings settings)
{
    settings.upperCase = true;
    return settings;
}

// Writes every key of the [config] section into setting.ini in the folder's root, where
// the program copy of TessalyTest stands.
void WriteHashSettings(const TestFolder& folder, const HashSettings& settings);
