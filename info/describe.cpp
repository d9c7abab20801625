#include "info/describe.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
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
// unambiguous. With utf8Names, a name that decodes from Shift_JIS keeps its
// decoded characters past ASCII.
void PrintName(std::FILE* out, const char* name, bool utf8Names) {
    std::string text = name;
    const bool decoded =
        utf8Names &&
        std::any_of(text.begin(), text.end(),
                    [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; }) &&
        DecodeShiftJis(name, text);
    std::fputc('"', out);
    for (const char ch : decoded ? text : std::string(name)) {
        const unsigned char value = static_cast<unsigned char>(ch);
        if ((value >= 0x20 && value <= 0x7E && value != '"' && value != '\\') ||
            (decoded && value >= 0x80)) {
            std::fputc(value, out);
        } else {
            std::fprintf(out, "\\x%02X", static_cast<unsigned>(value));
        }
    }
    std::fputc('"', out);
}

const char* Plural(long count, const char* one, const char* many) {
    return count == 1 ? one : many;
}

// The controller's status byte, in words.
void PrintStatus(std::FILE* out, std::uint8_t status) {
    switch (status) {
        case 0x10: std::fputs("deleted data", out); break;
        case 0xA0: std::fputs("ID CRC error", out); break;
        case 0xB0: std::fputs("data CRC error", out); break;
        case 0xE0: std::fputs("no address mark", out); break;
        case 0xF0: std::fputs("no data mark", out); break;
        default: std::fprintf(out, "status 0x%02X", static_cast<unsigned>(status)); break;
    }
}

// For each record, whether an earlier record of the list carries its ID;
// the reader only ever finds the first.
std::vector<bool> Repeated(const std::uint8_t* headers, int count) {
    std::vector<std::pair<std::uint32_t, int>> ids;
    for (int i = 0; i < count; ++i) {
        ids.emplace_back(ReadU32Le(headers + kSectorHeaderSize * i), i);
    }
    std::sort(ids.begin(), ids.end());
    std::vector<bool> repeated(static_cast<std::size_t>(count), false);
    for (std::size_t i = 1; i < ids.size(); ++i) {
        if (ids[i].first == ids[i - 1].first) {
            repeated[static_cast<std::size_t>(ids[i].second)] = true;
        }
    }
    return repeated;
}

// One line per track that lists at least one record. C and H are given once
// when every record agrees with the track index, N once when all agree; a
// record that differs, or has anything else odd about it, carries that in
// parentheses after its R. A sector count that disagrees with the records
// listed follows the number of records.
void PrintTrack(std::FILE* out, D88Image& image, std::int32_t track) {
    // One record more than is shown tells a cut-off list from a full one.
    constexpr std::int32_t kRoom = kSectorHeaderSize * (kMaxListedRecords + 1);
    std::uint8_t headers[kRoom];
    const std::int32_t got = image.ReadSectorHeaders(track, headers, kRoom);
    if (got == 0) {
        return;
    }
    const bool cutOff = got / kSectorHeaderSize > kMaxListedRecords;
    const int count = cutOff ? kMaxListedRecords : got / kSectorHeaderSize;
    const int c = track / 2;
    const int h = track % 2;
    const auto at = [&](int i) { return headers + kSectorHeaderSize * i; };
    const auto ownCh = [&](int i) { return at(i)[0] != c || at(i)[1] != h; };
    bool chAgree = true;
    bool nAgree = true;
    std::uint16_t lowCount = 0xFFFF;
    std::uint16_t highCount = 0;
    for (int i = 0; i < count; ++i) {
        chAgree = chAgree && !ownCh(i);
        nAgree = nAgree && at(i)[3] == at(0)[3];
        const std::uint16_t claimed = ReadU16Le(at(i) + kSectorCountOffset);
        lowCount = std::min(lowCount, claimed);
        highCount = std::max(highCount, claimed);
    }
    const std::vector<bool> repeated = Repeated(headers, count);

    std::fprintf(out, "  track %3d: %s%d %s", static_cast<int>(track), cutOff ? "over " : "", count,
                 Plural(count, "record", "records"));
    if (!cutOff && (lowCount != count || highCount != count)) {
        if (lowCount == highCount) {
            std::fprintf(out, " (sector count %u)", static_cast<unsigned>(lowCount));
        } else {
            std::fprintf(out, " (sector counts %u to %u)", static_cast<unsigned>(lowCount),
                         static_cast<unsigned>(highCount));
        }
    }
    if (chAgree) {
        std::fprintf(out, ", C %d H %d", c, h);
    }
    if (nAgree) {
        std::fprintf(out, ", N %d", at(0)[3]);
    }
    std::fputs(", R", out);
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* record = at(i);
        std::fprintf(out, " %d", record[2]);
        // In parentheses: the ID's own values, then the marks after commas.
        int parts = 0;
        const auto part = [&](const char* between) {
            std::fputs(parts++ == 0 ? "(" : between, out);
        };
        if (ownCh(i)) {
            part(" ");
            std::fprintf(out, "C %d H %d", record[0], record[1]);
        }
        if (!nAgree) {
            part(" ");
            std::fprintf(out, "N %d", record[3]);
        }
        const std::uint16_t dataSize = ReadU16Le(record + kDataSizeOffset);
        if (record[3] > 9 || dataSize != 128 << record[3]) {
            part(", ");
            std::fprintf(out, "%u bytes", static_cast<unsigned>(dataSize));
        }
        if (record[kStatusOffset] != 0) {
            part(", ");
            PrintStatus(out, record[kStatusOffset]);
        }
        // A byte that is 0 on a plain record: its word for the usual value,
        // any other value as it stands.
        const auto flag = [&](std::uint8_t value, std::uint8_t usual, const char* word,
                              const char* field) {
            if (value == 0) {
                return;
            }
            part(", ");
            if (value == usual) {
                std::fputs(word, out);
            } else {
                std::fprintf(out, "%s 0x%02X", field, static_cast<unsigned>(value));
            }
        };
        flag(record[kDeletedOffset], 0x10, "deleted", "deleted mark");
        flag(record[kDensityOffset], 0x40, "FM", "density");
        if (repeated[static_cast<std::size_t>(i)]) {
            part(", ");
            std::fputs("repeated", out);
        }
        if (parts > 0) {
            std::fputc(')', out);
        }
    }
    std::fputs(cutOff ? " ...\n" : "\n", out);
}

// What the disk-size field says against what the file holds: more than is
// left, less than the header itself, or bytes after the last disk that make
// no disk of their own.
void PrintDiskSize(std::FILE* out, D88Image& image, std::int32_t index, std::uint32_t size,
                   std::int64_t fileSize) {
    const std::int64_t start = image.GetDiskOffset(index);
    if (size < static_cast<std::uint32_t>(kDiskHeaderSize)) {
        std::fprintf(out, ", size field %lu bytes, less than its header",
                     static_cast<unsigned long>(size));
        return;
    }
    if (fileSize < 0) {
        return;
    }
    const std::int64_t left = fileSize - start;
    const std::int64_t after = left - static_cast<std::int64_t>(size);
    if (after < 0) {
        std::fprintf(out, ", size field %lu bytes, %lld to the end of the file",
                     static_cast<unsigned long>(size), static_cast<long long>(left));
    } else if (after > 0 && index == image.GetDiskCount() - 1 && index < kMaxDisks - 1) {
        std::fprintf(out, ", size field %lu bytes, then %lld bytes that make no disk",
                     static_cast<unsigned long>(size), static_cast<long long>(after));
    }
}

void PrintDisk(std::FILE* out, D88Image& image, std::int32_t index,
               const DescribeOptions& options) {
    std::fprintf(out, "disk %d: ", static_cast<int>(index));
    std::uint8_t header[kDiskHeaderSize];
    if (!image.SelectDisk(index) || !image.ReadDiskHeader(index, header)) {
        std::fputs("its header can no longer be read\n", out);
        return;
    }
    std::fputs("name ", out);
    PrintName(out, image.GetDiskName(), options.utf8Names);
    const std::int32_t type = image.GetMediaType();
    std::fprintf(out, ", media 0x%02X", static_cast<unsigned>(type));
    if (const char* name = MediaName(type)) {
        std::fprintf(out, " (%s)", name);
    }
    if (header[kWriteProtectOffset] != 0) {
        std::fprintf(out, ", write-protected (0x%02X)",
                     static_cast<unsigned>(header[kWriteProtectOffset]));
    }
    PrintDiskSize(out, image, index, ReadU32Le(header + kDiskSizeOffset), options.fileSize);
    std::fputc('\n', out);
    for (std::int32_t track = 0; track < kMaxTracks; ++track) {
        PrintTrack(out, image, track);
    }
}

// Why disk 0 cannot be a D88 disk, or null when it may be one: a header
// that does not fit the file, no track inside the disk, or no track that
// yields a single record.
const char* NotD88(D88Image& image, std::int64_t fileSize) {
    std::uint8_t header[kDiskHeaderSize];
    if (image.GetDiskCount() == 0 || !image.ReadDiskHeader(0, header)) {
        return "the file is shorter than a disk header";
    }
    const std::uint32_t size = ReadU32Le(header + kDiskSizeOffset);
    if (size < static_cast<std::uint32_t>(kDiskHeaderSize)) {
        return "its disk-size field is smaller than a disk header";
    }
    if (fileSize >= 0 && size > fileSize) {
        return "its disk-size field is larger than the file";
    }
    bool inside = false;
    for (std::int32_t track = 0; track < kMaxTracks; ++track) {
        const std::uint32_t entry = ReadU32Le(header + kTrackTableOffset + 4 * track);
        inside = inside || (entry >= static_cast<std::uint32_t>(kDiskHeaderSize) && entry < size);
    }
    if (!inside) {
        return "no track-table entry points inside the disk";
    }
    if (!image.SelectDisk(0)) {
        return "its header can no longer be read";
    }
    // A record that the reader finds by its own ID and that yields data.
    for (std::int32_t track = 0; track < kMaxTracks; ++track) {
        std::uint8_t first[kSectorHeaderSize];
        if (image.ReadSectorHeaders(track, first, kSectorHeaderSize) == kSectorHeaderSize) {
            std::uint8_t data;
            if (image.ReadSector(track, first[0], first[1], first[2], first[3], &data, 1) == 1) {
                return nullptr;
            }
        }
    }
    return "no track holds a readable record";
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
// was read. The line names the first and the last sector the item reads.
void PrintItem(std::FILE* out, D88Image& image, bool haveDisk, const PlanItem& item) {
    std::fprintf(out, "  %-5s %5d bytes", item.name, static_cast<int>(item.length));
    if (!FitsCutBuffer(item.skip, item.length) || item.n < 0 || item.n > kMaxSizeCode) {
        std::fputs(": skipped; not an item d88cut can hold\n", out);
        return;
    }
    const std::int32_t wanted = item.skip + item.length;
    const std::int32_t chunk = 128 << item.n;
    const SectorAddress first = {item.track, item.c, item.h, item.r, item.n};
    SectorAddress last = first;
    for (std::int32_t i = chunk; i < wanted; i += chunk) {
        last = image.NextSector(last);
    }
    std::fprintf(out, ", track %d C %d H %d R %d to track %d C %d H %d R %d: ",
                 static_cast<int>(first.track), static_cast<int>(first.c),
                 static_cast<int>(first.h), static_cast<int>(first.r), static_cast<int>(last.track),
                 static_cast<int>(last.c), static_cast<int>(last.h), static_cast<int>(last.r));
    if (!haveDisk) {
        std::fputs("skipped; there is no disk 0\n", out);
        return;
    }
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(wanted));
    const std::int32_t got =
        image.ReadSectors(item.track, item.c, item.h, item.r, item.n, buffer.data(), wanted);
    if (got == wanted) {
        std::fputs("cut whole\n", out);
        return;
    }
    if (got == 0) {
        std::fputs("skipped", out);
    } else {
        const std::int32_t kept = got > item.skip ? got - item.skip : 0;
        std::fprintf(out, "cut short, %d of %d bytes read, the rest zeros", static_cast<int>(kept),
                     static_cast<int>(item.length));
    }
    SectorAddress at = first;
    for (std::int32_t i = 0; i < got / chunk; ++i) {
        at = image.NextSector(at);
    }
    const std::int32_t left = wanted - got;
    PrintUnread(out, image, at, left < chunk ? left : chunk);
}

}  // namespace

bool DecodeShiftJis(const std::string& bytes, std::string& text) {
    text.clear();
#ifdef _WIN32
    const int wide = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, 0);
    if (wide <= 0) {
        return false;
    }
    std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                        utf16.data(), wide);
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return false;
    }
    text.resize(static_cast<std::size_t>(size));
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, text.data(), size, nullptr, nullptr);
#else
    // CP932 is the Shift_JIS of the PC tools that write D88 images; where the
    // C library lacks it, plain Shift_JIS.
    iconv_t convert = iconv_open("UTF-8", "CP932");
    if (convert == reinterpret_cast<iconv_t>(-1)) {
        convert = iconv_open("UTF-8", "SHIFT_JIS");
    }
    if (convert == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    std::string in = bytes;
    // Each byte of Shift_JIS becomes at most three of UTF-8.
    text.resize(3 * in.size());
    char* from = in.data();
    std::size_t fromLeft = in.size();
    char* to = text.data();
    std::size_t toLeft = text.size();
    const bool whole =
        iconv(convert, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1) &&
        fromLeft == 0;
    iconv_close(convert);
    if (!whole) {
        text.clear();
        return false;
    }
    text.resize(text.size() - toLeft);
#endif
    // No control character may come out of a name, C1 controls included.
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char value = static_cast<unsigned char>(text[i]);
        const bool c1 =
            value == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (value < 0x20 || value == 0x7F || c1) {
            text.clear();
            return false;
        }
    }
    return true;
}

void DescribeImage(D88Image& image, const DescribeOptions& options, std::FILE* out) {
    const std::int32_t count = image.GetDiskCount();
    std::fprintf(out, "%d %s\n", static_cast<int>(count), Plural(count, "disk", "disks"));
    if (const char* reason = NotD88(image, options.fileSize)) {
        std::fprintf(out, "disk 0 does not look like a D88 image: %s\n", reason);
    }
    for (std::int32_t i = 0; i < count; ++i) {
        PrintDisk(out, image, i, options);
    }

    std::fputs("what d88cut would write from disk 0:\n", out);
    const bool haveDisk = image.SelectDisk(0);
    image.SetSectorRange(kFirstSector, kLastSector);
    const Plan plan = MakePlan();
    for (std::int32_t i = 0; i < plan.count; ++i) {
        PrintItem(out, image, haveDisk, plan.items[i]);
    }
}
