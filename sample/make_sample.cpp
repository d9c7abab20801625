// Writes a sample 2D image for trying d88cut: 40 cylinders, 2 sides, 16
// sectors of 256 bytes, stored in skewed order. Each sector opens with a
// line that names the item it belongs to, its track and its sector number.

#include <cstdio>
#include <string>

#include "tests/d88_builder.h"
#include "tool/cut.h"

namespace {

constexpr int kTracks = 80;
constexpr int kSectorsPerTrack = 16;

// The item that sector s (counted from track 0, R 1) belongs to.
std::string ItemOf(int s) {
    if (s >= 2 * kSectorsPerTrack && s < 10 * kSectorsPerTrack) {
        return "PROG";
    }
    if (s >= 29 * kSectorsPerTrack && s < 29 * kSectorsPerTrack + 15) {
        return "OP";
    }
    int number = 0;
    for (const CutEntry* entry = kMusTable; entry->sector > 0; ++entry, ++number) {
        if (s >= entry->sector && s < entry->sector + entry->length / 256) {
            char name[16];
            std::snprintf(name, sizeof name, "MUS%02d", number);
            return name;
        }
    }
    return "(unused)";
}

d88test::Bytes SampleData(int track, int r) {
    char line[64];
    std::snprintf(line, sizeof line, "%-8s track %2d sector %2d\n", ItemOf(track * 16 + r - 1).c_str(),
                  track, r);
    d88test::Bytes data(256, '.');
    data[255] = '\n';
    for (int i = 0; line[i] != '\0'; ++i) {
        data[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(line[i]);
    }
    return data;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s OUTPUT.d88\n", argc > 0 ? argv[0] : "make_sample");
        return 1;
    }
    d88test::Disk disk;
    disk.name = "D88CUT SAMPLE";
    for (int track = 0; track < kTracks; ++track) {
        disk.tracks[track] = d88test::StandardTrack(track, d88test::SkewedOrder());
        for (d88test::Sector& sector : disk.tracks[track]) {
            sector.data = SampleData(track, sector.r);
        }
    }
    if (!d88test::SaveFile(argv[1], d88test::BuildDisk(disk))) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
