#include "kit/content/ContentWriter.h"

#include "kit/content/ContentPictures.h"

namespace kit
{
ContentWriter::ContentWriter(DemoArchives& archives, std::string& error)
    : archives_(archives), error_(error)
{
}

bool ContentWriter::FirstTime(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
    {
        if (c >= 'A' && c <= 'Z')
        {
            c = static_cast<char>(c + 32);
        }
    }
    return added_.insert(folded).second;
}

bool ContentWriter::Object(std::string_view name, const Mesh& mesh)
{
    return !Ok() || !FirstTime(name) ? Ok() : ObjectFile(name, WriteObjectFile(mesh));
}

bool ContentWriter::ObjectFile(std::string_view name, std::span<const uint8_t> bytes)
{
    return Ok() && archives_.objects.Add(name, bytes, MemberStorage::Smaller, error_);
}

bool ContentWriter::Picture(std::string_view name, const RgbaPicture& picture)
{
    return !Ok() || !FirstTime(name) ? Ok() : TextureFile(name, PictureFile(name, picture));
}

bool ContentWriter::TextureFile(std::string_view name, std::span<const uint8_t> bytes)
{
    return Ok() && archives_.textures.Add(name, bytes, MemberStorage::Smaller, error_);
}
}  // namespace kit
