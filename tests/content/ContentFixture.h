#pragma once

// A race load as the game does it, on the demo installation's content: the render library
// bound through the game's render device on a 640 x 480 screen of the game's window under the
// scripted platform, the objects, textures, menu and data archives of the demo installation
// mounted, a race context of its own with the demo circuit's racing line and the class's
// set-ups, and the field placed on the grid as the session start places it.
//
// The archives are built once per test program; a test may mount them with one member left
// out or replaced.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/window/OutputWindow.h"
#include "content/RaceContent.h"
#include "content/RaceContentHooks.h"
#include "core/archive/CprArchive.h"
#include "kit/race/DemoRace.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "race/RaceContext.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/TestDirectory.h"

// Which archive a member lies in.
enum class ContentArchive
{
    Objects,
    Textures,
    Menu,
    Data,
};

// A member to leave out (no bytes) or to replace.
struct MemberChange
{
    ContentArchive archive = ContentArchive::Objects;
    std::string name;
    std::optional<std::vector<uint8_t>> bytes;
};

// Hooks that note what the load asked of them.
class RecordingHooks : public RaceContentHooks
{
public:
    void CloseMenus() override { calls.push_back("CloseMenus"); }
    void ExchangeBikeSetups() override { calls.push_back("ExchangeBikeSetups"); }
    void ResetRaceState() override { calls.push_back("ResetRaceState"); }
    void LoadHudTextures() override { calls.push_back("LoadHudTextures"); }
    void ArmStartSequence() override { calls.push_back("ArmStartSequence"); }
    void ResetCollisions() override { calls.push_back("ResetCollisions"); }
    void AddTrackObject(WorldObject& /*node*/) override { calls.push_back("AddTrackObject"); }
    void BuildSweepLists() override { calls.push_back("BuildSweepLists"); }
    void PrepareComputerRiders() override { calls.push_back("PrepareComputerRiders"); }
    void SetCameraDefaults(float heading) override
    {
        calls.push_back("SetCameraDefaults");
        cameraHeading = heading;
    }
    void ResetStateCheck() override { calls.push_back("ResetStateCheck"); }
    void LoadMarshalFlags() override { calls.push_back("LoadMarshalFlags"); }

    std::vector<std::string> calls;
    float cameraHeading = -1.0f;
};

class ContentTest : public testing::Test
{
protected:
    ContentTest();
    ~ContentTest() override;

    // Mounts the demo archives with the change, if any.
    void Mount(const std::optional<MemberChange>& change = std::nullopt);
    // The current race: the demo circuit, the class's line and set-ups, riders on the grid.
    void PrepareRace(BikeClass bikeClass, Weather weather, uint32_t riders,
                     std::string_view circuit = kit::kDemoRaceCircuitName);
    bool Load(uint32_t detail = 2);

    // The view from the eye towards the target (world coordinates).
    void AimCamera(const Vector3& eye, const Vector3& target);
    FrameView565 DrawFrame();

    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform installed_{platform_};
    OutputWindow window_;
    std::vector<std::unique_ptr<CprArchive>> archives_;
    std::unique_ptr<RaceContext> race_;
    std::unique_ptr<RaceContent> content_;
    RecordingHooks hooks_;
    RaceContentOptions options_;
};

// The scene below the root, one line per node, depth first in list order: depth, object
// number, flags, fog colour, placement (x y z), texture list, level-of-detail keys; then one
// line per rider with its ground placement and tyre grip, the weather's values, and one line
// per racing-line node sample.
std::string DumpScene(const RaceContent& content, const RaceContext& race);
uint64_t HashText(const std::string& text);
