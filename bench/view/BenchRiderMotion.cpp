// The race view's body motion for a full field of 26 riders on the demo's clips and pose
// table: the pose table's frame (every rider blended), a simulation step with every rider
// sliding after a fall, and loading the whole clip set from the menu archive.
//
//   bench_rider_motion [--repeats N]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/world/ObjectFileImage.h"
#include "app/world/ObjectWorld.h"
#include "core/archive/CprArchive.h"
#include "core/files/FileSystem.h"
#include "core/world/WorldObject.h"
#include "kit/motion/DemoMotions.h"
#include "kit/world/TrackCollisionWriter.h"
#include "race/BikeRecord.h"
#include "race/ChannelList.h"
#include "race/ground/GroundMesh.h"
#include "view/rider/RiderAnimation.h"
#include "view/rider/RiderNodes.h"
#include "view/rider/RiderPoseTable.h"

namespace
{
using Clock = std::chrono::steady_clock;

constexpr uint32_t kRiders = 26;
constexpr uint32_t kPartCodes[13] = {0, 5, 1, 3, 2, 4, 7, 10, 8, 11, 9, 12, 6};

double Microseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::micro>(duration).count();
}

template <class Work>
double MedianMicroseconds(int repeats, Work work)
{
    std::vector<double> times;
    for (int repeat = 0; repeat < repeats; ++repeat)
    {
        const Clock::time_point start = Clock::now();
        work();
        times.push_back(Microseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void BuildRider(ObjectWorld& world, WorldObject* root, BikeRecord& bike, float x)
{
    RiderObjectLinks& links = bike.links;
    WorldObject* bikeRoot = world.AttachNewObject(root, x, 0.0f, 0.0f, kAttachChild, 3.0f);
    WorldObject* seat = world.AttachNewObject(bikeRoot, 0.0f, 0.9f, 0.0f, kAttachChild, 3.0f);
    links.bikeRoot.set(bikeRoot);
    links.bikePart.set(bikeRoot);
    links.bikeBody.set(bikeRoot);
    links.seat.set(seat);
    WorldObject* hip = world.AttachNewObject(seat, 0.0f, 0.7f, 0.0f, kAttachChild, 2.0f);
    links.hip.set(hip);
    hip->userValue = kPartCodes[0];
    for (int32_t part = 1; part < 13; ++part)
    {
        WorldObject* node = world.AttachNewObject(hip, 0.0f, 0.2f, 0.0f, kAttachChild, 1.0f);
        node->userValue = kPartCodes[part];
        BodyPartLink(links, part).set(node);
    }
    bike.positionX = x;
}

// A flat square of 200 m, 20 m cells.
std::vector<kit::TrackTriangle> Ground()
{
    std::vector<kit::TrackTriangle> triangles;
    constexpr int kCells = 10;
    constexpr float kCell = 20.0f;
    const auto index = [](int i, int j) { return 2 * (j * kCells + i); };
    for (int j = 0; j < kCells; ++j)
    {
        for (int i = 0; i < kCells; ++i)
        {
            const float x0 = -100.0f + kCell * static_cast<float>(i);
            const float z0 = -100.0f + kCell * static_cast<float>(j);
            kit::TrackTriangle lower{4,
                                     {0.0f, 1.0f, 0.0f, 0.0f},
                                     {-1, index(i, j) + 1, -1},
                                     {x0, z0, x0, z0 + kCell, x0 + kCell, z0}};
            kit::TrackTriangle upper{4,
                                     {0.0f, 1.0f, 0.0f, 0.0f},
                                     {-1, index(i, j), -1},
                                     {x0 + kCell, z0 + kCell, x0 + kCell, z0, x0, z0 + kCell}};
            lower.neighbours[0] = i > 0 ? index(i - 1, j) + 1 : -1;
            lower.neighbours[2] = j > 0 ? index(i, j - 1) + 1 : -1;
            upper.neighbours[0] = i + 1 < kCells ? index(i + 1, j) : -1;
            upper.neighbours[2] = j + 1 < kCells ? index(i, j + 1) : -1;
            triangles.push_back(lower);
            triangles.push_back(upper);
        }
    }
    return triangles;
}
}  // namespace

int main(int argc, char** argv)
{
    int repeats = 200;
    if (argc == 3 && std::strcmp(argv[1], "--repeats") == 0)
    {
        repeats = std::max(1, std::atoi(argv[2]));
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "zarvo-bench-rider-motion";
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);

    kit::CprWriter writer;
    std::string error;
    CprArchive archive;
    if (!kit::AddDemoMotions(writer, error) ||
        !files::ReplaceAtomically("menu.cpr", writer.Build()) || !archive.Open("menu.cpr", true))
    {
        std::fprintf(stderr, "cannot make the demo's motions: %s\n", error.c_str());
        return 1;
    }
    g_archiveMenu = &archive;

    RiderMotionSet clips;
    const double loadUs =
        MedianMicroseconds(std::max(1, repeats / 20), [&] { LoadRiderMotions(clips); });
    RiderPoseTable poses;
    poses.Load();

    ObjectWorld world;
    WorldObject* root = world.CreateWorld(4u << 20);
    WorldObject* shared = world.AttachNewObject(root, 0.0f, 0.0f, 0.0f, kAttachChild, 1000.0f);
    std::vector<BikeRecord> bikes(kRiders);
    for (uint32_t rider = 0; rider < kRiders; ++rider)
    {
        BuildRider(world, root, bikes[rider], 3.0f * static_cast<float>(rider) - 39.0f);
        bikes[rider].steer = -0.9f + 0.07f * static_cast<float>(rider);
        bikes[rider].acceleration = rider % 2 == 0 ? -10.0f : 2.0f;
        bikes[rider].speed = 30.0f;
    }

    const double poseUs =
        MedianMicroseconds(repeats, [&] { poses.Update(bikes, kRiders, 0.02f, kRiders); });

    std::vector<uint8_t> groundImage = kit::WriteTrackCollisionFile(Ground());
    const TrackCollisionModel* model =
        RelocateTrackCollisionImage(groundImage.data(), static_cast<uint32_t>(groundImage.size()));
    const std::optional<GroundMesh> ground = model ? GroundMesh::Bind(*model) : std::nullopt;
    ChannelList channels;
    RiderAnimation animation(world, clips, bikes);
    animation.SetSharedFigure(shared);
    animation.SetGround(ground ? &*ground : nullptr);
    animation.SetChannels(&channels);
    animation.SetPlayerRider(kRiders);
    for (uint32_t rider = 0; rider < kRiders; ++rider)
    {
        animation.StartRiderClip(rider, rider % 4, 0.1f * static_cast<float>(rider), 30.0f, 0.2f,
                                 0.3f);
    }
    const double stepUs = MedianMicroseconds(repeats,
                                             [&]
                                             {
                                                 SnapChannels(channels);
                                                 channels.Clear();
                                                 for (uint32_t rider = 0; rider < kRiders; ++rider)
                                                 {
                                                     animation.AnimateRider(rider, 0.04f);
                                                 }
                                             });

    std::printf("clip set load (30 clips from the menu archive): %.0f us\n", loadUs);
    std::printf("pose table frame, %u riders: %.2f us\n", kRiders, poseUs);
    std::printf("fall step, %u riders sliding: %.2f us (%u channels)\n", kRiders, stepUs,
                channels.Count());
    g_archiveMenu = nullptr;
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(folder);
    return 0;
}
