// d88info end to end: what it lists of disks and tracks, what it says of
// each item of the plan, and its command line.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "image/d88image.h"
#include "info/describe.h"
#include "tests/test_support.h"
#include "tool/plan.h"

namespace d88test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

// The line that d88info prints for a plan item, or "" when there is none.
std::string ItemLine(const std::vector<std::string>& lines, const std::string& name) {
    for (const std::string& line : lines) {
        if (line.rfind("  " + name + " ", 0) == 0) {
            return line;
        }
    }
    return "";
}

// d88info on these bytes as a file, in the C locale unless told otherwise.
RunResult RunInfo(const Bytes& image, [[maybe_unused]] const std::string& locale = "C") {
    TempDir work;
    WriteFile(work.File("image.d88"), image);
    RunOptions options;
#ifndef _WIN32
    options.environment = {"LC_ALL=" + locale};
#endif
    return RunProgram(D88InfoPath(), {"d88info", "image.d88"}, work.Path(), options);
}

// A record of the size its size code says, as real images hold.
Sector Full(int c, int h, int r, int n) {
    return Record(c, h, r, n, Bytes(std::size_t{128} << n, 0xE5));
}

TEST(Info, ListsEveryDiskAndItsTracks) {
    Disk first = Standard2D(true);
    first.name = "GAME \x01\xFF";
    first.mediaType = 0x10;
    Disk second;
    second.name = "B\"\\";
    second.mediaType = 0x7F;
    second.tracks[40] = StandardTrack(40);
    const RunResult run = RunInfo(BuildImage({first, second}));
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = Lines(run.out);

    EXPECT_EQ(lines.at(0), "2 disks");
    EXPECT_EQ(lines.at(1), "disk 0: name \"GAME \\x01\\xFF\", media 0x10 (2DD)");
    // Skewed records are listed in the order they are stored.
    EXPECT_EQ(lines.at(2),
              "  track   0: 16 records, C 0 H 0, N 1, R 1 4 7 10 13 16 3 6 9 12 15 2 5 8 11 14");
    EXPECT_EQ(lines.at(81),
              "  track  79: 16 records, C 39 H 1, N 1, R 1 4 7 10 13 16 3 6 9 12 15 2 5 8 11 14");
    EXPECT_EQ(lines.at(82), "disk 1: name \"B\\x22\\x5C\", media 0x7F");
    EXPECT_EQ(lines.at(83),
              "  track  40: 16 records, C 20 H 0, N 1, R 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16");
    EXPECT_EQ(lines.at(84), "what d88cut would write from disk 0:");
    ASSERT_EQ(lines.size(), 85u + kPlanSize);
    for (std::size_t i = 85; i < lines.size(); ++i) {
        EXPECT_NE(lines[i].find(": cut whole"), std::string::npos) << lines[i];
    }
}

TEST(Info, NamesEveryMediaType) {
    const struct {
        std::uint8_t type;
        const char* line;
    } cases[] = {
        {0x00, "disk 0: name \"M\", media 0x00 (2D)"},
        {0x10, "disk 0: name \"M\", media 0x10 (2DD)"},
        {0x20, "disk 0: name \"M\", media 0x20 (2HD)"},
        {0x30, "disk 0: name \"M\", media 0x30 (1D)"},
        {0x40, "disk 0: name \"M\", media 0x40 (1DD)"},
        {0x50, "disk 0: name \"M\", media 0x50"},
        {0xFF, "disk 0: name \"M\", media 0xFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        Disk disk;
        disk.name = "M";
        disk.mediaType = c.type;
        disk.tracks[0] = StandardTrack(0);
        const RunResult run = RunInfo(BuildDisk(disk));
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(Lines(run.out).at(1), c.line);
    }
}

TEST(Info, MarksRecordsThatDisagreeWithTheirTrack) {
    Disk disk;
    // Track 5 is C 2 H 1.
    disk.tracks[5] = {Full(2, 1, 1, 1), Full(9, 0, 2, 1), Full(2, 1, 3, 1)};
    disk.tracks[6] = {Full(3, 0, 1, 1), Full(3, 0, 2, 2)};
    disk.tracks[7] = {Full(3, 1, 1, 1), Full(0, 0, 2, 2)};
    disk.tracks[8] = {Full(4, 0, 7, 3)};
    // Records whose counts never end the walk before the list is full; R
    // wraps to 0 at the 256th.
    for (int r = 1; r <= 300; ++r) {
        disk.tracks[9].push_back(WithCount(Full(4, 1, r, 1), 300));
    }
    const RunResult run = RunInfo(BuildDisk(disk));
    ASSERT_EQ(run.status, 0);
    const std::vector<std::string> lines = Lines(run.out);

    EXPECT_TRUE(HasLine(lines, "  track   5: 3 records, N 1, R 1 2(C 9 H 0) 3")) << run.out;
    EXPECT_TRUE(HasLine(lines, "  track   6: 2 records, C 3 H 0, R 1(N 1) 2(N 2)")) << run.out;
    EXPECT_TRUE(HasLine(lines, "  track   7: 2 records, R 1(N 1) 2(C 0 H 0 N 2)")) << run.out;
    EXPECT_TRUE(HasLine(lines, "  track   8: 1 record, C 4 H 0, N 3, R 7")) << run.out;
    std::string longest = "  track   9: over 256 records, C 4 H 1, N 1, R";
    for (int r = 1; r <= 256; ++r) {
        longest += " " + std::to_string(r % 256);
    }
    EXPECT_TRUE(HasLine(lines, longest + " ...")) << run.out;
}

TEST(Info, ListsATrackOfExactlyTheLongestListWhole) {
    Disk disk;
    for (int r = 0; r < kMaxListedRecords; ++r) {
        disk.tracks[0].push_back(Full(0, 0, r, 1));
    }
    const RunResult run = RunInfo(BuildDisk(disk));
    ASSERT_EQ(run.status, 0);
    std::string whole = "  track   0: 256 records, C 0 H 0, N 1, R";
    for (int r = 0; r < kMaxListedRecords; ++r) {
        whole += " " + std::to_string(r);
    }
    EXPECT_TRUE(HasLine(Lines(run.out), whole)) << run.out;
}

TEST(Info, MarksWhatIsOddAboutARecord) {
    const struct {
        const char* what;
        std::function<void(Track&)> change;
        std::string line;  // the line of track 0, whose records are R 1, 2, 3
    } cases[] = {
        {"deleted data", [](Track& t) { t[1].status = 0x10; }, "R 1 2(deleted data) 3"},
        {"an ID CRC error", [](Track& t) { t[1].status = 0xA0; }, "R 1 2(ID CRC error) 3"},
        {"a data CRC error", [](Track& t) { t[1].status = 0xB0; }, "R 1 2(data CRC error) 3"},
        {"no address mark", [](Track& t) { t[1].status = 0xE0; }, "R 1 2(no address mark) 3"},
        {"no data mark", [](Track& t) { t[1].status = 0xF0; }, "R 1 2(no data mark) 3"},
        {"another status", [](Track& t) { t[1].status = 0x42; }, "R 1 2(status 0x42) 3"},
        {"the deleted-data mark", [](Track& t) { t[1].deleted = 0x10; }, "R 1 2(deleted) 3"},
        {"single density", [](Track& t) { t[1].density = 0x40; }, "R 1 2(FM) 3"},
        {"another deleted mark", [](Track& t) { t[1].deleted = 0x01; },
         "R 1 2(deleted mark 0x01) 3"},
        {"another density", [](Track& t) { t[1].density = 0x80; }, "R 1 2(density 0x80) 3"},
        {"less data than the size code says", [](Track& t) { t[1].data.resize(128); },
         "R 1 2(128 bytes) 3"},
        {"more data than the size code says", [](Track& t) { t[1].data.resize(1024); },
         "R 1 2(1024 bytes) 3"},
        {"a repeated ID", [](Track& t) { t[2].r = 1; }, "R 1 2 1(repeated)"},
        {"several marks and an ID of its own",
         [](Track& t) {
             t[1].c = 9;
             t[1].status = 0xB0;
             t[1].deleted = 0x10;
             t[1].density = 0x40;
         },
         "R 1 2(C 9 H 0, data CRC error, deleted, FM) 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Disk disk;
        disk.tracks[0] = {Full(0, 0, 1, 1), Full(0, 0, 2, 1), Full(0, 0, 3, 1)};
        c.change(disk.tracks[0]);
        const RunResult run = RunInfo(BuildDisk(disk));
        ASSERT_EQ(run.status, 0);
        const std::string prefix = c.line.find("C 9") == std::string::npos
                                       ? "  track   0: 3 records, C 0 H 0, N 1, "
                                       : "  track   0: 3 records, N 1, ";
        EXPECT_TRUE(HasLine(Lines(run.out), prefix + c.line)) << run.out;
    }
}

TEST(Info, SaysWhenSectorCountsDisagreeWithTheRecords) {
    const struct {
        const char* what;
        std::vector<std::uint16_t> counts;
        std::string line;
    } cases[] = {
        {"a count past the records, the walk running to the end of the file",
         {5, 5, 5},
         "  track   0: 3 records (sector count 5)"},
        {"counts that differ", {3, 5, 3}, "  track   0: 3 records (sector counts 3 to 5)"},
        {"a first count of 0, listed anyway",
         {0, 3, 3},
         "  track   0: 3 records (sector counts 0 to 3)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Disk disk;
        for (int r = 1; r <= 3; ++r) {
            disk.tracks[0].push_back(WithCount(Full(0, 0, r, 1), c.counts[r - 1]));
        }
        const RunResult run = RunInfo(BuildDisk(disk));
        ASSERT_EQ(run.status, 0);
        EXPECT_NE(run.out.find(c.line + ", C 0 H 0, N 1, R 1 2"), std::string::npos) << run.out;
    }
}

TEST(Info, SaysWhatIsOddAboutADisk) {
    Disk plain;
    plain.tracks[0] = StandardTrack(0);
    const Bytes one = BuildDisk(plain);
    const std::string start = "disk 0: name \"TEST\", media 0x00 (2D)";
    Disk guarded = plain;
    guarded.writeProtect = 0x10;
    Disk claimsMore = plain;
    claimsMore.diskSize = static_cast<std::uint32_t>(one.size() + 1000);
    Bytes trailing = one;
    trailing.resize(one.size() + 100, 0);
    Disk second = plain;
    second.diskSize = 100;
    const struct {
        const char* what;
        Bytes bytes;
        std::string line;
    } cases[] = {
        {"write-protected", BuildDisk(guarded), start + ", write-protected (0x10)"},
        {"a size field past the end of the file", BuildImage({plain, claimsMore}),
         "disk 1: name \"TEST\", media 0x00 (2D), size field " + std::to_string(one.size() + 1000) +
             " bytes, " + std::to_string(one.size()) + " to the end of the file"},
        {"bytes after the last disk that make no disk", trailing,
         start + ", size field " + std::to_string(one.size()) +
             " bytes, then 100 bytes that make no disk"},
        {"a second disk's size field smaller than its header", BuildImage({plain, second}),
         "disk 1: name \"TEST\", media 0x00 (2D), size field 100 bytes, less than its header"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RunResult run = RunInfo(c.bytes);
        ASSERT_EQ(run.status, 0);
        EXPECT_TRUE(HasLine(Lines(run.out), c.line)) << run.out;
        EXPECT_EQ(run.out.find("does not look like"), std::string::npos) << run.out;
    }
}

TEST(Info, CleanImagesShowNoneOfTheMarks) {
    for (const Bytes& bytes : {BuildDisk(Standard2D(true)), BuildDisk(PlanDisk()),
                               BuildImage({Standard2D(), Standard2D(true)})}) {
        const RunResult run = RunInfo(bytes);
        ASSERT_EQ(run.status, 0);
        for (const std::string& line : Lines(run.out)) {
            EXPECT_EQ(line.find("does not look"), std::string::npos) << line;
            if (line.rfind("  track", 0) == 0) {
                EXPECT_EQ(line.find_first_of("()"), std::string::npos) << line;
            }
            if (line.rfind("disk", 0) == 0) {
                EXPECT_EQ(line.find("write-protected"), std::string::npos) << line;
                EXPECT_EQ(line.find("size field"), std::string::npos) << line;
            }
        }
    }
}

TEST(Info, GivesAVerdictOnFilesThatAreNotD88Images) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::mt19937 random(88);
    while (png.size() < 4000) {
        png.push_back(static_cast<std::uint8_t>(random()));
    }
    std::string prose;
    while (prose.size() < 3000) {
        prose += "A floppy-disk image is not a text file, and this is not an image. ";
    }
    Disk noTracks;
    Disk emptyTracks;
    emptyTracks.tracks[0] = {Record(0, 0, 1, 1)};
    emptyTracks.tracks[0][0].count = 0;
    const struct {
        const char* what;
        Bytes bytes;
        std::string reason;
    } cases[] = {
        {"a PNG picture", png, "its disk-size field is larger than the file"},
        {"a text file", Bytes(prose.begin(), prose.end()),
         "its disk-size field is larger than the file"},
        {"a file shorter than a header", Bytes(100, 'x'), "the file is shorter than a disk header"},
        {"a bare disk header", BuildDisk(noTracks), "no track-table entry points inside the disk"},
        {"tracks without a readable record", BuildDisk(emptyTracks),
         "no track holds a readable record"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RunResult run = RunInfo(c.bytes);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[1], "disk 0 does not look like a D88 image: " + c.reason);
        // What can be printed still is.
        EXPECT_TRUE(HasLine(lines, "what d88cut would write from disk 0:")) << run.out;
    }
}

TEST(Info, DecodesShiftJis) {
    const struct {
        const char* what;
        std::string bytes;
        bool decodes;
        std::string text;
    } cases[] = {
        {"kana and a long vowel", "\x83\x51\x81\x5B\x83\x80 1", true,
         "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0 1"},
        {"half-width kana", "\xB6\xDE", true, "\xEF\xBD\xB6\xEF\xBE\x9E"},
        {"a lead byte without its trail", "\x83", false, ""},
        {"a byte that is no character", "\x83\xFF", false, ""},
        {"a control character", "A\x01", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = "left over";
        EXPECT_EQ(DecodeShiftJis(c.bytes, text), c.decodes);
        EXPECT_EQ(text, c.text);
    }
}

TEST(Info, ShowsShiftJisNamesAsTextOnAUtf8Console) {
#ifdef _WIN32
    GTEST_SKIP() << "the console's code page, not the locale, decides on Windows";
#endif
    // "ゲーム 1" in Shift_JIS and in UTF-8.
    const std::string game = "\x83\x51\x81\x5B\x83\x80 1";
    const std::string utf8 = "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0 1";
    const struct {
        const char* what;
        std::string name;
        std::string locale;
        std::string shown;
    } cases[] = {
        {"a UTF-8 locale", game, "C.UTF-8", utf8},
        {"the C locale", game, "C", "\\x83Q\\x81[\\x83\\x80 1"},
        {"a name that does not decode", "\x83\xFF", "C.UTF-8", "\\x83\\xFF"},
        {"a quote in a decoded name", game + "\"", "C.UTF-8", utf8 + "\\x22"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Disk disk;
        disk.name = c.name;
        disk.tracks[0] = StandardTrack(0);
        const RunResult run = RunInfo(BuildDisk(disk), c.locale);
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(Lines(run.out).at(1), "disk 0: name \"" + c.shown + "\", media 0x00 (2D)");
    }
}

TEST(Info, SaysWhatD88CutWouldWriteOfEachItem) {
    const struct {
        const char* what;
        std::function<void(Disk&)> change;
        std::string item;
        std::string line;
    } cases[] = {
        {"track 2 missing", [](Disk& d) { d.tracks.erase(2); }, "PROG",
         "  PROG  32768 bytes, track 2 C 1 H 0 R 1 to track 9 C 4 H 1 R 16: skipped; "
         "track 2 C 1 H 0 R 1 N 1 not found"},
        {"PROG stops at a missing track", [](Disk& d) { d.tracks.erase(9); }, "PROG",
         "  PROG  32768 bytes, track 2 C 1 H 0 R 1 to track 9 C 4 H 1 R 16: cut short, 28672 of "
         "32768 bytes read, the rest zeros; "
         "track 9 C 4 H 1 R 1 N 1 not found"},
        {"the last sector of MUS06 missing", [](Disk& d) { MustRemove(d, 27, 14); }, "MUS06",
         "  MUS06   768 bytes, track 27 C 13 H 1 R 12 to track 27 C 13 H 1 R 14: cut short, 512 of "
         "768 bytes read, the rest zeros; "
         "track 27 C 13 H 1 R 14 N 1 not found"},
        {"MUS07 missing its sector on track 28", [](Disk& d) { MustRemove(d, 28, 1); }, "MUS07",
         "  MUS07   768 bytes, track 27 C 13 H 1 R 15 to track 28 C 14 H 0 R 1: cut short, 512 of "
         "768 bytes read, the rest zeros; "
         "track 28 C 14 H 0 R 1 N 1 not found"},
        {"a first sector shorter than 256 bytes",
         [](Disk& d) { MustFind(d, 27, 5).data.resize(255); }, "MUS02",
         "  MUS02   256 bytes, track 27 C 13 H 1 R 5 to track 27 C 13 H 1 R 5: skipped; track 27 C "
         "13 H 1 R 5 N 1 holds only 255 of 256 bytes"},
        {"a first sector of the wrong size code", [](Disk& d) { MustFind(d, 29, 1).n = 2; }, "OP",
         "  OP     3840 bytes, track 29 C 14 H 1 R 1 to track 29 C 14 H 1 R 15: skipped; track 29 "
         "C 14 H 1 R 1 N 1 not found"},
        {"a sector on the wrong side", [](Disk& d) { MustFind(d, 29, 15).h = 0; }, "OP",
         "  OP     3840 bytes, track 29 C 14 H 1 R 1 to track 29 C 14 H 1 R 15: cut short, 3584 of "
         "3840 bytes read, the rest zeros; "
         "track 29 C 14 H 1 R 15 N 1 not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Disk disk = Standard2D(true);
        c.change(disk);
        TempDir cwd;
        const std::string image = cwd.File("image.d88");
        WriteFile(image, BuildDisk(disk));
        const RunResult info = RunProgram(D88InfoPath(), {"d88info", image}, cwd.Path());
        ASSERT_EQ(info.status, 0);
        const std::vector<std::string> lines = Lines(info.out);
        EXPECT_EQ(ItemLine(lines, c.item), c.line);

        // d88cut, on the same image, writes exactly the items not skipped.
        const RunResult cut = RunD88Cut({D88CutPath(), image}, cwd.Path());
        ASSERT_EQ(cut.status, 0);
        const Plan plan = MakePlan();
        for (std::int32_t i = 0; i < plan.count; ++i) {
            const std::string name = plan.items[i].name;
            const std::string line = ItemLine(lines, name);
            if (name != c.item) {
                EXPECT_NE(line.find(": cut whole"), std::string::npos) << line;
            }
            EXPECT_EQ(Exists(cwd.File(name)), line.find(": skipped") == std::string::npos) << line;
        }
    }
}

TEST(Info, ImagesWithoutADisk0SkipEveryItem) {
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty file", {}},
        {"a partial header", Bytes(kDiskHeaderSize - 1, 0x41)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RunResult run = RunInfo(c.bytes);
        EXPECT_EQ(run.status, 0);
        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), 3u + kPlanSize) << run.out;
        EXPECT_EQ(lines[0], "0 disks");
        EXPECT_EQ(lines[1],
                  "disk 0 does not look like a D88 image: the file is shorter than a disk header");
        EXPECT_EQ(lines[3],
                  "  PROG  32768 bytes, track 2 C 1 H 0 R 1 to track 9 C 4 H 1 R 16: skipped; "
                  "there is no disk 0");
        EXPECT_EQ(lines.back(),
                  "  MUS09   512 bytes, track 28 C 14 H 0 R 5 to track 28 C 14 H 0 R 6: skipped; "
                  "there is no disk 0");
    }
}

TEST(Info, CommandLineErrorsGiveOneLineAndStatus1) {
    TempDir cwd;
    WriteFile(cwd.File("image.d88"), BuildDisk(PlanDisk()));
    RunOptions lost;
    lost.unwritableOutput = true;
    const struct {
        const char* what;
        std::vector<std::string> argv;
        RunOptions options;
        std::string err;
    } cases[] = {
        {"no argument", {"d88info"}, {}, "Usage: d88info d88file\n"},
        {"two arguments", {"./d88info", "a.d88", "b.d88"}, {}, "Usage: ./d88info d88file\n"},
        {"a missing image",
         {"d88info", "missing.d88"},
         {},
         "d88info: cannot open missing.d88: No such file or directory\n"},
        {"a directory", {"d88info", "."}, {}, "d88info: cannot open .: Is a directory\n"},
        {"an option it does not know", {"d88info", "-x"}, {}, "Usage: d88info d88file\n"},
        {"an option and a file",
         {"d88info", "--help", "image.d88"},
         {},
         "Usage: d88info d88file\n"},
        {"output that cannot be written",
         {"d88info", "image.d88"},
         lost,
#ifdef _WIN32
         "d88info: cannot write the output: Bad file descriptor\n"},
#else
         "d88info: cannot write the output: No space left on device\n"},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RunResult run = RunProgram(D88InfoPath(), c.argv, cwd.Path(), c.options);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
    }
}

TEST(Info, HelpVersionAndAFileNamedLikeAnOption) {
    TempDir cwd;
    WriteFile(cwd.File("-x"), BuildDisk(PlanDisk()));
    const RunResult help = RunProgram(D88InfoPath(), {"d88info", "--help"}, cwd.Path());
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("Usage: d88info d88file\nShows the disks of a D88", 0), 0u)
        << help.out;
    const RunResult version = RunProgram(D88InfoPath(), {"d88info", "--version"}, cwd.Path());
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "d88info 1.1.0\n");
    const RunResult file = RunProgram(D88InfoPath(), {"d88info", "-x"}, cwd.Path());
    EXPECT_EQ(file.status, 0) << file.err;
    EXPECT_EQ(file.out.rfind("1 disk\ndisk 0: name \"PLAN\"", 0), 0u) << file.out;
}

}  // namespace
}  // namespace d88test
