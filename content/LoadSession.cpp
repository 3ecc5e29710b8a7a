#include "content/LoadSession.h"

#include <algorithm>
#include <string>

#include "app/archive/ArchiveSet.h"
#include "app/debug/Trace.h"
#include "app/device/RenderDevice.h"
#include "core/archive/DAFile.h"
#include "core/util/Message.h"
#include "core/world/Region.h"
#include "core/world/WorldObject.h"
#include "race/RaceContext.h"

namespace content
{
LoadSession::LoadSession(RenderDevice& device, RaceContext& race, const RaceContentOptions& options,
                         RaceContentHooks& hooks, RaceScene& scene, const CircuitRow& circuit)
    : device(device),
      race(race),
      options(options),
      hooks(hooks),
      scene(scene),
      circuit(circuit),
      bikeClass(race.current.bikeClass),
      weather(race.current.weather),
      detail(std::min(options.modelDetail, kModelDetails - 1))
{
}

void LoadSession::ReportDamaged(std::string_view name) const
{
    if (DAFile(g_archiveObjects).Exists(name))
    {
        ShowMessage(std::string(name) + " kann nicht geladen werden");
    }
}

WorldObject* LoadSession::LoadModel(std::string_view name, uint32_t objectNumber, double range)
{
    WorldObject* node = device.LoadObject(name, objectNumber, range);
    if (node == nullptr)
    {
        ReportDamaged(name);
    }
    return node;
}

WorldObject* LoadSession::LoadModelLevels(std::span<const ModelLevel> levels, uint32_t objectNumber)
{
    if (levels.empty())
    {
        return nullptr;
    }
    WorldObject* node = LoadModel(levels.front().name, objectNumber, levels.front().distance);
    if (node != nullptr)
    {
        for (const ModelLevel& level : levels.subspan(1))
        {
            AddLevel(*node, level);
        }
    }
    return node;
}

void LoadSession::AddLevel(WorldObject& node, const ModelLevel& level)
{
    if (LevelOfDetail* added = device.LoadZObject(level.name, 0, level.distance))
    {
        device.InsertSorted(added, &node);
    }
}

CollisionBody* LoadSession::LoadCollisionBody(std::string_view name)
{
    CollisionBody* body = device.LoadCollisionObject(name);
    if (body == nullptr)
    {
        ReportDamaged(name);
    }
    return body;
}

WorldObject* LoadSession::Clone(const WorldObject& source)
{
    return device.CloneObject(&source);
}

void LoadSession::LoadPictures(std::span<const NumberedPicture> pictures)
{
    for (const NumberedPicture& picture : pictures)
    {
        device.LoadTexture(picture.name.c_str(), picture.number, 0, 0);
    }
}

void LoadSession::UseTexturesArchive()
{
    device.SetArchive(g_archiveTextures);
}

void LoadSession::UseObjectsArchive()
{
    device.SetArchive(g_archiveObjects);
}

void LoadSession::Paint(WorldObject& node, std::span<const uint32_t> numbers)
{
    uint32_t* list = node.textureList.get();
    size_t written = 0;
    while (list != nullptr && written < numbers.size() &&
           region::Contains(list + written, sizeof(uint32_t)) && list[written] != kTextureListEnd)
    {
        list[written] = numbers[written];
        ++written;
    }
    if (written < numbers.size())
    {
        Trace("texture list of object %u holds %zu of %zu numbers\n", node.userValue, written,
              numbers.size());
    }
}
}  // namespace content
