#pragma once

// Archive files written field by field, so that tests can lay out chunks, markers, padding
// and damage the kit's writer never produces.

#include <cstdint>
#include <string>
#include <vector>

#include "core/archive/CprArchive.h"
#include "core/util/LittleEndian.h"

struct ArchiveMember
{
    std::string name;
    std::vector<uint8_t> data;
    uint32_t flags = 0;
    bool marker = false;  // a directory marker: its data takes room but it is no member
};

class ArchiveImage
{
public:
    // A chunk whose data area follows its directory and padding; offsets are absolute.
    ArchiveImage& AddChunk(const std::vector<ArchiveMember>& members, uint32_t padding = 0)
    {
        uint32_t directorySize = 0;
        for (const ArchiveMember& member : members)
        {
            directorySize += 16 + static_cast<uint32_t>(member.name.size());
        }
        Append("BAUM");
        Append32(static_cast<uint32_t>(members.size()));
        Append32(directorySize + padding);
        Append32(directorySize);
        uint32_t offset = static_cast<uint32_t>(bytes.size()) + directorySize + padding;
        for (const ArchiveMember& member : members)
        {
            Append32(member.marker ? CprArchive::kDirectoryMarker : offset);
            Append32(static_cast<uint32_t>(member.data.size()));
            Append32(member.flags);
            Append32(static_cast<uint32_t>(member.name.size()));
            for (size_t i = 0; i < member.name.size(); ++i)
            {
                bytes.push_back(static_cast<uint8_t>(member.name[i]) ^
                                static_cast<uint8_t>(CprArchive::kScrambleKey >> (8 * (i % 4))));
            }
            offset += static_cast<uint32_t>(member.data.size());
        }
        bytes.insert(bytes.end(), padding, 0xEE);
        for (const ArchiveMember& member : members)
        {
            bytes.insert(bytes.end(), member.data.begin(), member.data.end());
        }
        return *this;
    }

    ArchiveImage& Patch32(size_t offset, uint32_t value)
    {
        StoreLe32(&bytes.at(offset + 3) - 3, value);
        return *this;
    }

    std::string String() const { return {bytes.begin(), bytes.end()}; }

    std::vector<uint8_t> bytes;

private:
    void Append(const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }
    void Append32(uint32_t value)
    {
        bytes.resize(bytes.size() + 4);
        StoreLe32(&bytes[bytes.size() - 4], value);
    }
};
