// libFuzzer target: the input is an image file. It is opened, several disks
// are selected, the tool's reads are made, and then reads at addresses and
// lengths taken from the input's last bytes, each into a heap buffer of
// exactly the given size so that AddressSanitizer sees any overrun. Every
// run is checked against the same run read sector by sector.

#include <cstdint>
#include <cstring>
#include <memory>

#include "builder/reference_read.h"
#include "fuzz/memory_file.h"
#include "image/d88image.h"

namespace {

// Reads the input's tail as the parameters of the free-form reads.
struct Parameters {
    Parameters(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
    std::int32_t Next() {
        std::uint8_t bytes[4] = {};
        for (std::uint8_t& byte : bytes) {
            byte = position < size ? data[size - 1 - position] : 0;
            ++position;
        }
        return static_cast<std::int32_t>(ReadU32Le(bytes));
    }
    // Small values most of the time, any value now and then.
    std::int32_t Id() {
        const std::int32_t value = Next();
        return (value & 0x100) != 0 ? value : (value & 0xFF);
    }
    // Any negative length; positive ones bounded, since the buffer must hold them.
    std::int32_t Length() {
        const std::int32_t value = Next();
        return value < 0 ? value : value % (1 << 17);
    }
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

std::int32_t Room(std::int32_t length) {
    return length > 0 ? length : 0;
}

// Every run is read twice, by ReadSectors and sector by sector, and the two
// must agree on the count and on every counted byte.
void ReadRun(D88Image& image, std::int32_t track, std::int32_t c, std::int32_t h, std::int32_t r,
             std::int32_t n, std::int32_t length) {
    const std::size_t room = static_cast<std::size_t>(Room(length));
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[room]);
    const std::int32_t got = image.ReadSectors(track, c, h, r, n, buffer.get(), length);
    Check(got >= 0 && got <= Room(length), "ReadSectors result within the length");
    std::unique_ptr<std::uint8_t[]> each(new std::uint8_t[room]);
    const std::int32_t expected =
        d88builder::ReadSectorsOneByOne(image, {track, c, h, r, n}, each.get(), length);
    Check(got == expected, "ReadSectors counts what ReadSector reads one by one");
    Check(got == 0 || std::memcmp(buffer.get(), each.get(), static_cast<std::size_t>(got)) == 0,
          "ReadSectors reads what ReadSector reads one by one");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    file.Set(data, size);
    Parameters parameters(data, size);

    D88Image image;
    Check(image.Open(file.path), "Open");
    const std::int32_t count = image.GetDiskCount();
    Check(count >= 0 && count <= kMaxDisks, "disk count");

    const std::int32_t disks[] = {0, count - 1, count, -1, parameters.Next() % (kMaxDisks + 2)};
    for (std::int32_t disk : disks) {
        std::uint8_t header[kDiskHeaderSize];
        const bool counted = disk >= 0 && disk < count;
        Check(image.ReadDiskHeader(disk, header) == counted || counted, "ReadDiskHeader in range");
        Check((image.GetDiskOffset(disk) >= 0) == counted, "GetDiskOffset in range");
        const bool selected = image.SelectDisk(disk);
        Check(!selected || (disk >= 0 && disk < count), "SelectDisk in range");
        Check(std::strlen(image.GetDiskName()) <= 16, "name length");
        Check(selected || image.GetMediaType() == -1, "media type cleared");
        if (disk == 0) {
            // What d88cut reads.
            image.SetSectorRange(1, 16);
            ReadRun(image, 2, 1, 0, 1, 1, 0x8000);
            ReadRun(image, 29, 14, 1, 1, 1, 0xF00);
            ReadRun(image, 27, 13, 1, 1, 1, 22 * 256);
        }
    }
    image.SelectDisk(0);

    for (int round = 0; round < 4; ++round) {
        const std::int32_t track = parameters.Id() % 170;
        const std::int32_t c = parameters.Id();
        const std::int32_t h = parameters.Id();
        const std::int32_t r = parameters.Id();
        const std::int32_t n = parameters.Id() % 26 - 1;

        const std::int32_t maxLength = parameters.Length();
        std::unique_ptr<std::uint8_t[]> one(
            new std::uint8_t[static_cast<std::size_t>(Room(maxLength))]);
        const std::int32_t got = image.ReadSector(track, c, h, r, n, one.get(), maxLength);
        Check(got >= 0 && got <= Room(maxLength), "ReadSector result within maxLength");

        image.SetSectorRange(parameters.Id(), parameters.Id());
        ReadRun(image, track, c, h, r, n, parameters.Length());

        const std::int32_t headerRoom = parameters.Length();
        std::unique_ptr<std::uint8_t[]> headers(
            new std::uint8_t[static_cast<std::size_t>(Room(headerRoom))]);
        const std::int32_t listedHeaders =
            image.ReadSectorHeaders(track, headers.get(), headerRoom);
        Check(listedHeaders >= 0 && listedHeaders <= Room(headerRoom) &&
                  listedHeaders % kSectorHeaderSize == 0,
              "ReadSectorHeaders result");

        const std::int32_t idRoom = parameters.Length();
        std::unique_ptr<std::uint8_t[]> ids(
            new std::uint8_t[static_cast<std::size_t>(Room(idRoom))]);
        const std::int32_t listed = image.ReadSectorIds(track, ids.get(), idRoom);
        Check(listed >= 0 && listed <= Room(idRoom) && listed % 4 == 0, "ReadSectorIds result");
    }
    image.Open(nullptr);
    return 0;
}
