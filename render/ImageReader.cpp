#include "render/ImageReader.h"

#include <string>

#include "core/archive/DAFile.h"
#include "render/ImageBuffer.h"
#include "render/RenderMessages.h"

namespace render
{

bool ImageReader::LoadMember(std::string_view name, ImageDecoder decode)
{
    if (buffer_ == nullptr)
    {
        return false;
    }
    bool loaded = false;
    DAFile file(buffer_->Archive());
    if (file.Open(name))
    {
        const int32_t length = file.GetLength();
        if (length > 0)
        {
            const std::span<uint8_t> image = buffer_->RequestWork(static_cast<size_t>(length));
            const bool read = file.Read(image.data(), static_cast<uint32_t>(length)) ==
                              static_cast<uint32_t>(length);
            file.Close();
            loaded = read && DecodeImage(image, decode);
        }
    }
    if (!loaded)
    {
        ShowRenderMessage("Unable to load " + std::string(name) + ".");
    }
    return loaded;
}

bool ImageReader::ReadEntry(const TextureImageEntry& entry, DAFile& file, ImageDecoder decode)
{
    if (buffer_ == nullptr)
    {
        return false;
    }
    const std::span<uint8_t> image = buffer_->RequestWork(entry.size);
    return file.Read(image.data(), entry.size) == entry.size && DecodeImage(image, decode);
}

bool ImageReader::DecodeImage(std::span<const uint8_t> image, ImageDecoder decode)
{
    std::string reason;
    return buffer_ != nullptr && decode(image, *buffer_, reason);
}

}  // namespace render
