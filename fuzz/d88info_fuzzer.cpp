// libFuzzer target: the input is an image file, described as d88info
// describes it, with disk names decoded from Shift_JIS on every other input.
// Whatever the image holds, the description must be lines of printable
// ASCII, with UTF-8 text only inside the quotes of a decoded disk name.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/memory_file.h"
#include "image/d88image.h"
#include "info/describe.h"

namespace {

// The length of the UTF-8 sequence at `text`, or 0 when there is none.
std::size_t Utf8Length(const unsigned char* text, std::size_t left) {
    std::size_t length = text[0] >= 0xF0 ? 4 : text[0] >= 0xE0 ? 3 : text[0] >= 0xC2 ? 2 : 0;
    if (length == 0 || length > left || text[0] > 0xF4) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((text[i] & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

void CheckLine(const unsigned char* line, std::size_t length, bool utf8Names) {
    // Only a disk line holds a name: from `name "` to the quote closing it.
    const char* opening = "name \"";
    std::size_t nameStart = length;
    std::size_t nameEnd = length;
    if (utf8Names && length > 5 && std::memcmp(line, "disk ", 5) == 0) {
        for (std::size_t i = 0; i + 6 <= length; ++i) {
            if (std::memcmp(line + i, opening, 6) == 0) {
                nameStart = i + 6;
                break;
            }
        }
        for (std::size_t i = nameStart; i < length; ++i) {
            if (line[i] == '"') {
                nameEnd = i;
                break;
            }
        }
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (line[i] >= 0x20 && line[i] <= 0x7E) {
            continue;
        }
        const std::size_t sequence = Utf8Length(line + i, nameEnd - i);
        Check(i >= nameStart && i < nameEnd && sequence > 0, "printable ASCII outside a name");
        i += sequence - 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    file.Set(data, size);

    D88Image image;
    Check(image.Open(file.path), "Open");
    char* text = nullptr;
    std::size_t length = 0;
    std::FILE* out = open_memstream(&text, &length);
    Check(out != nullptr, "open_memstream");
    DescribeOptions options;
    options.fileSize = static_cast<std::int64_t>(size);
    options.utf8Names = size % 2 == 1;
    DescribeImage(image, options, out);
    Check(std::fclose(out) == 0, "fclose");

    Check(length > 0 && text[length - 1] == '\n', "ends with a line break");
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t start = 0; start < length;) {
        const void* end = std::memchr(bytes + start, '\n', length - start);
        const std::size_t stop =
            static_cast<std::size_t>(static_cast<const unsigned char*>(end) - bytes);
        CheckLine(bytes + start, stop - start, options.utf8Names);
        start = stop + 1;
    }
    std::free(text);
    return 0;
}
