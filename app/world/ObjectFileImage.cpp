#include "app/world/ObjectFileImage.h"

#include <cstring>
#include <vector>

#include "core/util/LittleEndian.h"
#include "core/world/MeshRecords.h"
#include "core/world/Region.h"
#include "core/world/VectorVars.h"

namespace
{
constexpr uint32_t kNone = 0xFFFFFFFF;
constexpr uint32_t kChunkHeaderBytes = 8;
constexpr uint32_t kMeshInfoBytes = 16;
constexpr uint32_t kTrackRecordBytes = sizeof(TrackCollisionRecord);

enum ChunkId : uint32_t
{
    kVertexChunk = 1,
    kPolygonChunk = 2,
    kNodeChunk = 3,
    kInfoChunk = 4,
    kTextureChunk = 5,
    kTrackChunk = 6,
    kNormalChunk = 8,
};

struct Chunk
{
    uint32_t offset = 0;  // of the data, from the image start
    uint32_t size = 0;
    bool present = false;
};

// The chunks must tile the file exactly; of several chunks with one id the first counts.
template <size_t N>
bool FindChunks(const uint8_t* image, uint32_t size, const uint32_t (&ids)[N], Chunk (&chunks)[N])
{
    uint32_t position = 4;
    while (position < size)
    {
        if (size - position < kChunkHeaderBytes)
        {
            return false;
        }
        const uint32_t id = LoadLe32(image + position);
        const uint32_t chunkSize = LoadLe32(image + position + 4);
        position += kChunkHeaderBytes;
        if (chunkSize > size - position)
        {
            return false;
        }
        for (size_t i = 0; i < N; ++i)
        {
            if (ids[i] == id && !chunks[i].present)
            {
                // Every chunk that is read holds 32-bit words.
                if (position % 4 != 0)
                {
                    return false;
                }
                chunks[i] = {position, chunkSize, true};
            }
        }
        position += chunkSize;
    }
    return true;
}

bool HasTag(const uint8_t* image, uint32_t size, const char (&tag)[5])
{
    return size >= 5 && std::memcmp(image, tag, 4) == 0;
}

bool IsVertexReference(uint32_t offset, uint32_t arrayBytes)
{
    return offset % sizeof(MeshVertex) == 0 && offset < arrayBytes;
}

// Checks a ".4do" image without changing it.
class MeshChecker
{
public:
    MeshChecker(const uint8_t* image, MeshUse use) : image_(image), use_(use) {}

    bool Check(uint32_t size)
    {
        static constexpr uint32_t kIds[] = {kVertexChunk, kPolygonChunk, kNodeChunk,
                                            kInfoChunk,   kTextureChunk, kNormalChunk};
        Chunk chunks[6];
        if (!HasTag(image_, size, "_4DO") || !FindChunks(image_, size, kIds, chunks))
        {
            return false;
        }
        vertices_ = chunks[0];
        polygons_ = chunks[1];
        nodes_ = chunks[2];
        info_ = chunks[3];
        textures_ = chunks[4];
        normals_ = chunks[5];
        return vertices_.present && polygons_.present && nodes_.present && info_.present &&
               CheckArrays() && CheckPolygons() && CheckNodes();
    }

    Chunk vertices_;
    Chunk polygons_;
    Chunk nodes_;
    Chunk info_;
    Chunk textures_;
    Chunk normals_;

private:
    uint32_t Word(const Chunk& chunk, uint32_t offset) const
    {
        return LoadLe32(image_ + chunk.offset + offset);
    }

    bool CheckArrays()
    {
        if (vertices_.size % sizeof(MeshVertex) != 0 ||
            vertices_.size / sizeof(MeshVertex) > kMaxLevelVertices ||
            normals_.size % sizeof(MeshVertex) != 0 ||
            normals_.size / sizeof(MeshVertex) > kMaxLevelNormals || info_.size < kMeshInfoBytes ||
            nodes_.size == 0 || nodes_.size % sizeof(BspNode) != 0)
        {
            return false;
        }
        declaredTextureCount_ = Word(info_, 12);
        return !textures_.present || declaredTextureCount_ <= textures_.size / 4;
    }

    // The records are read one after another; each must lie wholly inside the chunk.
    bool CheckPolygons()
    {
        recordStart_.assign(polygons_.size / 4, false);
        referenced_.assign(polygons_.size / 4, false);
        uint32_t offset = 0;
        while (offset < polygons_.size)
        {
            if (polygons_.size - offset < sizeof(PolygonRecord))
            {
                return false;
            }
            const uint64_t stride = CheckPolygon(offset);
            if (stride == 0 || stride > polygons_.size - offset)
            {
                return false;
            }
            recordStart_[offset / 4] = true;
            offset += static_cast<uint32_t>(stride);
        }
        // Links are checked once every record start is known.
        for (offset = 0; offset < polygons_.size; offset += 4)
        {
            if (recordStart_[offset / 4] && !TakeReference(Word(polygons_, offset + 4)))
            {
                return false;
            }
        }
        return true;
    }

    // The record's bytes, or 0 when it is unsound.
    uint64_t CheckPolygon(uint32_t offset) const
    {
        const uint32_t kind = Word(polygons_, offset);
        const uint64_t cornerCount = Word(polygons_, offset + 24);
        const uint32_t blockOffset = Word(polygons_, offset + 28);
        if (kind != kPolygonTextured && kind != kPolygonEnvironmentMapped)
        {
            return 0;
        }
        const uint64_t headBytes = PolygonHeadBytes(cornerCount);
        const uint64_t blockBytes = CornerBlockBytes(kind, cornerCount);
        if (headBytes > polygons_.size - offset || blockOffset % 4 != 0 ||
            blockOffset > polygons_.size || blockBytes > polygons_.size - blockOffset)
        {
            return 0;
        }
        for (uint32_t corner = 0; corner <= cornerCount; ++corner)
        {
            if (!IsVertexReference(Word(polygons_, offset + 32 + 4 * corner), vertices_.size))
            {
                return 0;
            }
        }
        if (use_ == MeshUse::Drawn && Word(polygons_, blockOffset) >= declaredTextureCount_)
        {
            return 0;
        }
        if (kind == kPolygonEnvironmentMapped)
        {
            for (uint32_t corner = 0; corner <= cornerCount; ++corner)
            {
                if (!IsVertexReference(Word(polygons_, blockOffset + 4 + 4 * corner),
                                       normals_.size))
                {
                    return 0;
                }
            }
        }
        return headBytes + blockBytes;
    }

    // A list link must name a record that no other link names, so that every list is a
    // chain of its own and ends.
    bool TakeReference(uint32_t link)
    {
        if (link == kNone)
        {
            return true;
        }
        if (link % 4 != 0 || link >= polygons_.size || !recordStart_[link / 4] ||
            referenced_[link / 4])
        {
            return false;
        }
        referenced_[link / 4] = true;
        return true;
    }

    // Each node may be named by one link at most and the root by none: what hangs below the
    // root is then a tree.
    bool CheckNodes()
    {
        const uint32_t count = nodes_.size / sizeof(BspNode);
        std::vector<bool> named(count, false);
        named[0] = true;
        for (uint32_t node = 0; node < count; ++node)
        {
            const uint32_t offset = node * static_cast<uint32_t>(sizeof(BspNode));
            for (const uint32_t childField : {0u, 4u})
            {
                const uint32_t child = Word(nodes_, offset + childField);
                if (child == kNone)
                {
                    continue;
                }
                if (child % sizeof(BspNode) != 0 || child >= nodes_.size ||
                    named[child / sizeof(BspNode)])
                {
                    return false;
                }
                named[child / sizeof(BspNode)] = true;
            }
            if (!TakeReference(Word(nodes_, offset + 24)))
            {
                return false;
            }
        }
        return true;
    }

    const uint8_t* image_;
    MeshUse use_;
    uint32_t declaredTextureCount_ = 0;
    std::vector<bool> recordStart_;  // by word of the polygon chunk
    std::vector<bool> referenced_;
};

// Turns a file offset within a chunk into a region link; none becomes null.
void Relocate(uint8_t* field, uint32_t chunkRegionOffset)
{
    const uint32_t offset = LoadLe32(field);
    StoreLe32(field, offset == kNone ? 0 : chunkRegionOffset + offset);
}

void RelocateMesh(uint8_t* image, const MeshChecker& chunks)
{
    const uint32_t polygonBase = region::OffsetOf(image + chunks.polygons_.offset);
    uint8_t* polygons = image + chunks.polygons_.offset;
    uint32_t offset = 0;
    while (offset < chunks.polygons_.size)
    {
        const uint32_t kind = LoadLe32(polygons + offset);
        const uint32_t cornerCount = LoadLe32(polygons + offset + 24);
        Relocate(polygons + offset + 4, polygonBase);
        Relocate(polygons + offset + 28, polygonBase);
        offset += static_cast<uint32_t>(PolygonHeadBytes(cornerCount) +
                                        CornerBlockBytes(kind, cornerCount));
    }
    const uint32_t nodeBase = region::OffsetOf(image + chunks.nodes_.offset);
    uint8_t* nodes = image + chunks.nodes_.offset;
    for (offset = 0; offset < chunks.nodes_.size; offset += sizeof(BspNode))
    {
        Relocate(nodes + offset, nodeBase);
        Relocate(nodes + offset + 4, nodeBase);
        Relocate(nodes + offset + 24, polygonBase);
    }
}

bool IsTrackLink(int32_t link, uint32_t recordBytes)
{
    return link < 0 || (static_cast<uint32_t>(link) < recordBytes &&
                        static_cast<uint32_t>(link) % kTrackRecordBytes == 0);
}
}  // namespace

std::optional<MeshImage> RelocateMeshImage(uint8_t* image, uint32_t size, MeshUse use)
{
    MeshChecker checker(image, use);
    if (!checker.Check(size))
    {
        return std::nullopt;
    }
    RelocateMesh(image, checker);

    MeshImage mesh;
    mesh.vertices = reinterpret_cast<MeshVertex*>(image + checker.vertices_.offset);
    mesh.vertexBytes = checker.vertices_.size;
    if (checker.normals_.present)
    {
        mesh.normals = reinterpret_cast<MeshVertex*>(image + checker.normals_.offset);
    }
    mesh.bspRoot = reinterpret_cast<BspNode*>(image + checker.nodes_.offset);
    mesh.nodeBytes = checker.nodes_.size;
    const uint8_t* info = image + checker.info_.offset;
    const uint32_t ownRadiusBits = LoadLe32(info + 8);
    std::memcpy(&mesh.ownRadius, &ownRadiusBits, sizeof mesh.ownRadius);
    if (checker.textures_.present)
    {
        mesh.textureNumbers = reinterpret_cast<const uint32_t*>(image + checker.textures_.offset);
        mesh.textureCount = LoadLe32(info + 12);
    }
    return mesh;
}

TrackCollisionModel* RelocateTrackCollisionImage(uint8_t* image, uint32_t size)
{
    static constexpr uint32_t kIds[] = {kTrackChunk};
    Chunk chunks[1];
    if (!HasTag(image, size, "_4CO") || !FindChunks(image, size, kIds, chunks) ||
        !chunks[0].present || chunks[0].size % kTrackRecordBytes != 0)
    {
        return nullptr;
    }
    const Chunk& records = chunks[0];
    for (uint32_t offset = 0; offset < records.size; offset += kTrackRecordBytes)
    {
        for (uint32_t word = 5; word <= 7; ++word)
        {
            const auto link =
                static_cast<int32_t>(LoadLe32(image + records.offset + offset + 4 * word));
            if (!IsTrackLink(link, records.size))
            {
                return nullptr;
            }
        }
    }
    std::memmove(image + 4, image + records.offset, records.size);
    StoreLe32(image, records.size / kTrackRecordBytes);
    for (uint32_t offset = 0; offset < records.size; offset += kTrackRecordBytes)
    {
        for (uint32_t word = 5; word <= 7; ++word)
        {
            uint8_t* field = image + 4 + offset + 4 * word;
            const auto link = static_cast<int32_t>(LoadLe32(field));
            StoreLe32(field, link < 0 ? 0 : static_cast<uint32_t>(link) + 4);
        }
    }
    return reinterpret_cast<TrackCollisionModel*>(image);
}
