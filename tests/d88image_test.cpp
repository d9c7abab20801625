// Opening images, counting and selecting disks.

#include "image/d88image.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "tests/test_support.h"

namespace d88test {
namespace {

Disk NamedDisk(const std::string& name, std::uint8_t mediaType = 0) {
    Disk disk;
    disk.name = name;
    disk.mediaType = mediaType;
    return disk;
}

std::string WriteImage(const TempDir& dir, const Bytes& bytes) {
    const std::string path = dir.File("image.d88");
    WriteFile(path, bytes);
    return path;
}

TEST(LittleEndian, AssemblesLowestByteFirst) {
    const std::uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(ReadU32Le(bytes), 0x04030201u);
    EXPECT_EQ(ReadU16Le(bytes), 0x0201u);
    const std::uint8_t high[] = {0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(ReadU32Le(high), 0xFFFFFFFEu);
    EXPECT_EQ(ReadU16Le(high), 0xFFFEu);
}

TEST(D88Image, StartsWithNothingOpen) {
    D88Image image;
    EXPECT_EQ(image.GetDiskCount(), 0);
    EXPECT_EQ(image.GetMediaType(), -1);
    EXPECT_STREQ(image.GetDiskName(), "");
    EXPECT_FALSE(image.SelectDisk(0));
}

TEST(D88Image, OpenFailsForMissingFile) {
    TempDir dir;
    D88Image image;
    EXPECT_FALSE(image.Open(dir.File("missing.d88").c_str()));
    EXPECT_EQ(image.GetDiskCount(), 0);
    EXPECT_FALSE(image.SelectDisk(0));
}

Bytes Disks(int count, std::uint32_t size = kDiskHeaderSize) {
    Disk disk;
    disk.diskSize = size;
    return BuildImage(std::vector<Disk>(static_cast<std::size_t>(count), disk));
}

Bytes WithTail(Bytes bytes, std::size_t extra) {
    bytes.resize(bytes.size() + extra, 0xAA);
    return bytes;
}

TEST(D88Image, CountsCompleteDiskHeaders) {
    const struct {
        const char* what;
        Bytes bytes;
        int count;
    } cases[] = {
        {"empty file", {}, 0},
        {"one byte short of a header", Bytes(kDiskHeaderSize - 1, 0), 0},
        {"one disk", Disks(1), 1},
        {"one disk and 687 trailing bytes", WithTail(Disks(1), kDiskHeaderSize - 1), 1},
        {"two disks", Disks(2), 2},
        {"disk size 0 reads the same header every time", Disks(1, 0), kMaxDisks},
        {"more disks than are counted", Disks(70), kMaxDisks},
        {"disk size past the largest offset", Disks(1, 0x80000000u), 1},
        {"disk size of all ones", Disks(1, 0xFFFFFFFFu), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        D88Image image;
        ASSERT_TRUE(image.Open(WriteImage(dir, c.bytes).c_str()));
        EXPECT_EQ(image.GetDiskCount(), c.count);
        EXPECT_EQ(image.SelectDisk(0), c.count > 0);
        EXPECT_FALSE(image.SelectDisk(c.count));
    }
}

// A sparse file whose second disk starts `far` bytes in.
std::string FarImage(const TempDir& dir, std::uint32_t far, const Disk& second) {
    const std::string path = dir.File("large.d88");
    WriteFile(path, Disks(1, far));
    std::filesystem::resize_file(path, far);
    std::FILE* out = std::fopen(path.c_str(), "ab");
    const Bytes bytes = BuildDisk(second);
    if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() ||
        std::fclose(out) != 0) {
        throw std::runtime_error("cannot write " + path);
    }
    return path;
}

TEST(D88Image, ReadsADiskThatStartsPast2GiB) {
    // Past what a 32-bit long reaches, as on Windows, and still a signed
    // 32-bit offset.
    Disk second = NamedDisk("FAR");
    second.tracks[3] = StandardTrack(3);
    TempDir dir;
    D88Image image;
    ASSERT_TRUE(image.Open(FarImage(dir, 0x7FFFFF00u, second).c_str()));
    ASSERT_EQ(image.GetDiskCount(), 2);
    ASSERT_TRUE(image.SelectDisk(1));
    EXPECT_STREQ(image.GetDiskName(), "FAR");
    GuardedBuffer buffer(512);
    EXPECT_EQ(image.ReadSectors(3, 1, 1, 16, 1, buffer.Data(), 256), 256);
    EXPECT_EQ(buffer.Head(256), SectorData(3, 16));
}

TEST(D88Image, ScanStopsBeforeADiskPastTheLargestSignedOffset) {
    // The second header at 2 GiB, where no signed 32-bit offset reaches.
    TempDir dir;
    D88Image image;
    ASSERT_TRUE(image.Open(FarImage(dir, 0x80000000u, NamedDisk("FAR")).c_str()));
    EXPECT_EQ(image.GetDiskCount(), 1);
    EXPECT_FALSE(image.SelectDisk(1));
}

TEST(D88Image, SelectDiskLoadsThatDisksHeader) {
    TempDir dir;
    D88Image image;
    ASSERT_TRUE(image.Open(
        WriteImage(dir, BuildImage({NamedDisk("FIRST", 0x10), NamedDisk("SECOND", 0x20)}))
            .c_str()));
    ASSERT_EQ(image.GetDiskCount(), 2);
    ASSERT_TRUE(image.SelectDisk(1));
    EXPECT_STREQ(image.GetDiskName(), "SECOND");
    EXPECT_EQ(image.GetMediaType(), 0x20);
    ASSERT_TRUE(image.SelectDisk(0));
    EXPECT_STREQ(image.GetDiskName(), "FIRST");
    EXPECT_EQ(image.GetMediaType(), 0x10);
}

TEST(D88Image, DiskSizeZeroPutsEveryDiskAtTheStart) {
    Disk disk = NamedDisk("ONLY");
    disk.diskSize = 0;
    TempDir dir;
    D88Image image;
    ASSERT_TRUE(image.Open(WriteImage(dir, BuildImage({disk, NamedDisk("NEVER SEEN")})).c_str()));
    ASSERT_EQ(image.GetDiskCount(), kMaxDisks);
    ASSERT_TRUE(image.SelectDisk(kMaxDisks - 1));
    EXPECT_STREQ(image.GetDiskName(), "ONLY");
}

TEST(D88Image, SelectDiskOutOfRangeClearsTheSelection) {
    for (std::int32_t index : {2, -1, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(index);
        TempDir dir;
        D88Image image;
        ASSERT_TRUE(image.Open(
            WriteImage(dir, BuildImage({NamedDisk("A", 5), NamedDisk("B", 6)})).c_str()));
        ASSERT_TRUE(image.SelectDisk(0));
        EXPECT_FALSE(image.SelectDisk(index));
        EXPECT_EQ(image.GetMediaType(), -1);
        EXPECT_STREQ(image.GetDiskName(), "");
    }
}

TEST(D88Image, SelectDiskFailsWhenTheFileHasShrunk) {
    TempDir dir;
    D88Image image;
    Disk first = Standard2D();
    first.name = "A";
    const std::string path = WriteImage(dir, BuildImage({first, NamedDisk("B", 6)}));
    ASSERT_TRUE(image.Open(path.c_str()));
    ASSERT_EQ(image.GetDiskCount(), 2);
    ASSERT_TRUE(image.SelectDisk(0));
    std::filesystem::resize_file(path, BuildDisk(first).size() + 100);

    EXPECT_FALSE(image.SelectDisk(1));
    EXPECT_EQ(image.GetMediaType(), -1);
    EXPECT_STREQ(image.GetDiskName(), "");
    EXPECT_TRUE(image.SelectDisk(0));
    EXPECT_STREQ(image.GetDiskName(), "A");
}

TEST(D88Image, NameStopsAtFirstZeroOrAfterSixteenBytes) {
    const struct {
        const char* what;
        std::string field;
        std::string name;
    } cases[] = {
        {"sixteen non-zero bytes", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP"},
        {"zero at offset 5", std::string("ABCDE\0GHIJKLMNOP", 16), "ABCDE"},
        {"empty", "", ""},
        {"high bytes", "\xC3\xFF\x80", "\xC3\xFF\x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = BuildDisk(NamedDisk(c.field));
        // What follows the name field must not leak into the name.
        bytes[kDiskNameSize] = 'X';
        TempDir dir;
        D88Image image;
        ASSERT_TRUE(image.Open(WriteImage(dir, bytes).c_str()));
        ASSERT_TRUE(image.SelectDisk(0));
        EXPECT_EQ(std::string(image.GetDiskName()), c.name);
    }
}

TEST(D88Image, MediaTypeIsAnUnsignedByte) {
    TempDir dir;
    D88Image image;
    ASSERT_TRUE(image.Open(WriteImage(dir, BuildDisk(NamedDisk("A", 0xFF))).c_str()));
    ASSERT_TRUE(image.SelectDisk(0));
    EXPECT_EQ(image.GetMediaType(), 255);
}

TEST(D88Image, CloseResetsCountAndMediaType) {
    D88Image never;
    EXPECT_TRUE(never.Open(nullptr));
    EXPECT_EQ(never.GetDiskCount(), 0);
    EXPECT_EQ(never.GetMediaType(), -1);

    TempDir dir;
    D88Image image;
    ASSERT_TRUE(image.Open(WriteImage(dir, Disks(3)).c_str()));
    ASSERT_TRUE(image.SelectDisk(0));
    EXPECT_TRUE(image.Open(nullptr));
    EXPECT_EQ(image.GetDiskCount(), 0);
    EXPECT_EQ(image.GetMediaType(), -1);
    EXPECT_FALSE(image.SelectDisk(0));
}

TEST(D88Image, SelectDiskWithoutAFileFails) {
    TempDir dir;
    D88Image image;
    EXPECT_FALSE(image.SelectDisk(0));
    ASSERT_TRUE(
        image.Open(WriteImage(dir, BuildImage({NamedDisk("A", 5), NamedDisk("B", 6)})).c_str()));
    ASSERT_TRUE(image.SelectDisk(1));
    ASSERT_TRUE(image.Open(nullptr));
    EXPECT_FALSE(image.SelectDisk(0));
    EXPECT_FALSE(image.SelectDisk(1));
    EXPECT_EQ(image.GetDiskCount(), 0);
}

TEST(D88Image, EveryOpenClearsTheSelection) {
    // Disk A's track 0 lies where disk B holds other bytes; a read through
    // A's table would find them.
    Disk a = NamedDisk("A", 0x10);
    a.tracks[0] = StandardTrack(0);
    Disk b = NamedDisk("B", 0x20);
    b.tracks[1] = StandardTrack(1);
    b.tracks[0] = StandardTrack(0);
    for (Sector& sector : b.tracks[0]) {
        sector.data = Bytes(256, 0xBB);
    }
    TempDir dir;
    const std::string first = dir.File("a.d88");
    const std::string second = dir.File("b.d88");
    WriteFile(first, BuildDisk(a));
    WriteFile(second, BuildDisk(b));

    const struct {
        const char* what;
        std::function<bool(D88Image&)> open;
        bool opened;
    } cases[] = {
        {"a second image", [&](D88Image& image) { return image.Open(second.c_str()); }, true},
        {"a close", [](D88Image& image) { return image.Open(nullptr); }, true},
        {"a failed open", [&](D88Image& image) { return image.Open(dir.File("none").c_str()); },
         false},
        {"a directory", [&](D88Image& image) { return image.Open(dir.Path().c_str()); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        D88Image image;
        ASSERT_TRUE(image.Open(first.c_str()));
        ASSERT_TRUE(image.SelectDisk(0));
        ASSERT_EQ(c.open(image), c.opened);

        EXPECT_EQ(image.GetMediaType(), -1);
        EXPECT_STREQ(image.GetDiskName(), "");
        GuardedBuffer buffer(4096);
        EXPECT_EQ(image.ReadSector(0, 0, 0, 1, 1, buffer.Data(), 256), 0);
        EXPECT_EQ(image.ReadSectors(0, 0, 0, 1, 1, buffer.Data(), buffer.Size()), 0);
        EXPECT_EQ(image.ReadSectorIds(0, buffer.Data(), 64), 0);
        EXPECT_TRUE(buffer.UntouchedFrom(0));
        if (c.opened && image.SelectDisk(0)) {
            EXPECT_STREQ(image.GetDiskName(), "B");
            EXPECT_EQ(image.ReadSector(0, 0, 0, 1, 1, buffer.Data(), 256), 256);
            EXPECT_EQ(buffer[0], 0xBB);
        }
    }
}

TEST(D88Image, OpenRefusesADirectoryButNotADevice) {
    TempDir dir;
    D88Image image;
    errno = 0;
    EXPECT_FALSE(image.Open(dir.Path().c_str()));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_EQ(image.GetDiskCount(), 0);
    EXPECT_FALSE(image.SelectDisk(0));

#ifdef _WIN32
    ASSERT_TRUE(image.Open("NUL"));
    EXPECT_EQ(image.GetDiskCount(), 0);
#else
    ASSERT_TRUE(image.Open("/dev/null"));
    EXPECT_EQ(image.GetDiskCount(), 0);
    ASSERT_TRUE(image.Open("/dev/zero"));
    EXPECT_EQ(image.GetDiskCount(), kMaxDisks);
#endif
}

TEST(D88Image, OpenAgainClosesTheEarlierFile) {
    TempDir dir;
    const std::string three = dir.File("three.d88");
    const std::string one = dir.File("one.d88");
    WriteFile(three, Disks(3));
    WriteFile(one, Disks(1));
    D88Image image;
    const int closed = LowestFreeDescriptor();
    ASSERT_TRUE(image.Open(three.c_str()));
    const int open = LowestFreeDescriptor();
    ASSERT_GT(open, closed);
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(image.Open(i % 2 == 0 ? one.c_str() : three.c_str()));
    }
    EXPECT_EQ(LowestFreeDescriptor(), open);
    ASSERT_TRUE(image.Open(one.c_str()));
    EXPECT_EQ(image.GetDiskCount(), 1);

    // A failed Open still lets the earlier file go.
    EXPECT_FALSE(image.Open(dir.File("missing.d88").c_str()));
    EXPECT_EQ(LowestFreeDescriptor(), closed);
    EXPECT_EQ(image.GetDiskCount(), 0);
    EXPECT_FALSE(image.SelectDisk(0));
}

TEST(D88Image, NeverWritesTheImage) {
    TempDir dir;
    const std::string path = WriteImage(dir, BuildImage({Standard2D(), Standard2D(true)}));
    const Bytes before = ReadFile(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    D88Image image;
    ASSERT_TRUE(image.Open(path.c_str()));
    ASSERT_TRUE(image.SelectDisk(1));
    std::uint8_t buffer[4096];
    EXPECT_EQ(image.ReadSectors(0, 0, 0, 1, 1, buffer, sizeof buffer), 4096);
    EXPECT_EQ(ReadFile(path), before);
}

}  // namespace
}  // namespace d88test
