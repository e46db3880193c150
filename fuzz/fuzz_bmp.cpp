// Bitmap decoder on arbitrary bytes: refuse or decode, never read past the data.
#include <cstring>
#include <memory>

#include "platform/sys.h"
#include "formats/images.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Sys_SetAutoAnswer(IDOK); // refusal messages go to standard error, nothing waits
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    RgbImage *image = decodeDib(data, size, "fuzz.bmp", true);
    if (image) {
        // Touch every byte so a short buffer shows up.
        unsigned sum = 0;
        size_t pixels = size_t(image->width) * image->height;
        for (size_t i = 0; i < pixels * 3; i++)
            sum += image->data[i];
        for (size_t i = 0; image->alpha && i < pixels; i++)
            sum += image->alpha[i];
        (void)sum;
        freeRgbImage(image);
    }
    return 0;
}
