// libFuzzer target: the input is an image file, described as d88info
// describes it. Whatever the image holds, the description must be plain
// ASCII lines: one count line, then disk, track and item lines.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/memory_file.h"
#include "image/d88image.h"
#include "info/describe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    file.Set(data, size);

    D88Image image;
    Check(image.Open(file.path), "Open");
    char* text = nullptr;
    std::size_t length = 0;
    std::FILE* out = open_memstream(&text, &length);
    Check(out != nullptr, "open_memstream");
    DescribeImage(image, out);
    Check(std::fclose(out) == 0, "fclose");

    Check(length > 0 && text[length - 1] == '\n', "ends with a line break");
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        Check(byte == '\n' || (byte >= 0x20 && byte <= 0x7E), "plain ASCII");
    }
    std::free(text);
    return 0;
}
