// The program's hash engine as it ships, built with the program's flags and run where
// the program runs (under Wine here): its CRC-32 and HAS-160, and the seven CryptoAPI
// hashes through the slots the workers use.
#include "CryptHashSlot.h"
#include "Rate.h"

#include <cstdio>

namespace {

const char* const kRateNames[kHashCount] = {"crc32",  "md2",    "md4",    "md5",   "sha1",
                                            "sha256", "sha384", "sha512", "has160"};

}  // namespace

int main()
{
    bench::PrintRate(kRateNames[0], bench::Crc32Rate());
    bench::PrintRate(kRateNames[8], bench::Has160Rate());
    for (size_t i = 1; i < 8; ++i) {
        CryptHashSlot slot;
        if (!slot.Open(kHashList[i].providerType, kHashList[i].algorithm)) {
            std::fprintf(stderr, "%s: no CryptoAPI hash\n", kRateNames[i]);
            return 1;
        }
        // MD2 runs at a few MB/s: one measurement of a block or more is enough there.
        const int repetitions = kHashList[i].kind == HashKind::Md2 ? 3 : 5;
        bench::PrintRate(kRateNames[i], bench::MedianRate([&](const unsigned char* data, size_t length) {
            slot.AddData(data, static_cast<DWORD>(length));
        }, repetitions));
    }
    return 0;
}
