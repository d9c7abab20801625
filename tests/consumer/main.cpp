// Prints the first line (28 bytes) of track 2's sector R 1 of an image's disk 0.

#include <d88image/d88image.h>

#include <cstdint>
#include <cstdio>

int main(int argc, char* argv[]) {
    D88Image image;
    std::uint8_t data[256];
    if (argc != 2 || !image.Open(argv[1]) || !image.SelectDisk(0) ||
        image.ReadSector(2, 1, 0, 1, 1, data, sizeof data) != 256) {
        return 1;
    }
    std::fwrite(data, 1, 28, stdout);
    return 0;
}
