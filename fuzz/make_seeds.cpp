// Writes a few small images from the test builder into a folder, as the
// fuzzer's starting corpus.

#include <cstdio>
#include <string>

#include "builder/d88_builder.h"

using namespace d88builder;

namespace {

Disk SmallDisk(const char* name, int n) {
    Disk disk;
    disk.name = name;
    for (int track = 0; track < 3; ++track) {
        for (int r = 1; r <= 4; ++r) {
            disk.tracks[track].push_back(
                Record(track / 2, track % 2, r, n, SectorData(track, r, std::size_t{128} << n)));
        }
    }
    return disk;
}

Disk OddCounts() {
    Disk disk = SmallDisk("ODD", 0);
    disk.tracks[0][0].count = 0;
    disk.tracks[0][1].count = 0;
    disk.tracks[0][2].count = 3;
    for (Sector& sector : disk.tracks[1]) {
        sector.count = 16;
    }
    disk.tracks[2][1].dataSize = 0;
    disk.trackOffsets[5] = 0x80000000u;
    return disk;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: make_seeds FOLDER\n");
        return 1;
    }
    const std::string folder = argv[1];
    const Bytes plan = BuildDisk(PlanDisk());
    Disk zeroSize = SmallDisk("ZERO", 1);
    zeroSize.diskSize = 0;
    const struct {
        const char* name;
        Bytes bytes;
    } seeds[] = {
        {"plan.d88", plan},
        {"plan-truncated.d88",
         Bytes(plan.begin(), plan.begin() + static_cast<std::ptrdiff_t>(plan.size() / 2 + 7))},
        {"two-disks.d88", BuildImage({SmallDisk("ONE", 0), SmallDisk("TWO", 2)})},
        {"odd-counts.d88", BuildDisk(OddCounts())},
        {"disk-size-zero.d88", BuildDisk(zeroSize)},
        {"endless-walk.d88", HostileImage(4096, Hostile::kEndlessWalk)},
    };
    for (const auto& seed : seeds) {
        if (!SaveFile(folder + "/" + seed.name, seed.bytes)) {
            std::perror(seed.name);
            return 1;
        }
    }
    return 0;
}
