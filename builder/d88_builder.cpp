#include "builder/d88_builder.h"

#include <algorithm>
#include <cstdio>

#include "image/d88image.h"
#include "tool/plan.h"

namespace d88builder {

void PutU16Le(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32Le(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

Sector Record(int c, int h, int r, int n, Bytes data) {
    Sector sector;
    sector.c = static_cast<std::uint8_t>(c);
    sector.h = static_cast<std::uint8_t>(h);
    sector.r = static_cast<std::uint8_t>(r);
    sector.n = static_cast<std::uint8_t>(n);
    sector.data = std::move(data);
    return sector;
}

Sector WithCount(Sector sector, std::uint16_t count) {
    sector.count = count;
    return sector;
}

namespace {

std::size_t TrackSize(const Track& track) {
    std::size_t size = 0;
    for (const Sector& sector : track) {
        size += kSectorHeaderSize + sector.data.size();
    }
    return size;
}

void PutTrack(Bytes& out, const Track& track) {
    for (const Sector& sector : track) {
        out.push_back(sector.c);
        out.push_back(sector.h);
        out.push_back(sector.r);
        out.push_back(sector.n);
        PutU16Le(out, sector.count.value_or(static_cast<std::uint16_t>(track.size())));
        out.insert(out.end(), {sector.density, sector.deleted, sector.status});
        out.insert(out.end(), 5, 0);
        PutU16Le(out, sector.dataSize.value_or(static_cast<std::uint16_t>(sector.data.size())));
        out.insert(out.end(), sector.data.begin(), sector.data.end());
    }
}

}  // namespace

std::size_t TrackOffset(const Disk& disk, int track) {
    std::size_t offset = kDiskHeaderSize;
    for (const auto& [index, records] : disk.tracks) {
        if (index == track) {
            return offset;
        }
        offset += TrackSize(records);
    }
    return 0;
}

Bytes BuildDisk(const Disk& disk) {
    Bytes out;
    for (std::size_t i = 0; i < static_cast<std::size_t>(kDiskNameSize); ++i) {
        out.push_back(i < disk.name.size() ? static_cast<std::uint8_t>(disk.name[i]) : 0);
    }
    out.resize(kWriteProtectOffset);
    out.push_back(disk.writeProtect);
    out.push_back(disk.mediaType);

    std::size_t size = kDiskHeaderSize;
    for (const auto& entry : disk.tracks) {
        size += TrackSize(entry.second);
    }
    PutU32Le(out, disk.diskSize.value_or(static_cast<std::uint32_t>(size)));

    for (int track = 0; track < kMaxTracks; ++track) {
        std::uint32_t offset = 0;
        if (disk.tracks.count(track) != 0) {
            offset = static_cast<std::uint32_t>(TrackOffset(disk, track));
        }
        auto given = disk.trackOffsets.find(track);
        PutU32Le(out, given != disk.trackOffsets.end() ? given->second : offset);
    }
    for (const auto& entry : disk.tracks) {
        PutTrack(out, entry.second);
    }
    return out;
}

Bytes BuildImage(const std::vector<Disk>& disks) {
    Bytes out;
    for (const Disk& disk : disks) {
        Bytes bytes = BuildDisk(disk);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

bool SaveFile(const std::string& path, const Bytes& bytes) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    // An empty vector's data() may be null, which fwrite must not be given.
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

Bytes SectorData(int track, int r, std::size_t size) {
    char label[32];
    std::snprintf(label, sizeof label, "T%03d R%02d|", track, r);
    Bytes data(size);
    std::uint32_t state = static_cast<std::uint32_t>(track * 7919 + r * 104729 + 1);
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        data[i] = static_cast<std::uint8_t>(state >> 16);
    }
    for (std::size_t i = 0; i < size && label[i] != '\0'; ++i) {
        data[i] = static_cast<std::uint8_t>(label[i]);
    }
    return data;
}

Track StandardTrack(int track, const std::vector<int>& order) {
    Track records;
    for (int i = 0; i < kSectorsPerTrack; ++i) {
        const int r = order.empty() ? kFirstSector + i : order[static_cast<std::size_t>(i)];
        records.push_back(Record(track / 2, track % 2, r, 1, SectorData(track, r)));
    }
    return records;
}

std::vector<int> SkewedOrder() {
    std::vector<int> order;
    for (int i = 0; i < kSectorsPerTrack; ++i) {
        order.push_back(kFirstSector + i * 3 % kSectorsPerTrack);
    }
    return order;
}

Disk Standard2D(bool skewed) {
    Disk disk;
    disk.name = "STANDARD 2D";
    for (int track = 0; track < 80; ++track) {
        disk.tracks[track] = StandardTrack(track, skewed ? SkewedOrder() : std::vector<int>{});
    }
    return disk;
}

bool RemoveSector(Disk& disk, int track, int r) {
    const auto found = disk.tracks.find(track);
    if (found == disk.tracks.end()) {
        return false;
    }
    Track& records = found->second;
    for (auto it = records.begin(); it != records.end(); ++it) {
        if (it->r == r) {
            records.erase(it);
            return true;
        }
    }
    return false;
}

Sector* FindSector(Disk& disk, int track, int r) {
    const auto found = disk.tracks.find(track);
    if (found == disk.tracks.end()) {
        return nullptr;
    }
    for (Sector& sector : found->second) {
        if (sector.r == r) {
            return &sector;
        }
    }
    return nullptr;
}

std::vector<int> PlanTracks() {
    return {2, 3, 4, 5, 6, 7, 8, 9, 27, 28, 29};
}

Disk PlanDisk() {
    Disk disk;
    disk.name = "PLAN";
    for (int track : PlanTracks()) {
        disk.tracks[track] = StandardTrack(track, SkewedOrder());
    }
    return disk;
}

Bytes HostileImage(std::size_t size, Hostile kind) {
    Track found;
    if (kind == Hostile::kEndlessWalkFound) {
        for (int track : PlanTracks()) {
            for (Sector& sector : StandardTrack(track)) {
                sector.count = 1;
                found.push_back(sector);
            }
        }
    }
    const std::size_t tail = TrackSize(found);
    const std::size_t room = size > kDiskHeaderSize + tail ? size - kDiskHeaderSize - tail : 0;
    const std::size_t records = std::max<std::size_t>(room / kSectorHeaderSize, 1);

    Disk disk;
    disk.name = "HOSTILE";
    disk.diskSize =
        static_cast<std::uint32_t>(kDiskHeaderSize + records * kSectorHeaderSize + tail);
    for (int track : PlanTracks()) {
        disk.trackOffsets[track] = kDiskHeaderSize;
    }
    Bytes out = BuildDisk(disk);
    out.reserve(*disk.diskSize);
    for (std::size_t i = 0; i < records; ++i) {
        // An ID that no read asks for: C 255, H 255, R 0, N 0.
        const std::uint16_t count = kind == Hostile::kMaxCount ? 0xFFFF : (i == 0 ? 2 : 1);
        out.insert(out.end(), {0xFF, 0xFF, 0x00, 0x00});
        PutU16Le(out, count);
        out.insert(out.end(), 10, 0);
    }
    PutTrack(out, found);
    return out;
}

}  // namespace d88builder
