#include "tests/content/ContentFixture.h"

#include <cmath>
#include <cstdio>

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "app/game/RiderLiveries.h"
#include "core/archive/DAFile.h"
#include "core/world/Region.h"
#include "core/world/WorldObject.h"
#include "kit/CprWriter.h"
#include "sound/SoundManager.h"
#include "tests/content/DemoRaceStage.h"

namespace
{
const DemoRaceArchives& Built(const std::string& scratch)
{
    static const DemoRaceArchives built = [&]
    {
        std::string error;
        DemoRaceArchives archives = BuildDemoRaceArchives(scratch, error);
        EXPECT_TRUE(error.empty()) << error;
        return archives;
    }();
    return built;
}

std::string Folded(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
    {
        if (c >= 'A' && c <= 'Z')
        {
            c = static_cast<char>(c + 32);
        }
    }
    return folded;
}

// The archive's members again, the changed one left out or replaced.
std::vector<uint8_t> Repack(const std::string& path, const MemberChange& change)
{
    CprArchive archive;
    EXPECT_TRUE(archive.Open(path, true));
    kit::CprWriter writer;
    std::string error;
    bool found = false;
    for (const CprEntry& entry : archive.GetEntryList())
    {
        std::vector<uint8_t> bytes;
        if (Folded(entry.name) == Folded(change.name))
        {
            found = true;
            if (!change.bytes)
            {
                continue;
            }
            bytes = *change.bytes;
        }
        else
        {
            DAFile file(&archive);
            EXPECT_TRUE(file.Open(entry.name));
            bytes.resize(static_cast<size_t>(file.GetLength()));
            file.Read(bytes.data(), static_cast<uint32_t>(bytes.size()));
        }
        EXPECT_TRUE(writer.Add(entry.name, bytes, kit::MemberStorage::Stored, error)) << error;
    }
    EXPECT_TRUE(found) << change.name;
    return writer.Build();
}

void WriteBytes(const TestDirectory& directory, const std::string& name,
                const std::vector<uint8_t>& bytes)
{
    directory.WriteFile(name, std::string(bytes.begin(), bytes.end()));
}

void AppendNode(std::string& out, const WorldObject& node, int depth)
{
    char line[160];
    std::snprintf(line, sizeof line, "%d %u %04x %06x %.3f %.3f %.3f |", depth, node.userValue,
                  node.flags, node.fogColour, node.placement.x, node.placement.y, node.placement.z);
    out += line;
    if (const uint32_t* list = node.textureList.get())
    {
        for (size_t i = 0; region::Contains(list + i, 4) && list[i] != kTextureListEnd; ++i)
        {
            out += " " + std::to_string(list[i]);
        }
    }
    out += " | lod";
    for (const LevelOfDetail* level = &node.firstLevel; level != nullptr; level = level->next.get())
    {
        std::snprintf(line, sizeof line, " %.4g", level->maxDistanceKey);
        out += line;
    }
    out += "\n";
    for (const WorldObject* child = node.firstChild.get(); child != nullptr;
         child = child->nextSibling.get())
    {
        AppendNode(out, *child, depth + 1);
    }
    for (const WorldObject* sub = node.firstSubObject.get(); sub != nullptr;
         sub = sub->nextSibling.get())
    {
        AppendNode(out, *sub, depth + 1);
    }
}
}  // namespace

ContentTest::ContentTest()
{
    g_soundEnabled.store(false);
    FillDefaultLiveries();
    EXPECT_TRUE(window_.Create(640, 480));
    EXPECT_TRUE(g_renderDevice.InitHardware(ZARVO_RENDER_LIBRARY));
    const ScreenMode mode{640, 480, 16, 60, 0};
    EXPECT_EQ(g_renderDevice.InitScreen(window_.RenderTarget(), 0, "", &mode), 1);
    g_renderDevice.SetScreenSize(640, 480);
}

ContentTest::~ContentTest()
{
    if (content_)
    {
        content_->Unload();
    }
    g_renderDevice.CleanUp();
    g_renderDevice.ShotDown();
    g_archiveObjects = nullptr;
    g_archiveTextures = nullptr;
    g_archiveMenu = nullptr;
    g_archiveData = nullptr;
}

void ContentTest::Mount(const std::optional<MemberChange>& change)
{
    const DemoRaceArchives& built = Built(directory_.path() + "/scratch");
    const struct
    {
        ContentArchive kind;
        const char* file;
        const std::vector<uint8_t>& bytes;
        CprArchive** slot;
    } kArchives[] = {
        {ContentArchive::Objects, "objects.cpr", built.objects, &g_archiveObjects},
        {ContentArchive::Textures, "textures.cpr", built.textures, &g_archiveTextures},
        {ContentArchive::Menu, "menu.cpr", built.menu, &g_archiveMenu},
        {ContentArchive::Data, "data.cpr", built.data, &g_archiveData},
    };
    for (const auto& archive : kArchives)
    {
        WriteBytes(directory_, archive.file, archive.bytes);
        if (change && change->archive == archive.kind)
        {
            WriteBytes(directory_, archive.file, Repack(archive.file, *change));
        }
        archives_.push_back(std::make_unique<CprArchive>());
        ASSERT_TRUE(archives_.back()->Open(archive.file, true));
        *archive.slot = archives_.back().get();
    }
}

void ContentTest::PrepareRace(BikeClass bikeClass, Weather weather, uint32_t riders,
                              std::string_view circuit)
{
    race_ = std::make_unique<RaceContext>(directory_.path() + "/system.cpr");
    ASSERT_TRUE(PrepareDemoRace(*race_, bikeClass, weather, riders, circuit)) << circuit;
    content_ = std::make_unique<RaceContent>(g_renderDevice, *race_);
}

bool ContentTest::Load(uint32_t detail)
{
    options_.modelDetail = detail;
    return content_->Load(options_, hooks_);
}

void ContentTest::AimCamera(const Vector3& eye, const Vector3& target)
{
    // The root (rotation order 2, no bank) turns the world by Rx(pitch) Ry(heading), then
    // takes the turned eye away: a point p is seen at Rx Ry (p - eye).
    WorldObject& root = *content_->Scene().root;
    const float dx = target.x - eye.x;
    const float dy = target.y - eye.y;
    const float dz = target.z - eye.z;
    const float pitch = std::atan2(dy, std::sqrt(dx * dx + dz * dz));
    const float heading = -std::atan2(dx, dz);
    root.angles[0] = pitch;
    root.angles[1] = heading;
    root.angles[2] = 0.0f;
    const float sa = std::sin(pitch);
    const float ca = std::cos(pitch);
    const float sb = std::sin(heading);
    const float cb = std::cos(heading);
    // Ry: x' = cb x + sb z, z' = -sb x + cb z; then Rx: y'' = ca y - sa z', z'' = sa y + ca z'.
    const float x1 = cb * eye.x + sb * eye.z;
    const float z1 = -sb * eye.x + cb * eye.z;
    root.placement = {x1, ca * eye.y - sa * z1, sa * eye.y + ca * z1};
}

FrameView565 ContentTest::DrawFrame()
{
    g_renderDevice.ClearBuffer(3, 0xFF000000);
    g_renderDevice.DrawScene(0);
    g_renderDevice.Flip();
    const CapturedFrame& captured = platform_.Frames().back();
    return {captured.pixels.data(), captured.width, captured.height, captured.width * 2};
}

std::string DumpScene(const RaceContent& content, const RaceContext& race)
{
    std::string out;
    if (content.Scene().root != nullptr)
    {
        AppendNode(out, *content.Scene().root, 0);
    }
    char line[160];
    for (uint32_t rider = 0; rider < race.current.riderCount; ++rider)
    {
        const BikeRecord& bike = race.bikes[rider];
        std::snprintf(line, sizeof line, "rider %u %.4f %.4f %.4f %u %u %u %.4f %.4f\n", rider,
                      bike.groundHeight, bike.frontGroundHeight, bike.rearGroundHeight,
                      bike.referenceTriangle, bike.frontTriangle, bike.rearTriangle,
                      bike.frontTyreHeat, bike.rearTyreHeat);
        out += line;
    }
    const SurfaceTuning& tuning = content.Scene().parameters.surfaces;
    std::snprintf(line, sizeof line, "weather %.2f %.3f %.6f %.6f %.6f %.2f\n",
                  race.current.trackWetness, tuning.weatherFactor, tuning.class4[2],
                  tuning.class6[2], tuning.classOther[2], tuning.class2Fast[0]);
    out += line;
    const RacingLine& line0 = race.race;
    for (uint32_t node = 0; node < line0.nodeCount; node += 37)
    {
        const RacingLineNode& n = line0.nodes[node];
        std::snprintf(line, sizeof line, "node %u %.4f %.5f %.5f %.5f %.5f %.3f %u\n", node, n.y,
                      n.slope, n.heading, n.edgeA, n.edgeB, n.edgeC,
                      node < content.Scene().surfaceByNode.size()
                          ? content.Scene().surfaceByNode[node]
                          : 999u);
        out += line;
    }
    return out;
}

uint64_t HashText(const std::string& text)
{
    uint64_t hash = 14695981039346656037ull;
    for (const char c : text)
    {
        hash = (hash ^ static_cast<uint8_t>(c)) * 1099511628211ull;
    }
    return hash;
}
