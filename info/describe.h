#pragma once
// What d88info prints about an image: every disk with its name, media type
// and the record IDs of each track, then, for disk 0, what d88cut would make
// of each item of its plan.

#include <cstdio>

#include "image/d88image.h"

// Longest list shown for one track; real tracks hold a few dozen records at
// most, and a walk that goes on past this is cut off with "...".
constexpr int kMaxListedRecords = 256;

// Writes the description to out as plain ASCII. The image must be open; the
// disk selection and sector range are left changed.
void DescribeImage(D88Image& image, std::FILE* out);
