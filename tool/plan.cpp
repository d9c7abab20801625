#include "tool/plan.h"

#include <cstdio>

namespace {

// One MUS item: its first sector counted from track 0, R 1, and its size in
// bytes.
struct CutEntry {
    std::int32_t sector;
    std::int32_t length;
};

// Ends with a row whose sector is -1.
const CutEntry kMusTable[] = {
    {432, 512}, {434, 512}, {436, 256}, {437, 256}, {438, 512}, {440, 768},
    {443, 768}, {446, 768}, {449, 768}, {452, 512}, {-1, -1},
};

}  // namespace

Plan MakePlan() {
    Plan plan = {
        {
            {"PROG", 2, 1, 0, 1, 1, 0, 0x8000},
            {"OP", 29, 14, 1, 1, 1, 0, 0xF00},
        },
        2,
    };
    std::int32_t number = 0;
    for (const CutEntry* entry = kMusTable; entry->sector > 0 && plan.count < kPlanSize;
         ++entry, ++number) {
        // The plan's own sectors to a track, whatever range a reader is set to.
        const std::int32_t track = entry->sector / kSectorsPerTrack;
        PlanItem& item = plan.items[plan.count++];
        std::snprintf(item.name, sizeof item.name, "MUS%02d", static_cast<int>(number));
        item.track = track;
        item.c = track / 2;
        item.h = track % 2;
        item.r = entry->sector % kSectorsPerTrack + kFirstSector;
        item.n = 1;
        item.skip = 0;
        item.length = entry->length;
    }
    return plan;
}
