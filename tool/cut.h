#pragma once
// The writer that turns each item of the plan into a file.

#include <cstdint>
#include <cstdio>

#include "image/d88image.h"
#include "tool/plan.h"

// The one image of the run; destroying it after main closes the file.
extern D88Image g_image;

// Every item is assembled here from its first byte on.
extern std::uint8_t g_cutBuffer[kCutBufferSize];

// Open only inside one CutFile call.
extern std::FILE* g_outFile;

// Set once an output file could not be created, written or closed.
extern bool g_writeFailed;

// Reads skip + length bytes from the sectors starting at the given address
// and writes the last length of them to the file name in the current
// directory, replacing it. Bytes past a sector that could not be read are
// written as zeros. Returns false, and touches no file, when not even the
// first sector could be read or skip + length does not fit g_cutBuffer; a
// failed write is reported on standard error and through g_writeFailed.
bool CutFile(const char* name, std::int32_t track, std::int32_t c, std::int32_t h, std::int32_t r,
             std::int32_t n, std::int32_t skip, std::int32_t length);
