// The peers' rates on this host: zlib's CRC-32 and librhash's HAS-160 (and librhash's
// other hashes, for the end-to-end ceiling of a peer), beside an optimised native
// copy of the program's engine.
#include "Has160.h"
#include "HashEngine.h"
#include "Rate.h"

#include <rhash.h>
#include <zlib.h>

namespace {

void RhashRate(const char* name, unsigned id)
{
    rhash context = rhash_init(id);
    bench::PrintRate(name, bench::MedianRate([&](const unsigned char* data, size_t length) {
        rhash_update(context, data, length);
    }));
    rhash_free(context);
}

}  // namespace

int main()
{
    rhash_library_init();
    uLong zlibCrc = crc32(0, nullptr, 0);
    bench::PrintRate("crc32-zlib", bench::MedianRate([&](const unsigned char* data, size_t length) {
        zlibCrc = crc32(zlibCrc, data, static_cast<uInt>(length));
    }));
    RhashRate("has160-librhash", RHASH_HAS160);

    uint32_t crc = 0;
    bench::PrintRate("crc32-native", bench::MedianRate([&](const unsigned char* data, size_t length) {
        crc = ComputeCrc32(data, length, crc);
    }));
    Has160Context context;
    Has160Init(context);
    bench::PrintRate("has160-native", bench::MedianRate([&](const unsigned char* data, size_t length) {
        Has160Update(context, data, static_cast<uint32_t>(length));
    }));
    return zlibCrc == crc ? 0 : 1;   // both saw the same bytes: the same value
}
