// Finding sectors by ID, reading runs of them, listing a track's IDs.

#include "image/d88image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "builder/reference_read.h"
#include "tests/test_support.h"

namespace d88test {
namespace {

constexpr std::uint8_t kGuard = GuardedBuffer::kGuard;

Bytes Fill(std::size_t size, std::uint8_t value) {
    return Bytes(size, value);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

class SectorTest : public ::testing::Test {
protected:
    void Load(const Bytes& bytes, std::int32_t disk = 0) {
        path = dir.File("image.d88");
        WriteFile(path, bytes);
        ASSERT_TRUE(image.Open(path.c_str()));
        ASSERT_TRUE(image.SelectDisk(disk));
    }
    void Load(const Disk& disk) { Load(BuildDisk(disk)); }

    TempDir dir;
    std::string path;
    D88Image image;
};

TEST_F(SectorTest, ReadSectorCopiesAtMostMaxLength) {
    Disk disk;
    disk.tracks[0] = StandardTrack(0);
    disk.tracks[1] = {Record(0, 1, 1, 1, {})};
    Load(disk);
    const Bytes data = SectorData(0, 5);
    const struct {
        std::int32_t maxLength;
        std::int32_t result;
    } cases[] = {{256, 256}, {100, 100}, {1, 1}, {0, 0}, {1000, 256}, {-1, 0}, {INT32_MIN, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.maxLength);
        GuardedBuffer buffer(1000);
        EXPECT_EQ(image.ReadSector(0, 0, 0, 5, 1, buffer.Data(), c.maxLength), c.result);
        const std::size_t copied = static_cast<std::size_t>(c.result);
        EXPECT_EQ(buffer.Head(copied),
                  Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(copied)));
        EXPECT_TRUE(buffer.UntouchedFrom(copied));
    }
    // A record that holds no data reads as missing.
    GuardedBuffer buffer(256);
    EXPECT_EQ(image.ReadSector(1, 0, 1, 1, 1, buffer.Data(), 256), 0);
}

TEST_F(SectorTest, ReadSectorFindsTheRecordByItsId) {
    Disk disk;
    disk.tracks[3] = {
        Record(1, 1, 7, 1, Fill(256, 1)),
        Record(1, 1, 2, 1, Fill(256, 2)),
        Record(0, 1, 2, 1, Fill(256, 3)),
        Record(1, 1, 2, 1, Fill(256, 4)),  // same ID as the second: never found
        Record(1, 1, 2, 2, Fill(512, 5)),
    };
    // Records of 2 KiB and of just over 1 KiB are stepped over by seeking.
    disk.tracks[4] = {
        Record(2, 0, 1, 4, Fill(2048, 6)),
        Record(2, 0, 2, 3, Fill(1025, 7)),
        Record(2, 0, 3, 1, Fill(256, 8)),
    };
    Load(disk);
    const struct {
        const char* what;
        std::int32_t track, c, h, r, n;
        std::int32_t result;
        std::uint8_t value;
    } cases[] = {
        {"first record", 3, 1, 1, 7, 1, 256, 1},
        {"first of two equal IDs wins", 3, 1, 1, 2, 1, 256, 2},
        {"C tells records apart", 3, 0, 1, 2, 1, 256, 3},
        {"N tells records apart", 3, 1, 1, 2, 2, 256, 5},
        {"no such R", 3, 1, 1, 3, 1, 0, kGuard},
        {"the ID bytes do not say the track", 2, 1, 1, 7, 1, 0, kGuard},
        {"C 256 is not C 0", 3, 256, 1, 2, 1, 0, kGuard},
        {"R 263 is not R 7", 3, 1, 1, 263, 1, 0, kGuard},
        {"H -255 is not H 1", 3, 1, -255, 7, 1, 0, kGuard},
        {"N 257 is not N 1", 3, 1, 1, 7, 257, 0, kGuard},
        {"after records of 2 KiB and 1,025 bytes", 4, 2, 0, 3, 1, 256, 8},
        {"the start of a 2 KiB record", 4, 2, 0, 1, 4, 256, 6},
        {"after a 2 KiB record", 4, 2, 0, 2, 3, 256, 7},
        {"track 164", 164, 1, 1, 7, 1, 0, kGuard},
        {"track -1", -1, 1, 1, 7, 1, 0, kGuard},
        {"track INT32_MIN", INT32_MIN, 1, 1, 7, 1, 0, kGuard},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GuardedBuffer buffer(256);
        EXPECT_EQ(image.ReadSector(c.track, c.c, c.h, c.r, c.n, buffer.Data(), 256), c.result);
        EXPECT_EQ(buffer[0], c.value);
        EXPECT_TRUE(buffer.UntouchedFrom(256));
    }
}

TEST_F(SectorTest, EachRecordsOwnCountEndsTheWalk) {
    Disk disk;
    // Sixteen records that all claim a track of four.
    disk.tracks[0] = StandardTrack(0);
    for (Sector& sector : disk.tracks[0]) {
        sector.count = 4;
    }
    // A first record that says the track is empty.
    disk.tracks[1] = {WithCount(Record(0, 1, 1, 1, Fill(256, 1)), 0),
                      Record(0, 1, 2, 1, Fill(256, 2))};
    // Counts no greater than the position never stop the walk.
    disk.tracks[2] = {WithCount(Record(1, 0, 1, 1, Fill(256, 1)), 3),
                      WithCount(Record(1, 0, 2, 1, Fill(256, 2)), 1),
                      WithCount(Record(1, 0, 3, 1, Fill(256, 3)), 1),
                      WithCount(Record(1, 0, 4, 1, Fill(256, 4)), 2),
                      WithCount(Record(1, 0, 5, 1, Fill(256, 5)), 5),
                      WithCount(Record(1, 0, 6, 1, Fill(256, 6)), 9)};
    // Claims 16 records but holds 2; the next track's records follow at once.
    disk.tracks[3] = {WithCount(Record(1, 1, 1, 1, Fill(256, 1)), 16),
                      WithCount(Record(1, 1, 2, 1, Fill(256, 2)), 16)};
    disk.tracks[4] = StandardTrack(4);
    // A count of 0 further on ends the walk there, before its ID is looked at.
    disk.tracks[5] = {WithCount(Record(2, 1, 1, 1, Fill(256, 1)), 5),
                      WithCount(Record(2, 1, 2, 1, Fill(256, 2)), 0),
                      WithCount(Record(2, 1, 3, 1, Fill(256, 3)), 5)};
    Load(disk);
    const struct {
        const char* what;
        std::int32_t track, c, h, r;
        Bytes expected;  // empty when not found
    } cases[] = {
        {"R 4 of a track claiming four", 0, 0, 0, 4, SectorData(0, 4)},
        {"R 5 of a track claiming four", 0, 0, 0, 5, {}},
        {"R 10 of a track claiming four", 0, 0, 0, 10, {}},
        {"a count of 0 in the first record, ID matching", 1, 0, 1, 1, {}},
        {"the record after a first count of 0", 1, 0, 1, 2, {}},
        {"low counts do not stop the walk", 2, 1, 0, 4, Fill(256, 4)},
        {"the record whose count ends the walk is still searched", 2, 1, 0, 5, Fill(256, 5)},
        {"nothing after the record whose count ends the walk", 2, 1, 0, 6, {}},
        {"past a short track into the next one's records", 3, 2, 0, 3, SectorData(4, 3)},
        {"until the next track's counts end the walk", 3, 2, 0, 14, SectorData(4, 14)},
        {"and no further", 3, 2, 0, 15, {}},
        {"before a later count of 0", 5, 2, 1, 1, Fill(256, 1)},
        {"a later count of 0, ID matching", 5, 2, 1, 2, {}},
        {"after a later count of 0", 5, 2, 1, 3, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GuardedBuffer buffer(256);
        EXPECT_EQ(image.ReadSector(c.track, c.c, c.h, c.r, 1, buffer.Data(), 256),
                  static_cast<std::int32_t>(c.expected.size()));
        EXPECT_EQ(buffer.Head(c.expected.size()), c.expected);
        EXPECT_TRUE(buffer.UntouchedFrom(c.expected.size()));
    }
}

TEST_F(SectorTest, TrackTableEntriesOutsideTheDiskAreAbsent) {
    Disk first;
    first.name = "FIRST";
    first.tracks[0] = {Record(0, 0, 1, 1, Fill(256, 0x11))};
    Disk second;
    second.name = "SECOND";
    second.tracks[0] = {Record(0, 0, 1, 1, Fill(256, 0x22))};
    second.tracks[1] = {Record(0, 1, 1, 1, Fill(256, 0x33))};
    const std::uint32_t firstSize = static_cast<std::uint32_t>(BuildDisk(first).size());
    const std::uint32_t secondSize = static_cast<std::uint32_t>(BuildDisk(second).size());
    const std::uint32_t lastTrack = static_cast<std::uint32_t>(TrackOffset(second, 1));
    // Relative to the second disk, this points back at the first disk's track 0.
    const std::uint32_t backwards = 0u - (firstSize - kDiskHeaderSize);
    second.trackOffsets = {{2, lastTrack}, {3, secondSize},  {4, secondSize + 1},
                           {5, backwards}, {6, 0x80000000u}, {7, 0}};
    Load(BuildImage({first, second}), 1);

    const struct {
        const char* what;
        std::int32_t track, h;
        std::int32_t result;
        std::uint8_t value;
    } cases[] = {
        {"a track of the selected disk", 0, 0, 256, 0x22},
        {"an entry below the disk size", 2, 1, 256, 0x33},
        {"an entry equal to the disk size", 3, 0, 0, kGuard},
        {"an entry past the disk size", 4, 0, 0, kGuard},
        {"an entry with its top bit set, pointing back", 5, 0, 0, kGuard},
        {"an entry of 0x80000000", 6, 0, 0, kGuard},
        {"an entry of 0", 7, 0, 0, kGuard},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GuardedBuffer buffer(256);
        EXPECT_EQ(image.ReadSector(c.track, 0, c.h, 1, 1, buffer.Data(), 256), c.result);
        EXPECT_EQ(buffer[0], c.value);
        GuardedBuffer ids(64);
        EXPECT_EQ(image.ReadSectorIds(c.track, ids.Data(), ids.Size()), c.result > 0 ? 4 : 0);
    }
}

TEST_F(SectorTest, EntryEqualToTheDiskSizeIsAccepted) {
    Disk disk;
    disk.tracks[0] = {Record(0, 0, 1, 1, Fill(256, 0x44))};
    // The disk claims to end where its one track begins.
    disk.diskSize = static_cast<std::uint32_t>(TrackOffset(disk, 0));
    Load(disk);
    GuardedBuffer buffer(256);
    EXPECT_EQ(image.ReadSector(0, 0, 0, 1, 1, buffer.Data(), 256), 256);
    EXPECT_EQ(buffer[0], 0x44);

    disk.diskSize = *disk.diskSize - 1;
    Load(disk);
    EXPECT_EQ(image.ReadSector(0, 0, 0, 1, 1, buffer.Data(), 256), 0);
}

TEST_F(SectorTest, DiskSizeWithTopBitSetRejectsEveryTrack) {
    Disk disk;
    disk.tracks[0] = StandardTrack(0);
    disk.diskSize = 0x80000000u;
    Load(disk);
    GuardedBuffer buffer(256);
    EXPECT_EQ(image.ReadSector(0, 0, 0, 1, 1, buffer.Data(), 256), 0);
    EXPECT_TRUE(buffer.UntouchedFrom(0));
}

TEST_F(SectorTest, EveryReadFailsAfterAFailedSelection) {
    Load(Standard2D());
    ASSERT_FALSE(image.SelectDisk(1));
    GuardedBuffer buffer(4096);
    EXPECT_EQ(image.ReadSector(0, 0, 0, 1, 1, buffer.Data(), 256), 0);
    EXPECT_EQ(image.ReadSectors(0, 0, 0, 1, 1, buffer.Data(), 4096), 0);
    EXPECT_EQ(image.ReadSectorIds(0, buffer.Data(), 64), 0);
    EXPECT_TRUE(buffer.UntouchedFrom(0));

    ASSERT_TRUE(image.Open(nullptr));
    EXPECT_EQ(image.ReadSector(0, 0, 0, 1, 1, buffer.Data(), 256), 0);
    EXPECT_EQ(image.ReadSectorIds(0, buffer.Data(), 64), 0);
}

TEST_F(SectorTest, ReadsComeFromTheSelectedDisk) {
    Disk other = Standard2D();
    for (auto& [index, track] : other.tracks) {
        for (Sector& sector : track) {
            sector.data = Fill(256, 0x5A);
        }
    }
    Load(BuildImage({other, Standard2D(true)}), 1);
    GuardedBuffer buffer(512);
    EXPECT_EQ(image.ReadSectors(7, 3, 1, 16, 1, buffer.Data(), 512), 512);
    EXPECT_EQ(buffer.Head(512), Concat({SectorData(7, 16), SectorData(8, 1)}));
}

struct RunCase {
    const char* what;
    std::int32_t track, c, h, r, n, length;
    std::int32_t result;
    Bytes expected;  // the bytes read, which must be the first `result` of the buffer
};

TEST_F(SectorTest, ReadSectorsStepsAcrossSectorsTracksAndSides) {
    Load(Standard2D(true));
    auto part = [](int track, int r, std::size_t size) {
        Bytes data = SectorData(track, r);
        data.resize(size);
        return data;
    };
    const RunCase cases[] = {
        {"one sector", 0, 0, 0, 1, 1, 256, 256, SectorData(0, 1)},
        {"a part sector", 0, 0, 0, 1, 1, 100, 100, part(0, 1, 100)},
        {"one and a bit", 0, 0, 0, 1, 1, 300, 300, Concat({SectorData(0, 1), part(0, 2, 44)})},
        {"R 15 of track 27 into track 28", 27, 13, 1, 15, 1, 768, 768,
         Concat({SectorData(27, 15), SectorData(27, 16), SectorData(28, 1)})},
        {"side 0 to side 1 of a cylinder", 4, 2, 0, 16, 1, 512, 512,
         Concat({SectorData(4, 16), SectorData(5, 1)})},
        {"side 1 to side 0 of the next cylinder", 5, 2, 1, 16, 1, 512, 512,
         Concat({SectorData(5, 16), SectorData(6, 1)})},
        {"a whole track and one more", 10, 5, 0, 1, 1, 17 * 256, 17 * 256,
         Concat({SectorData(10, 1), SectorData(10, 2), SectorData(10, 3), SectorData(10, 4),
                 SectorData(10, 5), SectorData(10, 6), SectorData(10, 7), SectorData(10, 8),
                 SectorData(10, 9), SectorData(10, 10), SectorData(10, 11), SectorData(10, 12),
                 SectorData(10, 13), SectorData(10, 14), SectorData(10, 15), SectorData(10, 16),
                 SectorData(11, 1)})},
        {"off the last track", 79, 39, 1, 16, 1, 512, 256, SectorData(79, 16)},
        {"a missing first sector", 0, 0, 0, 17, 1, 256, 0, {}},
        {"length 0", 0, 0, 0, 1, 1, 0, 0, {}},
        {"length -1", 0, 0, 0, 1, 1, -1, 0, {}},
        {"length INT32_MIN", 0, 0, 0, 1, 1, INT32_MIN, 0, {}},
        {"size code 24", 0, 0, 0, 1, 24, 256, 0, {}},
        {"size code -1", 0, 0, 0, 1, -1, 256, 0, {}},
        {"size code 0 finds no N 0 sectors", 0, 0, 0, 1, 0, 256, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t room = static_cast<std::size_t>(std::max(c.length, 0));
        GuardedBuffer buffer(room);
        EXPECT_EQ(image.ReadSectors(c.track, c.c, c.h, c.r, c.n, buffer.Data(), c.length),
                  c.result);
        EXPECT_EQ(buffer.Head(c.expected.size()), c.expected);
        EXPECT_TRUE(buffer.UntouchedFrom(room));
    }
}

TEST_F(SectorTest, ReadSectorsTakesOnlyTheChunkOfEachSector) {
    Disk disk;
    disk.tracks[0] = {Record(0, 0, 1, 1, Fill(256, 1)), Record(0, 0, 2, 1, Fill(128, 2)),
                      Record(0, 0, 3, 1, Fill(512, 3)), Record(0, 0, 4, 1, Fill(256, 4))};
    // Sectors of 128 bytes (N 0) numbered past the range end.
    disk.tracks[1] = {Record(0, 1, 17, 0, Fill(128, 5)), Record(0, 1, 18, 0, Fill(128, 6)),
                      Record(0, 1, 1, 0, Fill(128, 7))};
    Load(disk);
    const RunCase cases[] = {
        {"a short sector ends the run before it", 0, 0, 0, 1, 1, 768, 256, Fill(256, 1)},
        {"a short sector as the last chunk completes it", 0, 0, 0, 1, 1, 384, 384,
         Concat({Fill(256, 1), Fill(128, 2)})},
        {"a long sector gives only its nominal length", 0, 0, 0, 3, 1, 512, 512,
         Concat({Fill(256, 3), Fill(256, 4)})},
        {"R past the last sector never changes track", 1, 0, 1, 17, 0, 512, 256,
         Concat({Fill(128, 5), Fill(128, 6)})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GuardedBuffer buffer(static_cast<std::size_t>(c.length));
        EXPECT_EQ(image.ReadSectors(c.track, c.c, c.h, c.r, c.n, buffer.Data(), c.length),
                  c.result);
        EXPECT_EQ(buffer.Head(c.expected.size()), c.expected);
        EXPECT_TRUE(buffer.UntouchedFrom(static_cast<std::size_t>(c.length)));
    }
}

TEST_F(SectorTest, ReadSectorsFollowsTheSectorRange) {
    Load(Standard2D());
    image.SetSectorRange(3, 8);
    GuardedBuffer buffer(768);
    EXPECT_EQ(image.ReadSectors(0, 0, 0, 7, 1, buffer.Data(), 768), 768);
    EXPECT_EQ(buffer.Head(768), Concat({SectorData(0, 7), SectorData(0, 8), SectorData(1, 3)}));
}

TEST_F(SectorTest, ReadSectorIdsListsRecordsInStoredOrder) {
    Disk disk;
    disk.tracks[0] = StandardTrack(0, SkewedOrder());
    disk.tracks[1] = {WithCount(Record(0, 1, 9, 1, Fill(256, 1)), 0),
                      WithCount(Record(0, 1, 8, 2, Fill(512, 2)), 0),
                      WithCount(Record(0, 1, 7, 3, Fill(1024, 3)), 3),
                      Record(0, 1, 6, 1, Fill(256, 4))};
    Load(disk);
    Bytes skewed;
    for (int r : SkewedOrder()) {
        skewed.insert(skewed.end(), {0, 0, static_cast<std::uint8_t>(r), 1});
    }
    const struct {
        const char* what;
        std::int32_t track, length;
        Bytes expected;
    } cases[] = {
        {"a whole track", 0, 64, skewed},
        {"room to spare", 0, 100, skewed},
        {"room for one entry and a half", 0, 6, Bytes(skewed.begin(), skewed.begin() + 4)},
        {"room for less than one", 0, 3, {}},
        {"no room", 0, 0, {}},
        {"negative room", 0, -4, {}},
        {"counts 0, 0 and 3", 1, 64, {0, 1, 9, 1, 0, 1, 8, 2, 0, 1, 7, 3}},
        {"an absent track", 2, 64, {}},
        {"track 164", 164, 64, {}},
        {"track -1", -1, 64, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t room = static_cast<std::size_t>(std::max(c.length, 0));
        GuardedBuffer buffer(room);
        EXPECT_EQ(image.ReadSectorIds(c.track, buffer.Data(), c.length),
                  static_cast<std::int32_t>(c.expected.size()));
        EXPECT_EQ(buffer.Head(c.expected.size()), c.expected);
        EXPECT_TRUE(buffer.UntouchedFrom(c.expected.size()));
    }
}

TEST_F(SectorTest, TruncatedFileGivesOnlyWhatArrived) {
    Disk disk;
    disk.tracks[0] = StandardTrack(0);
    const Bytes whole = BuildDisk(disk);
    const std::size_t track = TrackOffset(disk, 0);
    const std::size_t record = kSectorHeaderSize + 256;
    const Bytes r3 = SectorData(0, 3);
    const struct {
        const char* what;
        std::size_t size;
        std::int32_t r3Read;
        std::int32_t runRead;  // from R 1, 1024 bytes
        std::int32_t ids;
    } cases[] = {
        {"inside the third header", track + 2 * record + 7, 0, 512, 8},
        {"inside the third sector's data", track + 2 * record + kSectorHeaderSize + 100, 100, 512,
         12},
        {"right after the third header", track + 2 * record + kSectorHeaderSize, 0, 512, 12},
        {"after the fourth sector", track + 4 * record, 256, 1024, 16},
        {"inside the first header", track + 3, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(c.size)));
        GuardedBuffer one(256);
        EXPECT_EQ(image.ReadSector(0, 0, 0, 3, 1, one.Data(), 256), c.r3Read);
        EXPECT_EQ(one.Head(static_cast<std::size_t>(c.r3Read)),
                  Bytes(r3.begin(), r3.begin() + c.r3Read));
        EXPECT_TRUE(one.UntouchedFrom(static_cast<std::size_t>(c.r3Read)));
        GuardedBuffer run(1024);
        EXPECT_EQ(image.ReadSectors(0, 0, 0, 1, 1, run.Data(), 1024), c.runRead);
        EXPECT_TRUE(run.UntouchedFrom(1024));
        GuardedBuffer ids(64);
        EXPECT_EQ(image.ReadSectorIds(0, ids.Data(), 64), c.ids);
        EXPECT_TRUE(ids.UntouchedFrom(static_cast<std::size_t>(c.ids)));
    }
}

// Tracks that a walk can go wrong on, from sector 1 of track 0 on.
Disk OddTracks() {
    Disk disk;
    disk.tracks[0] = StandardTrack(0, SkewedOrder());
    // Repeated IDs, a short and a long record, and a count that ends the
    // walk before the track does.
    disk.tracks[1] = {Record(0, 1, 2, 1, Fill(256, 1)),
                      Record(0, 1, 1, 1, Fill(256, 2)),
                      Record(0, 1, 2, 1, Fill(256, 3)),
                      Record(0, 1, 3, 1, Fill(128, 4)),
                      Record(0, 1, 4, 1, Fill(600, 5)),
                      Record(0, 1, 5, 1, Fill(256, 6)),
                      WithCount(Record(0, 1, 6, 1, Fill(256, 7)), 7),
                      Record(0, 1, 7, 1, Fill(256, 8)),
                      Record(0, 1, 8, 1, Fill(256, 9))};
    // Claims 16 records but holds 3; the walk runs on into track 3.
    disk.tracks[2] = {WithCount(Record(1, 0, 3, 1, Fill(256, 10)), 16),
                      WithCount(Record(1, 0, 1, 1, Fill(256, 11)), 16),
                      WithCount(Record(1, 0, 2, 1, Fill(256, 12)), 16)};
    disk.tracks[3] = StandardTrack(3);
    disk.tracks[3][2].c = 1;
    disk.tracks[3][2].h = 0;
    // Records of 2 KiB and more, and sizes that differ from the size code.
    disk.tracks[4] = {Record(2, 0, 1, 4, Fill(2048, 13)), Record(2, 0, 2, 5, Fill(4096, 14)),
                      Record(2, 0, 3, 4, Fill(2000, 15)), Record(2, 0, 4, 4, Fill(2048, 16)),
                      Record(2, 0, 1, 1, Fill(3000, 17)), Record(2, 0, 2, 1, Fill(256, 18))};
    // A first record claiming no sectors, and R numbered past 16 and at 255.
    disk.tracks[5] = {WithCount(Record(2, 1, 1, 1, Fill(256, 19)), 0),
                      Record(2, 1, 2, 1, Fill(256, 20))};
    disk.tracks[6] = {Record(3, 0, 17, 1, Fill(256, 21)), Record(3, 0, 18, 1, Fill(256, 22)),
                      Record(3, 0, 255, 1, Fill(256, 23)), Record(3, 0, 0, 1, Fill(256, 24)),
                      Record(3, 0, 254, 1, Fill(256, 25))};
    disk.tracks[7] = StandardTrack(7);
    return disk;
}

TEST_F(SectorTest, ReadSectorsGivesWhatReadSectorGivesSectorBySector) {
    const Bytes whole = BuildDisk(OddTracks());
    const struct {
        const char* what;
        std::size_t size;
    } files[] = {
        {"the whole image", whole.size()},
        {"cut inside track 4's 4 KiB record", TrackOffset(OddTracks(), 4) + 2048 + 16 + 16 + 1000},
        {"cut inside track 1's records", TrackOffset(OddTracks(), 1) + 3 * 272 + 20},
        {"cut inside a header of track 3", TrackOffset(OddTracks(), 3) + 5 * 272 + 9},
    };
    const std::int32_t ranges[][2] = {{1, 16}, {3, 8}, {10, 5}, {0, 255}};
    const std::int32_t starts[] = {-1, 0, 1, 2, 3, 5, 15, 16, 17, 254, 255, 256};
    const std::int32_t sizes[] = {0, 1, 2, 4, 5};
    const std::int32_t lengths[] = {1, 100, 128, 256, 300, 1024, 2048, 5000, 9000, 70000};
    int runs = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        Load(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(file.size)));
        for (const auto& range : ranges) {
            image.SetSectorRange(range[0], range[1]);
            for (std::int32_t track = -1; track <= 8; ++track) {
                for (std::int32_t r : starts) {
                    for (std::int32_t n : sizes) {
                        for (std::int32_t length : lengths) {
                            const SectorAddress at = {track, track / 2, track % 2, r, n};
                            const std::size_t room = static_cast<std::size_t>(length);
                            GuardedBuffer once(room);
                            GuardedBuffer each(room);
                            const std::int32_t got = image.ReadSectors(at.track, at.c, at.h, at.r,
                                                                       at.n, once.Data(), length);
                            const std::int32_t expected =
                                ReadSectorsOneByOne(image, at, each.Data(), length);
                            const std::size_t counted = static_cast<std::size_t>(expected);
                            ASSERT_EQ(got, expected) << "track " << track << " R " << r << " N "
                                                     << n << " length " << length;
                            ASSERT_EQ(once.Head(counted), each.Head(counted));
                            ASSERT_TRUE(once.GuardsIntact());
                            runs += expected > 0 ? 1 : 0;
                        }
                    }
                }
            }
        }
    }
    // The table must reach runs that read something, not only misses.
    EXPECT_GT(runs, 1000);
}

}  // namespace
}  // namespace d88test
