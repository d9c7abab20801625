#pragma once
// The twelve items that d88cut cuts out of disk 0, in cutting order. d88info
// reports on the same items, so both read them from here.

#include <cstdint>

#include "image/d88image.h"

// The plan's disks number the sectors of every track from kFirstSector to
// kLastSector.
constexpr std::int32_t kSectorsPerTrack = kLastSector - kFirstSector + 1;

// One item: the address of its first sector, the bytes read and dropped at
// the front, and the bytes that make its file.
struct PlanItem {
    char name[16];
    std::int32_t track;
    std::int32_t c;
    std::int32_t h;
    std::int32_t r;
    std::int32_t n;
    std::int32_t skip;
    std::int32_t length;
};

// What d88cut can hold of one item: skip + length must not exceed it.
constexpr std::int32_t kCutBufferSize = 1025024;

// True when skip and length are not negative and skip + length fits
// kCutBufferSize; d88cut cuts nothing else.
constexpr bool FitsCutBuffer(std::int32_t skip, std::int32_t length) {
    return skip >= 0 && length >= 0 && skip <= kCutBufferSize - length;
}

// PROG, OP and MUS00 to MUS09.
constexpr std::int32_t kPlanSize = 12;

struct Plan {
    PlanItem items[kPlanSize];
    std::int32_t count;
};

// The items in cutting order. MUS items are numbered by their row of the
// table, so a name never shifts when an earlier item is not cut.
Plan MakePlan();
