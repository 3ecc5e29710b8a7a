#pragma once

// Adds the race content's members to the objects and textures archives, each name once: the
// archives find members whatever their case, so names that differ only in case are one member.
// The first failure is kept in the error text and ends every later add.

#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "kit/DemoInstallation.h"
#include "kit/picture/Picture.h"
#include "kit/world/ObjectFileWriter.h"

namespace kit
{
class ContentWriter
{
public:
    ContentWriter(DemoArchives& archives, std::string& error);

    bool Object(std::string_view name, const Mesh& mesh);
    bool ObjectFile(std::string_view name, std::span<const uint8_t> bytes);
    bool Picture(std::string_view name, const RgbaPicture& picture);
    bool TextureFile(std::string_view name, std::span<const uint8_t> bytes);
    bool Ok() const { return error_.empty(); }

private:
    bool FirstTime(std::string_view name);

    DemoArchives& archives_;
    std::string& error_;
    std::set<std::string> added_;
};
}  // namespace kit
