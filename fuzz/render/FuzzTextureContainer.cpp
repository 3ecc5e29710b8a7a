// Loads the input as a texture container: each picture it holds becomes the table texture of
// its index and is downloaded.

#include <cstddef>
#include <cstdint>

#include "fuzz/support/FuzzInputFile.h"
#include "fuzz/support/FuzzScreen.h"
#include "render/RenderApi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FuzzInputFile file("fuzz.tex");
    OpenFuzzScreen();
    SilenceMessages();
    file.Hold(data, size);
    rdll_LoadTextureImage(file.Path().c_str());
    rdll_Free();
    return 0;
}
