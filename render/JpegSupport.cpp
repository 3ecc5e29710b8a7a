#include "render/JpegSupport.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "core/util/LittleEndian.h"
#include "render/ImageBuffer.h"

namespace
{

constexpr uint32_t kBitmapHeaderSize = 54;
// Damaged progressive files can ask for endless scans; real pictures have a handful.
constexpr int kMaxScans = 500;

struct JpegErrors
{
    jpeg_error_mgr manager;
    std::jmp_buf exit;
};

[[noreturn]] void ExitDecoding(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->exit, 1);
}

void IgnoreMessage(j_common_ptr /*info*/, int /*level*/) {}

void LimitScans(j_common_ptr info)
{
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
    {
        ExitDecoding(info);
    }
}

uint32_t BitmapStride(uint32_t width)
{
    return (width * 3 + 3) & ~3u;
}

void WriteBitmapHeader(uint8_t* bitmap, uint32_t width, uint32_t height)
{
    const uint32_t pixelBytes = BitmapStride(width) * height;
    std::memset(bitmap, 0, kBitmapHeaderSize);
    bitmap[0] = 'B';
    bitmap[1] = 'M';
    StoreLe32(bitmap + 2, kBitmapHeaderSize + pixelBytes);
    StoreLe32(bitmap + 10, kBitmapHeaderSize);
    StoreLe32(bitmap + 14, 40);
    StoreLe32(bitmap + 18, width);
    StoreLe32(bitmap + 22, height);
    StoreLe16(bitmap + 26, 1);
    StoreLe16(bitmap + 28, 24);
    StoreLe32(bitmap + 34, pixelBytes);
    StoreLe32(bitmap + 38, 2834);
    StoreLe32(bitmap + 42, 2834);
}

// Decoded rows are red, green, blue; the bitmap stores blue first and its bottom row first.
void ReadRows(jpeg_decompress_struct& info, uint8_t* bitmap)
{
    const uint32_t stride = BitmapStride(info.output_width);
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW row =
            bitmap + kBitmapHeaderSize +
            static_cast<size_t>(stride) * (info.output_height - 1 - info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
        for (uint32_t x = 0; x < info.output_width; ++x)
        {
            std::swap(row[3 * x], row[3 * x + 2]);
        }
        std::memset(row + 3 * info.output_width, 0, stride - 3 * info.output_width);
    }
}

}  // namespace

void* JPEGSUPP_JpegBitmapAllocateFromMemoryBlockToDib(const void* image, uint32_t length)
{
    if (image == nullptr || length == 0)
    {
        return nullptr;
    }
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    jpeg_progress_mgr progress{};
    // Written after setjmp and read after a jump back, so kept in memory.
    uint8_t* volatile bitmap = nullptr;

    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = ExitDecoding;
    errors.manager.emit_message = IgnoreMessage;
    if (setjmp(errors.exit) != 0)
    {
        jpeg_destroy_decompress(&info);
        std::free(bitmap);
        return nullptr;
    }
    jpeg_create_decompress(&info);
    progress.progress_monitor = LimitScans;
    info.progress = &progress;
    jpeg_mem_src(&info, static_cast<const unsigned char*>(image), length);
    jpeg_read_header(&info, TRUE);
    if (info.image_width > static_cast<JDIMENSION>(render::kMaxPictureSide) ||
        info.image_height > static_cast<JDIMENSION>(render::kMaxPictureSide))
    {
        ExitDecoding(reinterpret_cast<j_common_ptr>(&info));
    }
    info.out_color_space = JCS_RGB;
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
    if (info.output_components != 3)
    {
        ExitDecoding(reinterpret_cast<j_common_ptr>(&info));
    }
    bitmap = static_cast<uint8_t*>(
        std::malloc(kBitmapHeaderSize +
                    static_cast<size_t>(BitmapStride(info.output_width)) * info.output_height));
    if (bitmap == nullptr)
    {
        ExitDecoding(reinterpret_cast<j_common_ptr>(&info));
    }
    WriteBitmapHeader(bitmap, info.output_width, info.output_height);
    ReadRows(info, bitmap);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return bitmap;
}

void JPEGSUPP_JpegBitmapFreeRawImage(void* bitmap)
{
    std::free(bitmap);
}
