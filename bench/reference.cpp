// The benchmark's yardstick: the least a program doing d88cut's job must do.
// It reads the whole image into memory once, finds the same sectors by ID
// and writes the same twelve files. Valid images only; no hardening.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const std::uint8_t* g_image = nullptr;
long g_size = 0;
std::uint8_t g_buffer[0x8000];

std::uint32_t U32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// The data of sector (C, H, R, N 1) of a track of disk 0, or null.
const std::uint8_t* Find(int track, int c, int h, int r) {
    long at = U32(g_image + 0x20 + 4 * track);
    if (at == 0) {
        return nullptr;
    }
    for (long i = 0; at + 16 <= g_size; ++i) {
        const std::uint8_t* record = g_image + at;
        const std::uint16_t count = U16(record + 4);
        const std::uint16_t size = U16(record + 14);
        if (count == 0) {
            return nullptr;
        }
        if (record[0] == c && record[1] == h && record[2] == r && record[3] == 1) {
            return size >= 256 && at + 16 + 256 <= g_size ? record + 16 : nullptr;
        }
        at += 16 + size;
        if (i == count - 1) {
            return nullptr;
        }
    }
    return nullptr;
}

void Cut(const char* name, int track, int r, int length) {
    int got = 0;
    for (; got < length; got += 256) {
        const std::uint8_t* data = Find(track, track / 2, track % 2, r);
        if (data == nullptr) {
            break;
        }
        std::memcpy(g_buffer + got, data, 256);
        if (r == 16) {
            ++track;
            r = 1;
        } else {
            ++r;
        }
    }
    if (got == 0) {
        return;
    }
    std::memset(g_buffer + got, 0, static_cast<std::size_t>(length - got));
    std::printf("cutting ... %s\n", name);
    std::FILE* out = std::fopen(name, "wb");
    if (out != nullptr) {
        std::fwrite(g_buffer, 1, static_cast<std::size_t>(length), out);
        std::fclose(out);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        return 1;
    }
    std::FILE* in = std::fopen(argv[1], "rb");
    if (in == nullptr || std::fseek(in, 0, SEEK_END) != 0 || (g_size = std::ftell(in)) < 0x2B0 ||
        std::fseek(in, 0, SEEK_SET) != 0) {
        return 1;
    }
    std::uint8_t* image = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(g_size)));
    if (image == nullptr || std::fread(image, 1, static_cast<std::size_t>(g_size), in) !=
                                static_cast<std::size_t>(g_size)) {
        return 1;
    }
    std::fclose(in);
    g_image = image;

    Cut("PROG", 2, 1, 0x8000);
    Cut("OP", 29, 1, 0xF00);
    const int mus[][2] = {{432, 512}, {434, 512}, {436, 256}, {437, 256}, {438, 512},
                          {440, 768}, {443, 768}, {446, 768}, {449, 768}, {452, 512}};
    for (int i = 0; i < 10; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "MUS%02d", i);
        Cut(name, mus[i][0] / 16, mus[i][0] % 16 + 1, mus[i][1]);
    }
    std::free(image);
    return 0;
}
