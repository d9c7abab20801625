#pragma once
// A run of sectors read the plain way, each sector found by a walk of its
// own: what D88Image::ReadSectors must give, however it walks. The tests and
// the fuzzer compare the two.

#include <cstdint>

#include "image/d88image.h"

namespace d88builder {

std::int32_t ReadSectorsOneByOne(D88Image& image, SectorAddress at, std::uint8_t* buffer,
                                 std::int32_t length);

}  // namespace d88builder
