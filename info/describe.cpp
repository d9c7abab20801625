#include "info/describe.h"

#include <cstdint>
#include <vector>

#include "tool/plan.h"

namespace {

// Names of the media-type bytes that D88 tools write.
const char* MediaName(std::int32_t type) {
    switch (type) {
        case 0x00: return "2D";
        case 0x10: return "2DD";
        case 0x20: return "2HD";
        case 0x30: return "1D";
        case 0x40: return "1DD";
        default: return nullptr;
    }
}

// Quoted; the quote and the backslash are escaped too, so the line stays
// unambiguous.
void PrintName(std::FILE* out, const char* name) {
    std::fputc('"', out);
    for (const char* p = name; *p != '\0'; ++p) {
        const unsigned char byte = static_cast<unsigned char>(*p);
        if (byte >= 0x20 && byte <= 0x7E && byte != '"' && byte != '\\') {
            std::fputc(byte, out);
        } else {
            std::fprintf(out, "\\x%02X", static_cast<unsigned>(byte));
        }
    }
    std::fputc('"', out);
}

const char* Plural(long count, const char* one, const char* many) {
    return count == 1 ? one : many;
}

// One line per track that lists at least one record. C and H are given once
// when every record agrees with the track index, N once when all agree; a
// record that differs carries its own values in parentheses after its R.
void PrintTrack(std::FILE* out, D88Image& image, std::int32_t track) {
    // One entry more than is shown tells a cut-off list from a full one.
    constexpr std::int32_t kRoom = 4 * (kMaxListedRecords + 1);
    std::uint8_t ids[kRoom];
    const std::int32_t got = image.ReadSectorIds(track, ids, kRoom);
    if (got == 0) {
        return;
    }
    const bool cutOff = got / 4 > kMaxListedRecords;
    const int count = cutOff ? kMaxListedRecords : got / 4;
    const int c = track / 2;
    const int h = track % 2;
    const auto ownCh = [&](int i) { return ids[4 * i] != c || ids[4 * i + 1] != h; };
    bool chAgree = true;
    bool nAgree = true;
    for (int i = 0; i < count; ++i) {
        chAgree = chAgree && !ownCh(i);
        nAgree = nAgree && ids[4 * i + 3] == ids[3];
    }

    std::fprintf(out, "  track %3d: %s%d %s", static_cast<int>(track), cutOff ? "over " : "", count,
                 Plural(count, "record", "records"));
    if (chAgree) {
        std::fprintf(out, ", C %d H %d", c, h);
    }
    if (nAgree) {
        std::fprintf(out, ", N %d", ids[3]);
    }
    std::fputs(", R", out);
    for (int i = 0; i < count; ++i) {
        std::fprintf(out, " %d", ids[4 * i + 2]);
        if (ownCh(i) || !nAgree) {
            std::fputc('(', out);
            if (ownCh(i)) {
                std::fprintf(out, "C %d H %d%s", ids[4 * i], ids[4 * i + 1], nAgree ? "" : " ");
            }
            if (!nAgree) {
                std::fprintf(out, "N %d", ids[4 * i + 3]);
            }
            std::fputc(')', out);
        }
    }
    std::fputs(cutOff ? " ...\n" : "\n", out);
}

void PrintDisk(std::FILE* out, D88Image& image, std::int32_t index) {
    std::fprintf(out, "disk %d: ", static_cast<int>(index));
    if (!image.SelectDisk(index)) {
        std::fputs("its header can no longer be read\n", out);
        return;
    }
    std::fputs("name ", out);
    PrintName(out, image.GetDiskName());
    const std::int32_t type = image.GetMediaType();
    std::fprintf(out, ", media 0x%02X", static_cast<unsigned>(type));
    if (const char* name = MediaName(type)) {
        std::fprintf(out, " (%s)", name);
    }
    std::fputc('\n', out);
    for (std::int32_t track = 0; track < kMaxTracks; ++track) {
        PrintTrack(out, image, track);
    }
}

// Why the sector at `at` ended the read: not there, or too short.
void PrintUnread(std::FILE* out, D88Image& image, const SectorAddress& at, std::int32_t chunk) {
    std::vector<std::uint8_t> data(static_cast<std::size_t>(chunk));
    const std::int32_t got = image.ReadSector(at.track, at.c, at.h, at.r, at.n, data.data(), chunk);
    std::fprintf(out, "; track %d C %d H %d R %d N %d ", static_cast<int>(at.track),
                 static_cast<int>(at.c), static_cast<int>(at.h), static_cast<int>(at.r),
                 static_cast<int>(at.n));
    if (got == 0) {
        std::fputs("not found\n", out);
    } else {
        std::fprintf(out, "holds only %d of %d bytes\n", static_cast<int>(got),
                     static_cast<int>(chunk));
    }
}

// What d88cut does with the item: read skip + length bytes, write nothing if
// not even the first sector came, otherwise length bytes with zeros past what
// was read.
void PrintItem(std::FILE* out, D88Image& image, bool haveDisk, const PlanItem& item) {
    std::fprintf(out, "  %-5s %5d bytes: ", item.name, static_cast<int>(item.length));
    if (!FitsCutBuffer(item.skip, item.length) || item.n < 0 || item.n > kMaxSizeCode) {
        std::fputs("skipped; not an item d88cut can hold\n", out);
        return;
    }
    if (!haveDisk) {
        std::fputs("skipped; there is no disk 0\n", out);
        return;
    }
    const std::int32_t wanted = item.skip + item.length;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(wanted));
    const std::int32_t got =
        image.ReadSectors(item.track, item.c, item.h, item.r, item.n, buffer.data(), wanted);
    if (got == wanted) {
        std::fputs("cut whole\n", out);
        return;
    }
    const std::int32_t chunk = 128 << item.n;
    if (got == 0) {
        std::fputs("skipped", out);
    } else {
        const std::int32_t kept = got > item.skip ? got - item.skip : 0;
        std::fprintf(out, "cut short, %d of %d bytes read, the rest zeros", static_cast<int>(kept),
                     static_cast<int>(item.length));
    }
    SectorAddress at = {item.track, item.c, item.h, item.r, item.n};
    for (std::int32_t i = 0; i < got / chunk; ++i) {
        at = image.NextSector(at);
    }
    const std::int32_t left = wanted - got;
    PrintUnread(out, image, at, left < chunk ? left : chunk);
}

}  // namespace

void DescribeImage(D88Image& image, std::FILE* out) {
    const std::int32_t count = image.GetDiskCount();
    std::fprintf(out, "%d %s\n", static_cast<int>(count), Plural(count, "disk", "disks"));
    for (std::int32_t i = 0; i < count; ++i) {
        PrintDisk(out, image, i);
    }

    std::fputs("what d88cut would write from disk 0:\n", out);
    const bool haveDisk = image.SelectDisk(0);
    image.SetSectorRange(kFirstSector, kLastSector);
    const Plan plan = MakePlan();
    for (std::int32_t i = 0; i < plan.count; ++i) {
        PrintItem(out, image, haveDisk, plan.items[i]);
    }
}
