// d88cut against an independent D88 reader: MAME's floptool turns the same
// image into a flat sector image, and every cut file must be a slice of it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "tests/test_support.h"

namespace d88test {
namespace {

TEST(Floptool, CutFilesAreSlicesOfTheFlatImage) {
    // Random data, sectors stored out of order, as real disks often are.
    Disk disk = Standard2D(true);
    std::mt19937 random(20261211);
    for (auto& [index, track] : disk.tracks) {
        for (Sector& sector : track) {
            for (std::uint8_t& byte : sector.data) {
                byte = static_cast<std::uint8_t>(random());
            }
        }
    }
    TempDir work;
    TempDir cwd;
    const std::string image = work.File("random.d88");
    const std::string flat = work.File("random.2d");
    WriteFile(image, BuildDisk(disk));
    const std::string command = std::string(FLOPTOOL_PATH) + " flopconvert d88 2d '" + image +
                                "' '" + flat + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const Bytes sectors = ReadFile(flat);
    // 40 cylinders, 2 sides, 16 sectors of 256 bytes.
    ASSERT_EQ(sectors.size(), 40u * 2 * 16 * 256);

    const RunResult run = RunD88Cut({D88CutPath(), image}, cwd.Path());
    ASSERT_EQ(run.status, 0) << run.err;

    for (const ExpectedItem& item : ExpectedPlan()) {
        SCOPED_TRACE(item.name);
        const auto begin = sectors.begin() + item.sector * 256;
        EXPECT_EQ(ReadFile(cwd.File(item.name)), Bytes(begin, begin + item.length));
    }
}

}  // namespace
}  // namespace d88test
