#include "HashEngine.h"

#include "LittleEndian.h"

#include <array>

namespace {

constexpr bool HashListFollowsKindOrder()
{
    for (size_t i = 0; i < kHashCount; ++i) {
        if (static_cast<size_t>(kHashList[i].kind) != i)
            return false;
    }
    return true;
}
static_assert(HashListFollowsKindOrder(), "kHashList must be indexed by HashKind");

using Crc32Table = std::array<uint32_t, 256>;
using Crc32Tables = std::array<Crc32Table, 16>;

// T0 is the byte-wise table of the reflected polynomial; Tk advances Tk-1 by one
// more zero byte, so Tk[b] is the CRC contribution of byte b seen k bytes earlier.
constexpr Crc32Tables MakeCrc32Tables()
{
    Crc32Tables tables{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        tables[0][i] = c;
    }
    for (size_t k = 1; k < 16; ++k) {
        for (size_t i = 0; i < 256; ++i)
            tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF];
    }
    return tables;
}

constexpr Crc32Tables kCrc32Tables = MakeCrc32Tables();

// The four table entries of the word in the low 32 bits of `word`; `first` is the table
// of its lowest byte. Indices are taken from a 64-bit value so that no byte needs
// widening on its way to the table.
inline uint32_t WordTerm(uint64_t word, size_t first)
{
    return kCrc32Tables[first][word & 0xFF] ^ kCrc32Tables[first - 1][(word >> 8) & 0xFF] ^
           kCrc32Tables[first - 2][(word >> 16) & 0xFF] ^ kCrc32Tables[first - 3][(word >> 24) & 0xFF];
}

// The sixteen bytes are read as two 64-bit halves. The three words that do not depend on
// crc come first: each step then waits for the one before only through the four lookups
// of its first word.
inline uint32_t Crc32Of16Bytes(uint32_t crc, const unsigned char* bytes)
{
    const uint64_t low = LoadLe64(bytes);
    const uint64_t high = LoadLe64(bytes + 8);
    const uint32_t independent = WordTerm(low >> 32, 11) ^ WordTerm(high, 7) ^ WordTerm(high >> 32, 3);
    return independent ^ WordTerm(static_cast<uint32_t>(low) ^ crc, 15);
}

constexpr wchar_t kHexDigits[] = L"0123456789abcdef";

} // namespace

uint32_t ComputeCrc32(const void* data, uint64_t length, uint32_t previous)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    const uint64_t turns = length / 64;
    const uint64_t tail = length % 64;
    uint32_t crc = ~previous;
    for (uint64_t turn = 0; turn < turns; ++turn, bytes += 64) {
        crc = Crc32Of16Bytes(crc, bytes);
        crc = Crc32Of16Bytes(crc, bytes + 16);
        crc = Crc32Of16Bytes(crc, bytes + 32);
        crc = Crc32Of16Bytes(crc, bytes + 48);
    }
    for (uint64_t i = 0; i < tail; ++i)
        crc = (crc >> 8) ^ kCrc32Tables[0][(crc ^ bytes[i]) & 0xFF];
    return ~crc;
}

std::wstring Crc32Text(uint32_t crc)
{
    std::wstring text(8, L'0');
    for (size_t i = 0; i < 8; ++i)
        text[i] = kHexDigits[(crc >> (28 - 4 * i)) & 0xF];
    return text;
}

std::wstring DigestText(const unsigned char* digest, size_t length)
{
    std::wstring text;
    text.reserve(2 * length);
    for (size_t i = 0; i < length; ++i) {
        text += kHexDigits[digest[i] >> 4];
        text += kHexDigits[digest[i] & 0xF];
    }
    return text;
}
