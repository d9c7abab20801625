#pragma once
// Builds D88 images in memory from a description of their disks, tracks and
// records: for the tests, the sample image, the fuzzer's seeds and the
// benchmark. Whatever the description says is written, odd or not.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace d88builder {

using Bytes = std::vector<std::uint8_t>;

void PutU16Le(Bytes& out, std::uint16_t value);
void PutU32Le(Bytes& out, std::uint32_t value);

struct Sector {
    std::uint8_t c = 0;
    std::uint8_t h = 0;
    std::uint8_t r = 1;
    std::uint8_t n = 1;
    Bytes data;
    // Written as given when set; otherwise the number of records in the
    // track and the size of data.
    std::optional<std::uint16_t> count;
    std::optional<std::uint16_t> dataSize;
    // Header bytes 0x6 to 0x8, which only an inspector looks at.
    std::uint8_t density = 0;
    std::uint8_t deleted = 0;
    std::uint8_t status = 0;
};

// A record with this ID and data, its count and size left to the builder.
Sector Record(int c, int h, int r, int n, Bytes data = {});
// The same record claiming `count` sectors for its track.
Sector WithCount(Sector sector, std::uint16_t count);

using Track = std::vector<Sector>;

struct Disk {
    // Up to 16 bytes; a shorter name is padded with zeros.
    std::string name = "TEST";
    std::uint8_t mediaType = 0;
    std::uint8_t writeProtect = 0;
    // Track index to its records, laid out in index order after the header.
    // A track that is not here has the offset 0 (absent).
    std::map<int, Track> tracks;
    // Track-table entries written as given, in place of the real offsets.
    std::map<int, std::uint32_t> trackOffsets;
    // The disk-size field; by default the disk's real size.
    std::optional<std::uint32_t> diskSize;
};

Bytes BuildDisk(const Disk& disk);
// Disks end to end.
Bytes BuildImage(const std::vector<Disk>& disks);

// Writes bytes to a file, replacing it; false if any step failed.
bool SaveFile(const std::string& path, const Bytes& bytes);

// Offset of a track's first record within the built disk, for tests that
// damage the bytes afterwards.
std::size_t TrackOffset(const Disk& disk, int track);

// 256 bytes that differ for every (track, r): a short text naming the
// sector, then bytes from a small generator seeded with both.
Bytes SectorData(int track, int r, std::size_t size = 256);

// A track of a two-sided disk with sectors 1 to 16 of 256 bytes, IDs
// C = track / 2, H = track % 2, N 1, stored in the order given (by default
// R 1 to 16) and holding SectorData.
Track StandardTrack(int track, const std::vector<int>& order = {});

// Sector numbers 1 to 16 in the order a skew of 3 stores them.
std::vector<int> SkewedOrder();

// A formatted 2D disk: 80 tracks (40 cylinders, 2 sides) of StandardTrack.
Disk Standard2D(bool skewed = false);

// The first record R r of a track, removed or found; false or null when
// there is none.
bool RemoveSector(Disk& disk, int track, int r);
Sector* FindSector(Disk& disk, int track, int r);

// The tracks d88cut reads: 2 to 9 (PROG), 27 and 28 (MUS), 29 (OP).
std::vector<int> PlanTracks();

// A disk of just the tracks d88cut reads, each a skewed StandardTrack.
Disk PlanDisk();

enum class Hostile {
    // Every record claims 65,535 sectors, so a walk stops only after that many.
    kMaxCount,
    // Counts that never end a walk (2, then 1), so every walk runs to the end
    // of the file, and none of the sectors d88cut reads is there.
    kEndlessWalk,
    // The same, with every sector d88cut reads after the run, so that each of
    // its reads walks the whole file.
    kEndlessWalkFound,
};

// One disk of about `size` bytes whose tracks that d88cut reads all start the
// same run of records that hold no data.
Bytes HostileImage(std::size_t size, Hostile kind);

}  // namespace d88builder
