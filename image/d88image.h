#pragma once
// Read-only access to D88 floppy-disk image files, sector by sector.
//
// What this reader looks at (all integers little-endian):
//
//   Disk header, 0x2B0 bytes, at the start of every disk
//     0x000  16   disk name, zero-padded
//     0x01A   1   write protect (0x10 = protected; shown, never acted on)
//     0x01B   1   media type (kept, never interpreted)
//     0x01C   4   disk size: from this disk's start to the next disk's
//     0x020 656   164 track offsets, relative to the disk; 0 = absent
//
//   Sector record: a 0x10-byte header, then the data at once
//     0x0     4   ID: C, H, R, N (sector length = 128 << N)
//     0x4     2   number of sector records in the track
//     0x6     1   density (0x40 = single, FM; shown, never acted on)
//     0x7     1   deleted-data mark (0x10 = deleted; shown)
//     0x8     1   status from the controller (0 = read cleanly; shown)
//     0xE     2   number of data bytes that follow the header
//
// Disks lie end to end; a track is a run of sector records. The fields
// marked "shown" are for inspecting an image: the reads ignore them.

#include <cstdint>
#include <cstdio>

constexpr std::int32_t kMaxDisks = 64;
constexpr std::int32_t kMaxTracks = 164;

constexpr std::int32_t kDiskNameSize = 16;
constexpr std::int32_t kDiskNameOffset = 0x00;
constexpr std::int32_t kWriteProtectOffset = 0x1A;
constexpr std::int32_t kMediaTypeOffset = 0x1B;
constexpr std::int32_t kDiskSizeOffset = 0x1C;
constexpr std::int32_t kTrackTableOffset = 0x20;
constexpr std::int32_t kDiskHeaderSize = kTrackTableOffset + 4 * kMaxTracks;  // 0x2B0

constexpr std::int32_t kSectorCountOffset = 0x04;
constexpr std::int32_t kDensityOffset = 0x06;
constexpr std::int32_t kDeletedOffset = 0x07;
constexpr std::int32_t kStatusOffset = 0x08;
constexpr std::int32_t kDataSizeOffset = 0x0E;
constexpr std::int32_t kSectorHeaderSize = 0x10;

// The sector numbers (R) that begin and end every track in ReadSectors
// until SetSectorRange says otherwise.
constexpr std::int32_t kFirstSector = 1;
constexpr std::int32_t kLastSector = 16;

// Largest size code N whose sector length, 128 << N, fits a signed 32-bit count.
constexpr std::int32_t kMaxSizeCode = 23;

// Little-endian values assembled from single bytes, whatever the host's order.
std::uint16_t ReadU16Le(const std::uint8_t* bytes);
std::uint32_t ReadU32Le(const std::uint8_t* bytes);

// A sector's place: the track index and the ID that the record must carry.
struct SectorAddress {
    std::int32_t track;
    std::int32_t c;
    std::int32_t h;
    std::int32_t r;
    std::int32_t n;
};

class D88Image {
public:
    D88Image();
    ~D88Image();
    D88Image(const D88Image&) = delete;
    D88Image& operator=(const D88Image&) = delete;

    // With a path: opens the file read-only, closing any file open before, and
    // counts the complete disk headers in it (true even when there are none).
    // False, with errno saying why, when the file cannot be opened or is a
    // directory. With nullptr: closes the image; always true.
    // Either way, and also when it fails, no disk is selected afterwards.
    bool Open(const char* path);

    // False, and the selection cleared, for an index outside the disks that
    // Open counted or a header that can no longer be read; false and nothing
    // changed when no file is open.
    bool SelectDisk(std::int32_t index);

    // Sector numbers (R) that begin and end every track in ReadSectors.
    void SetSectorRange(std::int32_t first, std::int32_t last);

    // The sector that follows `at` in a run: R + 1, or after the last sector
    // number the first one on the next track, which is the other side of the
    // cylinder or side 0 of the next one. C and R grow without wrapping.
    SectorAddress NextSector(SectorAddress at) const;

    std::int32_t GetDiskCount() const;
    // Where disk `index` starts in the file; -1 for an index that Open did
    // not count.
    std::int32_t GetDiskOffset(std::int32_t index) const;
    // Copies the kDiskHeaderSize raw bytes of disk `index`'s header, for
    // inspecting the fields the reader does not use. False for an index that
    // Open did not count or a header that can no longer be read. The
    // selection does not change.
    bool ReadDiskHeader(std::int32_t index, std::uint8_t* header);
    // Empty when no disk is selected; changes with the next SelectDisk.
    const char* GetDiskName() const;
    // -1 when no disk is selected.
    std::int32_t GetMediaType() const;

    // Copies the data of the first record in the track that carries this ID,
    // at most maxLength bytes. Returns the bytes copied; 0 when the sector is
    // missing.
    std::int32_t ReadSector(std::int32_t track, std::int32_t c, std::int32_t h, std::int32_t r,
                            std::int32_t n, std::uint8_t* buffer, std::int32_t maxLength);
    // Reads length bytes from consecutive sectors of 128 << n bytes, moving on
    // to the next track (and side) after the last sector number. Returns the
    // bytes of whole chunks read before the first missing or short sector.
    std::int32_t ReadSectors(std::int32_t track, std::int32_t c, std::int32_t h, std::int32_t r,
                             std::int32_t n, std::uint8_t* buffer, std::int32_t length);
    // Lists the track's records as 4-byte C, H, R, N entries, as many as fit.
    // Returns the bytes written.
    std::int32_t ReadSectorIds(std::int32_t track, std::uint8_t* buffer, std::int32_t length);
    // The same walk as ReadSectorIds, each record listed with all of its
    // kSectorHeaderSize header bytes. Returns the bytes written, a multiple
    // of kSectorHeaderSize.
    std::int32_t ReadSectorHeaders(std::int32_t track, std::uint8_t* buffer, std::int32_t length);

private:
    void ClearSelection();
    bool SeekTrack(std::int32_t track);
    // One walk of a track from its first record that finds the first record
    // of each ID from `first` to R + count - 1 (C, H, N as in `first`). Sector
    // k's data goes to buffer + k * chunk, at most chunk bytes and never past
    // `room`; got[k] is the number of bytes copied, or -1 when not found.
    // Lists the records of a track as ReadSectorIds does, `entry` bytes of
    // each header at a time.
    std::int32_t ListRecords(std::int32_t track, std::uint8_t* buffer, std::int32_t length,
                             std::int32_t entry);
    void ReadTrackRun(const SectorAddress& first, std::int32_t count, std::uint8_t* buffer,
                      std::int32_t chunk, std::int32_t room, std::int32_t* got);
    bool ReadAt(std::int64_t offset, std::uint8_t* bytes, std::int32_t count);

    std::FILE* file;
    std::int32_t diskCount;
    std::int32_t firstSector;
    std::int32_t lastSector;
    std::int32_t diskOffsets[kMaxDisks];
    std::int32_t diskSize;
    std::int32_t diskBase;
    std::int32_t trackOffsets[kMaxTracks];
    std::int32_t mediaType;
    char diskName[kDiskNameSize + 1];
};
