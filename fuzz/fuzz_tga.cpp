// TGA decoder on arbitrary bytes.
#include "formats/images.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TgaImage image;
    if (decodeTga(data, size, &image)) {
        unsigned sum = 0;
        for (size_t i = 0; i < size_t(image.width) * image.height * image.bytesPerPixel; i++)
            sum += image.pixels[i];
        (void)sum;
        delete[] image.pixels;
    }
    return 0;
}
