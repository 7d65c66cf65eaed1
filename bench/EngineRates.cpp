// The program's hash engine as it ships, built with the program's flags and run where
// the program runs (under Wine here): its CRC-32 and HAS-160, and the seven CryptoAPI
// hashes through the slots the workers use. Given a file, also the rate at which the
// workers' reads take it whole (InputFile, 10 MiB blocks into one buffer), hashing nothing.
#include "CryptHashSlot.h"
#include "InputFile.h"
#include "Rate.h"
#include "WorkerError.h"

#include <chrono>
#include <cstdio>

namespace {

const char* const kRateNames[kHashCount] = {"crc32",  "md2",    "md4",    "md5",   "sha1",
                                            "sha256", "sha384", "sha512", "has160"};

// MB/s of reading the file whole as a worker does, the median of five reads.
double ReadRate(const wchar_t* path)
{
    using Clock = std::chrono::steady_clock;
    ReadBuffer buffer = MakeReadBuffer();
    std::vector<double> rates;
    for (int r = 0; r < 5; ++r) {
        InputFile file{CString(path)};
        const ULONGLONG size = file.Size();
        const Clock::time_point start = Clock::now();
        file.ReadAll(buffer, size, [](const BYTE*, DWORD) { return true; });
        rates.push_back(static_cast<double>(size) / std::chrono::duration<double>(Clock::now() - start).count() / 1e6);
    }
    std::sort(rates.begin(), rates.end());
    return rates[rates.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1) {
        try {
            bench::PrintRate("read", ReadRate(argv[1]));
        } catch (const PERROR_TYPES_T& error) {
            std::fprintf(stderr, "read: error %d\n", error.nErrorId);
            return 1;
        }
    }
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
