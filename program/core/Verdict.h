// The compare verdict: two values agree, without regard to letter case.
#pragma once

#include <cstdint>
#include <string>

#include "HashEngine.h"

// The hash two files are compared by. An index outside the hash list (the settings
// can hold -1 or anything else) falls back to the default, CRC-32.
HashKind CompareHashOf(uint32_t index);

// True when both values were obtained and agree ignoring case; an empty value (one
// that could not be read) never agrees.
bool HashValuesMatch(const std::wstring& first, const std::wstring& second);
