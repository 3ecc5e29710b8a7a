// The object world's loaders of ".4do" meshes, levels of detail and collision bodies and of
// ".4co" circuit collision models. Each file is read whole into the arena behind the record
// that will describe it; a damaged file is refused silently and leaves the arena as it was.

#include <cstring>
#include <optional>
#include <string>

#include "app/archive/ArchiveSet.h"
#include "app/debug/DebugLogWindow.h"
#include "app/world/ObjectFileImage.h"
#include "app/world/ObjectWorld.h"
#include "app/world/VectorMem.h"
#include "core/archive/DAFile.h"
#include "core/util/Message.h"
#include "core/world/VectorVars.h"
#include "core/world/WorldObject.h"
#include "platform/Platform.h"

namespace
{
constexpr float kLoadedDistanceLimit = 10000.0f;

// A file read into the arena: a zeroed header of the asked size, then the file's bytes.
struct ArenaFile
{
    uint8_t* header = nullptr;
    uint8_t* image = nullptr;
    uint32_t size = 0;
    uint32_t arenaUsedBefore = 0;  // to give the bytes back when the file is refused
};

void ReportUnloadable(std::string_view prefix, std::string_view name)
{
    ShowMessage(std::string(prefix) + std::string(name) + " kann nicht geladen werden");
}

// prefix starts the message for a file that cannot be read.
std::optional<ArenaFile> ReadIntoArena(VectorVars& vars, CprArchive* archive, std::string_view name,
                                       uint32_t headerBytes, std::string_view prefix)
{
    DAFile file(archive);
    if (!file.Open(name))
    {
        ReportUnloadable(prefix, name);
        return std::nullopt;
    }
    const int32_t length = file.GetLength();
    if (length < 0)
    {
        ReportUnloadable(prefix, name);
        return std::nullopt;
    }
    ArenaFile read;
    read.size = static_cast<uint32_t>(length);
    read.arenaUsedBefore = vars.arenaUsed;
    read.header = AllocateInArena(vars, headerBytes + read.size);
    if (read.header == nullptr)
    {
        return std::nullopt;
    }
    std::memset(read.header, 0, headerBytes);
    read.image = read.header + headerBytes;
    if (file.Read(read.image, read.size) != read.size)
    {
        vars.arenaUsed = read.arenaUsedBefore;
        ReportUnloadable(prefix, name);
        return std::nullopt;
    }
    return read;
}

float DistanceKeyOfRange(double range)
{
    const double scaled = range * 0.0025;
    return static_cast<float>(scaled * scaled);
}

void FillLevel(LevelOfDetail& level, double range, const MeshImage& mesh)
{
    level.maxDistanceKey = DistanceKeyOfRange(range);
    level.next.reset();
    level.vertices.set(mesh.vertices);
    level.vertexCount = mesh.vertexBytes / sizeof(MeshVertex);
    level.normals.set(mesh.normals);
    level.bspRoot.set(mesh.bspRoot);
}
}  // namespace

WorldObject* ObjectWorld::LoadObject(std::string_view name, uint32_t userValue, double range)
{
    return LoadMesh(name, userValue, range, g_archiveObjects);
}

WorldObject* ObjectWorld::LoadObjectFrom(std::string_view name, uint32_t userValue, double range,
                                         CprArchive* archive)
{
    return LoadMesh(name, userValue, range, archive);
}

WorldObject* ObjectWorld::LoadMesh(std::string_view name, uint32_t userValue, double range,
                                   CprArchive* archive)
{
    const std::optional<ArenaFile> file =
        ReadIntoArena(*vars_, archive, name, sizeof(WorldObject), "");
    if (!file)
    {
        return nullptr;
    }
    const std::optional<MeshImage> mesh =
        RelocateMeshImage(file->image, file->size, MeshUse::Drawn);
    auto* textureList =
        mesh ? reinterpret_cast<uint32_t*>(AllocateInArena(*vars_, 4 * mesh->textureCount + 4))
             : nullptr;
    if (textureList == nullptr)
    {
        vars_->arenaUsed = file->arenaUsedBefore;
        return nullptr;
    }
    if (mesh->textureCount > 0)
    {
        std::memcpy(textureList, mesh->textureNumbers, 4 * mesh->textureCount);
    }
    textureList[mesh->textureCount] = kTextureListEnd;

    auto* node = reinterpret_cast<WorldObject*>(file->header);
    node->entry.kind = kNodeWord;
    node->userValue = userValue;
    node->ownRadius = mesh->ownRadius;
    node->distanceLimit = kLoadedDistanceLimit;
    node->textureList.set(textureList);
    FillLevel(node->firstLevel, range, *mesh);
    return node;
}

LevelOfDetail* ObjectWorld::LoadZObject(std::string_view name, uint32_t /*userValue*/, double range)
{
    const std::optional<ArenaFile> file =
        ReadIntoArena(*vars_, g_archiveObjects, name, sizeof(LevelOfDetail), "ZObjekt ");
    if (!file)
    {
        return nullptr;
    }
    const std::optional<MeshImage> mesh =
        RelocateMeshImage(file->image, file->size, MeshUse::FurtherLevel);
    if (!mesh)
    {
        vars_->arenaUsed = file->arenaUsedBefore;
        return nullptr;
    }
    auto* level = reinterpret_cast<LevelOfDetail*>(file->header);
    FillLevel(*level, range, *mesh);
    return level;
}

CollisionBody* ObjectWorld::LoadCollisionObject(std::string_view name)
{
    const std::optional<ArenaFile> file =
        ReadIntoArena(*vars_, g_archiveObjects, name, sizeof(CollisionBody), "");
    if (!file)
    {
        return nullptr;
    }
    const std::optional<MeshImage> mesh =
        RelocateMeshImage(file->image, file->size, MeshUse::Collision);
    if (!mesh)
    {
        vars_->arenaUsed = file->arenaUsedBefore;
        return nullptr;
    }
    auto* body = reinterpret_cast<CollisionBody*>(file->header);
    body->vertexCount = static_cast<int32_t>(mesh->vertexBytes / sizeof(MeshVertex));
    body->vertices.set(mesh->vertices);
    body->nodes.set(mesh->bspRoot);
    AddDebugLine(("0\t\t" + std::to_string(mesh->nodeBytes)).c_str());
    return body;
}

TrackCollisionModel* ObjectWorld::LoadTrackCollision(std::string_view name)
{
    const std::optional<ArenaFile> file = ReadIntoArena(*vars_, g_archiveObjects, name, 0, "");
    if (!file)
    {
        return nullptr;
    }
    TrackCollisionModel* model = RelocateTrackCollisionImage(file->image, file->size);
    if (model == nullptr)
    {
        vars_->arenaUsed = file->arenaUsedBefore;
    }
    return model;
}
