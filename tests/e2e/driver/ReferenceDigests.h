// Digests that the tests expect, from references the program shares no code with: the
// input files that make-reference-files.py generates before the runs, with rhash's
// digests of them, and MD2 (which rhash lacks) from the platform's BCrypt.
#pragma once

#include "HashSettings.h"

#include <array>
#include <string>

// Lower-case hexadecimal texts in the program's hash order.
using HashValues = std::array<std::string, kHashCount>;

// The Windows path of a generated input file.
std::wstring ReferenceFile(const std::string& name);
// Its nine digests; throws when the file or its line in the digest list is missing.
HashValues ReferenceValues(const std::string& name);
