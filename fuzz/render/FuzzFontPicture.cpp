// Makes fonts of every kind from a picture of glyph cells and measures text with them. The
// input gives, in this order: the picture's width and height (a byte each, plus 1), the cell
// width and height (a byte each), the spacing (a signed byte), the font's characters (up to a
// zero byte) and the picture's pixels (RGB 5-6-5, missing ones black).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "render/RenderApi.h"

namespace
{
constexpr size_t kHeaderBytes = 5;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < kHeaderBytes)
    {
        return 0;
    }
    const int32_t width = data[0] + 1;
    const int32_t height = data[1] + 1;
    const int32_t cellWidth = data[2];
    const int32_t cellHeight = data[3];
    const auto spacing = static_cast<int8_t>(data[4]);
    const uint8_t* rest = data + kHeaderBytes;
    const size_t restSize = size - kHeaderBytes;
    const uint8_t* end = std::find(rest, rest + restSize, 0);
    const std::string characters(rest, end);
    const size_t pixelStart = std::min(restSize, static_cast<size_t>(end - rest) + 1);

    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 2);
    std::memcpy(pixels.data(), rest + pixelStart, std::min(pixels.size(), restSize - pixelStart));
    Texture* picture = nullptr;
    rdll_CreateBitmap(&picture, width, height, kTextureFormatRgb565);
    if (picture == nullptr)
    {
        return 0;
    }
    if (auto* target = static_cast<uint8_t*>(rdll_LockTexture(picture)))
    {
        for (int32_t y = 0; y < height; ++y)
        {
            std::memcpy(target + static_cast<size_t>(y) * picture->stride,
                        pixels.data() + static_cast<size_t>(y) * width * 2,
                        static_cast<size_t>(width) * 2);
        }
        rdll_UnlockTexture(picture);
    }
    for (auto* create : {&rdll_CreateFixed, &rdll_CreateProportional, &rdll_CreateKerning})
    {
        GameFont* font = create(characters.c_str(), picture, cellWidth, cellHeight, spacing);
        if (font != nullptr)
        {
            rdll_SetDrawTextVars(nullptr, font);
            rdll_StrLen(characters.c_str());
            rdll_SetDrawTextVars(nullptr, nullptr);
            rdll_FreeGameFont(font);
        }
    }
    rdll_FreeMemoryTexture(picture);
    return 0;
}
