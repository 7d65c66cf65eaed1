// The peers' rates on this host, zlib's CRC-32 and librhash's HAS-160, beside an
// optimised native copy of the program's engine.
#include "Rate.h"

#include <rhash.h>
#include <zlib.h>

int main()
{
    uLong zlibCrc = crc32(0, nullptr, 0);
    bench::PrintRate("crc32-zlib", bench::MedianRate([&](const unsigned char* data, size_t length) {
        zlibCrc = crc32(zlibCrc, data, static_cast<uInt>(length));
    }));
    rhash_library_init();
    rhash context = rhash_init(RHASH_HAS160);
    bench::PrintRate("has160-librhash", bench::MedianRate([&](const unsigned char* data, size_t length) {
        rhash_update(context, data, length);
    }));
    rhash_free(context);

    bench::PrintRate("crc32-native", bench::Crc32Rate());
    bench::PrintRate("has160-native", bench::Has160Rate());
    return 0;
}
