// Writes a sample 2D image for trying d88cut: 40 cylinders, 2 sides, 16
// sectors of 256 bytes, stored in skewed order. Each sector opens with a
// line that names the item it belongs to, its track and its sector number.

#include <cstdio>
#include <string>

#include "builder/d88_builder.h"
#include "tool/plan.h"

namespace {

constexpr int kTracks = 80;

// The item that sector s (counted from track 0, R 1) belongs to.
std::string ItemOf(const Plan& plan, int s) {
    for (std::int32_t i = 0; i < plan.count; ++i) {
        const PlanItem& item = plan.items[i];
        const int first = item.track * kSectorsPerTrack + item.r - kFirstSector;
        if (s >= first && s < first + (item.skip + item.length) / 256) {
            return item.name;
        }
    }
    return "(unused)";
}

d88builder::Bytes SampleData(const Plan& plan, int track, int r) {
    char line[64];
    std::snprintf(line, sizeof line, "%-8s track %2d sector %2d\n",
                  ItemOf(plan, track * kSectorsPerTrack + r - kFirstSector).c_str(), track, r);
    d88builder::Bytes data(256, '.');
    data[255] = '\n';
    for (int i = 0; line[i] != '\0'; ++i) {
        data[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(line[i]);
    }
    return data;
}

// "TRACK:R" of a sector of the sample, or false.
bool ParseSector(const char* text, int& track, int& r) {
    char rest = 0;
    return std::sscanf(text, "%d:%d%c", &track, &r, &rest) == 2 && track >= 0 && track < kTracks &&
           r >= kFirstSector && r <= kLastSector;
}

}  // namespace

// Any TRACK:R arguments after the output name are left out of the image, to
// show what a damaged image looks like.
int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "Usage: %s OUTPUT.d88 [TRACK:R ...]\n",
                     argc > 0 ? argv[0] : "make_sample");
        return 1;
    }
    const Plan plan = MakePlan();
    d88builder::Disk disk;
    disk.name = "D88CUT SAMPLE";
    for (int track = 0; track < kTracks; ++track) {
        disk.tracks[track] = d88builder::StandardTrack(track, d88builder::SkewedOrder());
        for (d88builder::Sector& sector : disk.tracks[track]) {
            sector.data = SampleData(plan, track, sector.r);
        }
    }
    for (int i = 2; i < argc; ++i) {
        int track = 0;
        int r = 0;
        // Also refused: a sector named twice, which is gone the second time.
        if (!ParseSector(argv[i], track, r) || !d88builder::RemoveSector(disk, track, r)) {
            std::fprintf(stderr, "make_sample: not a sector of the sample: %s\n", argv[i]);
            return 1;
        }
    }
    if (!d88builder::SaveFile(argv[1], d88builder::BuildDisk(disk))) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
