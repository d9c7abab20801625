#include "image/d88image.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "image/file_status.h"

namespace {

// The most records of one track that a single walk of ReadSectors looks for:
// one for each value of R.
constexpr std::int32_t kMaxRecordsPerWalk = 256;

// Headers hold unsigned 32-bit fields; the reader keeps signed 32-bit values.
// Spelled out so the wrap-around does not depend on the compiler.
std::int32_t ToInt32(std::uint32_t value) {
    if (value <= static_cast<std::uint32_t>(INT32_MAX)) {
        return static_cast<std::int32_t>(value);
    }
    return -static_cast<std::int32_t>(~value) - 1;
}

// long is 32-bit on Windows; its own seek takes 64-bit offsets.
bool Seek(std::FILE* file, std::int64_t offset, int origin) {
#ifdef _WIN32
    return _fseeki64(file, offset, origin) == 0;
#else
    return offset <= LONG_MAX && std::fseek(file, static_cast<long>(offset), origin) == 0;
#endif
}

bool SeekTo(std::FILE* file, std::int64_t offset) {
    return offset >= 0 && Seek(file, offset, SEEK_SET);
}

// Moves past a record's data. The C library turns every fseek into a system
// call, while reading through the stream's buffer costs a copy, so short skips
// read. False at the end of the file, where the walk ends anyway.
bool Skip(std::FILE* file, std::int32_t count) {
    constexpr std::int32_t kMaxRead = 1024;
    if (count > kMaxRead) {
        return Seek(file, count, SEEK_CUR);
    }
    std::uint8_t scratch[kMaxRead];
    return std::fread(scratch, 1, static_cast<std::size_t>(count), file) ==
           static_cast<std::size_t>(count);
}

bool ReadExactly(std::FILE* file, std::uint8_t* bytes, std::int32_t count) {
    return std::fread(bytes, 1, static_cast<std::size_t>(count), file) ==
           static_cast<std::size_t>(count);
}

}  // namespace

std::uint16_t ReadU16Le(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t ReadU32Le(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

D88Image::D88Image()
    : file(nullptr),
      diskCount(0),
      firstSector(kFirstSector),
      lastSector(kLastSector),
      diskOffsets(),
      diskSize(0),
      diskBase(0),
      trackOffsets(),
      mediaType(-1),
      diskName() {}

D88Image::~D88Image() {
    if (file != nullptr) {
        std::fclose(file);
    }
}

bool D88Image::Open(const char* path) {
    // Closing first means a second Open never leaks the earlier stream, and
    // nothing of the earlier image can be read through the new one.
    if (file != nullptr) {
        std::fclose(file);
    }
    file = nullptr;
    diskCount = 0;
    ClearSelection();
    if (path == nullptr) {
        return true;
    }

    file = std::fopen(path, "rb");
    if (file == nullptr) {
        errno = OpenError(path, errno);
        return false;
    }
    // A directory opens for reading on Linux, and would pass for an empty image.
    if (StatusOf(file).directory) {
        std::fclose(file);
        file = nullptr;
        errno = EISDIR;
        return false;
    }

    // Disk sizes are unsigned and may add up past what a signed 32-bit offset
    // holds; the scan stops before a disk that would start there.
    std::int64_t offset = 0;
    diskCount = 0;
    while (diskCount < kMaxDisks && offset <= INT32_MAX) {
        diskOffsets[diskCount] = static_cast<std::int32_t>(offset);
        std::uint8_t header[kDiskHeaderSize];
        if (!ReadAt(offset, header, kDiskHeaderSize)) {
            break;
        }
        offset += ReadU32Le(header + kDiskSizeOffset);
        ++diskCount;
    }
    return true;
}

bool D88Image::SelectDisk(std::int32_t index) {
    if (file == nullptr) {
        return false;
    }
    ClearSelection();
    if (index < 0 || index >= diskCount) {
        return false;
    }

    // The file may have shrunk since Open counted this header.
    std::uint8_t header[kDiskHeaderSize];
    if (!ReadAt(diskOffsets[index], header, kDiskHeaderSize)) {
        return false;
    }
    diskBase = diskOffsets[index];
    for (std::int32_t i = 0; i < kMaxTracks; ++i) {
        trackOffsets[i] = ToInt32(ReadU32Le(header + kTrackTableOffset + 4 * i));
    }
    mediaType = header[kMediaTypeOffset];
    diskSize = ToInt32(ReadU32Le(header + kDiskSizeOffset));
    // A bounded copy: up to the first zero, the rest zero-filled. Byte 16 is
    // never written, so the name stays terminated.
    std::int32_t i = 0;
    for (; i < kDiskNameSize && header[kDiskNameOffset + i] != 0; ++i) {
        diskName[i] = static_cast<char>(header[kDiskNameOffset + i]);
    }
    for (; i < kDiskNameSize; ++i) {
        diskName[i] = '\0';
    }
    return true;
}

// A cleared selection has no size, so every track lookup fails until a disk
// is selected again.
void D88Image::ClearSelection() {
    diskBase = -1;
    diskSize = 0;
    mediaType = -1;
    diskName[0] = '\0';
}

void D88Image::SetSectorRange(std::int32_t first, std::int32_t last) {
    firstSector = first;
    lastSector = last;
}

SectorAddress D88Image::NextSector(SectorAddress at) const {
    if (at.r != lastSector) {
        ++at.r;
        return at;
    }
    ++at.track;
    if (at.h == 0) {
        at.h = 1;
    } else {
        at.h = 0;
        ++at.c;
    }
    at.r = firstSector;
    return at;
}

std::int32_t D88Image::GetDiskCount() const {
    return diskCount;
}

std::int32_t D88Image::GetDiskOffset(std::int32_t index) const {
    return index >= 0 && index < diskCount ? diskOffsets[index] : -1;
}

bool D88Image::ReadDiskHeader(std::int32_t index, std::uint8_t* header) {
    return file != nullptr && index >= 0 && index < diskCount &&
           ReadAt(diskOffsets[index], header, kDiskHeaderSize);
}

const char* D88Image::GetDiskName() const {
    return diskName;
}

std::int32_t D88Image::GetMediaType() const {
    return mediaType;
}

bool D88Image::ReadAt(std::int64_t offset, std::uint8_t* bytes, std::int32_t count) {
    return SeekTo(file, offset) && ReadExactly(file, bytes, count);
}

bool D88Image::SeekTrack(std::int32_t track) {
    if (file == nullptr || track < 0 || track >= kMaxTracks) {
        return false;
    }
    // An entry with its top bit set would point before the disk: absent too.
    const std::int32_t entry = trackOffsets[track];
    if (entry <= 0 || entry > diskSize) {
        return false;
    }
    return SeekTo(file, static_cast<std::int64_t>(diskBase) + entry);
}

void D88Image::ReadTrackRun(const SectorAddress& first, std::int32_t count, std::uint8_t* buffer,
                            std::int32_t chunk, std::int32_t room, std::int32_t* got) {
    for (std::int32_t k = 0; k < count; ++k) {
        got[k] = -1;
    }
    if (!SeekTrack(first.track)) {
        return;
    }
    std::int32_t missing = count;
    // Each record's own count decides where the walk ends; the end of the
    // file ends it at the latest, since every record moves on by a header.
    // None of this depends on the IDs sought, so one walk finds for each ID
    // the record that a walk of its own would find.
    for (std::int64_t i = 0; missing > 0; ++i) {
        std::uint8_t header[kSectorHeaderSize];
        if (!ReadExactly(file, header, kSectorHeaderSize)) {
            return;
        }
        const std::uint16_t sectors = ReadU16Le(header + kSectorCountOffset);
        const std::int32_t dataSize = ReadU16Le(header + kDataSizeOffset);
        if (sectors == 0) {
            return;
        }
        // Arguments outside 0 to 255 match no record; none is reduced to a byte.
        const std::int64_t k = static_cast<std::int64_t>(header[2]) - first.r;
        std::int32_t consumed = 0;
        if (header[0] == first.c && header[1] == first.h && header[3] == first.n && k >= 0 &&
            k < count && got[k] < 0) {
            const std::int32_t at = static_cast<std::int32_t>(k) * chunk;
            const std::int32_t wanted = room - at < chunk ? room - at : chunk;
            const std::int32_t amount = dataSize < wanted ? dataSize : wanted;
            // A truncated file gives what arrived, never more.
            got[k] = static_cast<std::int32_t>(
                std::fread(buffer + at, 1, static_cast<std::size_t>(amount), file));
            consumed = got[k];
            --missing;
        }
        if (missing == 0 || !Skip(file, dataSize - consumed) || i == sectors - 1) {
            return;
        }
    }
}

std::int32_t D88Image::ReadSector(std::int32_t track, std::int32_t c, std::int32_t h,
                                  std::int32_t r, std::int32_t n, std::uint8_t* buffer,
                                  std::int32_t maxLength) {
    if (maxLength < 0) {
        return 0;
    }
    std::int32_t got = -1;
    ReadTrackRun({track, c, h, r, n}, 1, buffer, maxLength, maxLength, &got);
    return got > 0 ? got : 0;
}

std::int32_t D88Image::ReadSectors(std::int32_t track, std::int32_t c, std::int32_t h,
                                   std::int32_t r, std::int32_t n, std::uint8_t* buffer,
                                   std::int32_t length) {
    if (length <= 0 || n < 0 || n > kMaxSizeCode) {
        return 0;
    }
    const std::int32_t chunk = 128 << n;
    std::int32_t total = 0;
    SectorAddress at = {track, c, h, r, n};
    while (total < length) {
        // The sectors that the run still wants of this track, all read in one
        // walk: up to the last sector number, or on and on when R starts past
        // it. R is one byte, so no walk can find more than 256 of them.
        const std::int64_t left = (static_cast<std::int64_t>(length) - total + chunk - 1) / chunk;
        const std::int64_t onTrack = at.r <= lastSector
                                         ? static_cast<std::int64_t>(lastSector) - at.r + 1
                                         : kMaxRecordsPerWalk;
        const std::int32_t count = static_cast<std::int32_t>(
            std::min({left, onTrack, static_cast<std::int64_t>(kMaxRecordsPerWalk)}));
        std::int32_t got[kMaxRecordsPerWalk];
        ReadTrackRun(at, count, buffer + total, chunk, length - total, got);
        // A sector that was found has C, H, R within 0 to 255 and a track
        // below 164, so stepping past it cannot overflow.
        for (std::int32_t k = 0; k < count; ++k) {
            const std::int32_t wanted = length - total < chunk ? length - total : chunk;
            if (got[k] < wanted) {
                return total;
            }
            total += wanted;
            at = NextSector(at);
        }
    }
    return total;
}

std::int32_t D88Image::ListRecords(std::int32_t track, std::uint8_t* buffer, std::int32_t length,
                                   std::int32_t entry) {
    if (!SeekTrack(track)) {
        return 0;
    }
    std::int32_t written = 0;
    // Unlike ReadSector, a count of 0 does not end the list.
    for (std::int64_t i = 0; length - written >= entry; ++i) {
        std::uint8_t header[kSectorHeaderSize];
        if (!ReadExactly(file, header, kSectorHeaderSize)) {
            break;
        }
        std::memcpy(buffer + written, header, static_cast<std::size_t>(entry));
        written += entry;
        const std::uint16_t count = ReadU16Le(header + kSectorCountOffset);
        if (!Skip(file, ReadU16Le(header + kDataSizeOffset)) || i == count - 1) {
            break;
        }
    }
    return written;
}

std::int32_t D88Image::ReadSectorIds(std::int32_t track, std::uint8_t* buffer,
                                     std::int32_t length) {
    return ListRecords(track, buffer, length, 4);
}

std::int32_t D88Image::ReadSectorHeaders(std::int32_t track, std::uint8_t* buffer,
                                         std::int32_t length) {
    return ListRecords(track, buffer, length, kSectorHeaderSize);
}
