#include "builder/reference_read.h"

namespace d88builder {

std::int32_t ReadSectorsOneByOne(D88Image& image, SectorAddress at, std::uint8_t* buffer,
                                 std::int32_t length) {
    if (length <= 0 || at.n < 0 || at.n > kMaxSizeCode) {
        return 0;
    }
    const std::int32_t chunk = 128 << at.n;
    std::int32_t total = 0;
    while (total < length) {
        const std::int32_t wanted = length - total < chunk ? length - total : chunk;
        if (image.ReadSector(at.track, at.c, at.h, at.r, at.n, buffer + total, wanted) < wanted) {
            return total;
        }
        total += wanted;
        at = image.NextSector(at);
    }
    return total;
}

}  // namespace d88builder
