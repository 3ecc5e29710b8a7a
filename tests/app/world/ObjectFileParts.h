#pragma once

// An object file taken apart into its tag and chunks, to be changed and put together again,
// and the place of each chunk in the file.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/util/LittleEndian.h"

struct ObjectFileChunk
{
    uint32_t id = 0;
    std::vector<uint8_t> data;
};

struct ObjectFileParts
{
    std::string tag;
    std::vector<ObjectFileChunk> chunks;

    static ObjectFileParts Parse(const std::vector<uint8_t>& file)
    {
        ObjectFileParts parts;
        parts.tag.assign(file.begin(), file.begin() + 4);
        for (size_t position = 4; position + 8 <= file.size();)
        {
            const uint32_t size = LoadLe32(file.data() + position + 4);
            ObjectFileChunk chunk;
            chunk.id = LoadLe32(file.data() + position);
            chunk.data.assign(file.begin() + static_cast<std::ptrdiff_t>(position + 8),
                              file.begin() + static_cast<std::ptrdiff_t>(position + 8 + size));
            parts.chunks.push_back(chunk);
            position += 8 + size;
        }
        return parts;
    }

    std::vector<uint8_t> Build() const
    {
        std::vector<uint8_t> file(tag.begin(), tag.end());
        for (const ObjectFileChunk& chunk : chunks)
        {
            uint8_t header[8];
            StoreLe32(header, chunk.id);
            StoreLe32(header + 4, static_cast<uint32_t>(chunk.data.size()));
            file.insert(file.end(), header, header + 8);
            file.insert(file.end(), chunk.data.begin(), chunk.data.end());
        }
        return file;
    }

    ObjectFileChunk& Chunk(uint32_t id)
    {
        for (ObjectFileChunk& chunk : chunks)
        {
            if (chunk.id == id)
            {
                return chunk;
            }
        }
        throw std::out_of_range("no chunk " + std::to_string(id));
    }

    // Where the chunk's data starts in the built file.
    uint32_t DataOffset(uint32_t id) const
    {
        uint32_t position = 4;
        for (const ObjectFileChunk& chunk : chunks)
        {
            if (chunk.id == id)
            {
                return position + 8;
            }
            position += 8 + static_cast<uint32_t>(chunk.data.size());
        }
        throw std::out_of_range("no chunk " + std::to_string(id));
    }

    void SetWord(uint32_t id, size_t offset, uint32_t value)
    {
        StoreLe32(Chunk(id).data.data() + offset, value);
    }
    uint32_t Word(uint32_t id, size_t offset) { return LoadLe32(Chunk(id).data.data() + offset); }
};
