// Writes a sample 2D image for trying d88cut: 40 cylinders, 2 sides, 16
// sectors of 256 bytes, stored in skewed order. Each sector opens with a
// line that names the item it belongs to, its track and its sector number.

#include <cstdio>
#include <cstring>
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

// What an argument does to its sector.
enum class Damage { kRemove, kCrcError, kDeleted };

// "TRACK:R", "TRACK:R:crc" or "TRACK:R:deleted" of a sector of the sample,
// or false.
bool ParseSector(const char* text, int& track, int& r, Damage& damage) {
    char kind[16] = {};
    char rest = 0;
    const int fields = std::sscanf(text, "%d:%d:%15[a-z]%c", &track, &r, kind, &rest);
    if (fields == 2) {
        damage = Damage::kRemove;
    } else if (fields == 3 && std::strcmp(kind, "crc") == 0) {
        damage = Damage::kCrcError;
    } else if (fields == 3 && std::strcmp(kind, "deleted") == 0) {
        damage = Damage::kDeleted;
    } else {
        return false;
    }
    return track >= 0 && track < kTracks && r >= kFirstSector && r <= kLastSector;
}

// Removes the sector, or marks it as a disk controller would have: a data
// CRC error, or deleted data. False when the sector is not there.
bool Apply(d88builder::Disk& disk, int track, int r, Damage damage) {
    if (damage == Damage::kRemove) {
        return d88builder::RemoveSector(disk, track, r);
    }
    d88builder::Sector* sector = d88builder::FindSector(disk, track, r);
    if (sector == nullptr) {
        return false;
    }
    if (damage == Damage::kCrcError) {
        sector->status = 0xB0;
    } else {
        sector->status = 0x10;
        sector->deleted = 0x10;
    }
    return true;
}

}  // namespace

// Each TRACK:R argument after the output name leaves that sector out of the
// image, and each TRACK:R:crc or TRACK:R:deleted marks it, to show what a
// damaged image looks like.
int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "Usage: %s OUTPUT.d88 [TRACK:R[:crc|:deleted] ...]\n",
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
        Damage damage = Damage::kRemove;
        // Also refused: a sector removed twice, which is gone the second time.
        if (!ParseSector(argv[i], track, r, damage) || !Apply(disk, track, r, damage)) {
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
