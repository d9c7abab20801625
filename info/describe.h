#pragma once
// What d88info prints about an image: whether it looks like a D88 image at
// all, every disk with its name, media type and odd header fields, the
// records of each track with what is odd about them, then, for disk 0, what
// d88cut would make of each item of its plan and which sectors it reads.

#include <cstdint>
#include <cstdio>
#include <string>

#include "image/d88image.h"

// Longest list shown for one track; real tracks hold a few dozen records at
// most, and a walk that goes on past this is cut off with "...".
constexpr int kMaxListedRecords = 256;

struct DescribeOptions {
    // The size of the image file in bytes, or -1 where it is not known.
    std::int64_t fileSize = -1;
    // Disk names are decoded from Shift_JIS and written as UTF-8 where they
    // decode; otherwise every byte past ASCII is written as \xNN.
    bool utf8Names = false;
};

// Writes the description to out as lines of printable ASCII, UTF-8 text
// appearing only inside a decoded disk name. The image must be open; the
// disk selection and sector range are left changed.
void DescribeImage(D88Image& image, const DescribeOptions& options, std::FILE* out);

// The text of a Shift_JIS string as UTF-8; false, and `text` empty, when it
// does not decode or holds a control character.
bool DecodeShiftJis(const std::string& bytes, std::string& text);
