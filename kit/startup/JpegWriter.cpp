#include "kit/startup/JpegWriter.h"

#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>

#include <jpeglib.h>

namespace kit
{
namespace
{
// Takes the encoder's buffer and frees it however the encoding ends.
struct EncodedBuffer
{
    unsigned char* bytes = nullptr;
    unsigned long size = 0;

    ~EncodedBuffer() { std::free(bytes); }
};
}  // namespace

std::optional<std::vector<uint8_t>> WriteJpeg(const RgbaPicture& picture, int quality)
{
    const size_t pixelCount = static_cast<size_t>(picture.width) * picture.height;
    if (picture.width <= 0 || picture.height <= 0 || picture.rgba.size() != pixelCount * 4)
    {
        return std::nullopt;
    }
    jpeg_compress_struct encoder{};
    jpeg_error_mgr errors{};
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    EncodedBuffer encoded;
    jpeg_mem_dest(&encoder, &encoded.bytes, &encoded.size);

    encoder.image_width = static_cast<JDIMENSION>(picture.width);
    encoder.image_height = static_cast<JDIMENSION>(picture.height);
    encoder.input_components = 3;
    encoder.in_color_space = JCS_RGB;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, quality, TRUE);
    jpeg_start_compress(&encoder, TRUE);

    std::vector<JSAMPLE> row(static_cast<size_t>(picture.width) * 3);
    while (encoder.next_scanline < encoder.image_height)
    {
        const uint8_t* source =
            picture.rgba.data() + static_cast<size_t>(encoder.next_scanline) * picture.width * 4;
        for (size_t x = 0; x < static_cast<size_t>(picture.width); ++x)
        {
            row[3 * x] = source[4 * x];
            row[3 * x + 1] = source[4 * x + 1];
            row[3 * x + 2] = source[4 * x + 2];
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&encoder, rows, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    return std::vector<uint8_t>(encoded.bytes, encoded.bytes + encoded.size);
}
}  // namespace kit
