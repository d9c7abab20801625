// d88cut: cuts PROG, OP and MUS00 to MUS09 out of disk 0 of a D88 image.

#include <cstdint>
#include <cstdio>

#include "tool/console.h"
#include "tool/cut.h"

namespace {

// "ファイルをオープンできません.\n" in Shift_JIS.
constexpr char kOpenFailure[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xF0\x83\x49\x81\x5B\x83\x76\x83\x93"
    "\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1.\n";

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s [d88file]\n", ProgramName(argc, argv, "d88cut"));
        return 1;
    }
    if (!g_image.Open(argv[1])) {
        std::fputs(kOpenFailure, stderr);
        return 1;
    }
    // The result is ignored on purpose: without disk 0 no sector reads, every
    // item is skipped, and that is still a run that did its job.
    g_image.SelectDisk(0);
    g_image.SetSectorRange(kFirstSector, kLastSector);

    const Plan plan = MakePlan();
    for (std::int32_t i = 0; i < plan.count; ++i) {
        const PlanItem& item = plan.items[i];
        CutFile(item.name, item.track, item.c, item.h, item.r, item.n, item.skip, item.length);
    }
    // The progress lines are part of the result: losing them is a failure.
    const bool outputWritten = FinishOutput("d88cut");
    return g_writeFailed || !outputWritten ? 1 : 0;
}
