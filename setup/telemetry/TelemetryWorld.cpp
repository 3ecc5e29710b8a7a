#include "setup/telemetry/TelemetryWorld.h"

#include <numbers>

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"
#include "setup/telemetry/TelemetryFiles.h"

namespace
{
constexpr uint32_t kArenaBytes = 1560576;
constexpr float kFieldOfView = 600.0f;
constexpr int32_t kScreenHeight = 480;
constexpr float kNearDistance = 0.11f;
constexpr float kFarDistance = 6000.0f;
constexpr float kFogNear = 1.0f;
constexpr float kFogFar = 465000.0f;
constexpr Vector3 kStartPlacement = {0.0f, 2000.0f, 6000.0f};
// The object's level of detail reaches as far as the view ever looks.
constexpr double kObjectRange = 6000.0;
constexpr float kGroupRadius = 100000.0f;
constexpr int32_t kDepthOnly = 2;
constexpr uint16_t kYawThenPitch = 5;  // the rotation order Rx Ry Rz
constexpr uint16_t kHiddenBit = object_flags::kNoOwnPolygons;

void SetViewport(int32_t height)
{
    g_renderDevice.SetViewport(0, 0, 640, height, kNearDistance, kFarDistance);
}

// Saves the game's world and makes the other one current until it ends.
class WorldSwap
{
public:
    explicit WorldSwap(std::array<uint32_t, 24>& other) : m_other(other)
    {
        g_renderDevice.SaveState(m_game.data(), false);
        g_renderDevice.RestoreState(m_other.data());
    }
    ~WorldSwap()
    {
        g_renderDevice.SaveState(m_other.data(), false);
        g_renderDevice.RestoreState(m_game.data());
    }
    WorldSwap(const WorldSwap&) = delete;
    WorldSwap& operator=(const WorldSwap&) = delete;

private:
    std::array<uint32_t, 24>& m_other;
    std::array<uint32_t, 24> m_game{};
};
}  // namespace

bool TelemetryWorld::Load(std::string_view circuit, float mapAngle)
{
    Free();
    std::array<uint32_t, 24> game{};
    g_renderDevice.SaveState(game.data(), true);
    g_renderDevice.FreeWorld();
    g_renderDevice.SetFieldOfView(kFieldOfView, 1.0f);
    WorldObject* root = g_renderDevice.CreateWorld(kArenaBytes);
    if (root != nullptr)
    {
        SetViewport(kScreenHeight);
        m_projection = g_renderDevice.Projection();
        g_renderDevice.LoadTextureImage(telemetry_files::TrackPictures(circuit).c_str());
        m_camera = g_renderDevice.AttachNewObject(root, kStartPlacement.x, kStartPlacement.y,
                                                  kStartPlacement.z, kAttachChild, kGroupRadius);
        m_track = g_renderDevice.LoadObjectFrom(telemetry_files::FlatTrackObject(circuit), 0,
                                                kObjectRange, g_archiveMenu);
        if (m_camera != nullptr)
        {
            m_camera->angles[0] = -std::numbers::pi_v<float> / 2.0f;
            m_camera->angles[1] = -mapAngle;
            // Turned in the ground's plane first, then tipped to face the camera.
            m_camera->flags |= object_flags::kNoOwnPolygons | kYawThenPitch;
        }
        if (m_camera != nullptr && m_track != nullptr)
        {
            m_track->flags |= kHiddenBit;
            m_track->fogTable.set(g_renderDevice.FogGenerateLinear(kFogNear, kFogFar));
            g_renderDevice.AttachObject(m_track, m_camera, 0.0f, 0.0f, 0.0f, kAttachChild,
                                        kGroupRadius);
        }
        // Walked twice at load, so that the view's first frame finds every node placed.
        g_renderDevice.DrawScene(0);
        g_renderDevice.DrawScene(0);
    }
    g_renderDevice.SaveState(m_state.data(), true);
    g_renderDevice.RestoreState(game.data());
    m_loaded = root != nullptr;
    m_shown = false;
    return m_track != nullptr && m_camera != nullptr;
}

void TelemetryWorld::Show(bool shown)
{
    if (!m_loaded)
    {
        return;
    }
    const WorldSwap swap(m_state);
    SetViewport(shown ? kSceneHeight : kScreenHeight);
    m_projection = g_renderDevice.Projection();
    if (m_track != nullptr)
    {
        m_track->flags = static_cast<uint16_t>(shown ? m_track->flags & ~kHiddenBit
                                                     : m_track->flags | kHiddenBit);
    }
    m_shown = shown;
}

void TelemetryWorld::Draw(float distance, float centreX, float centreZ)
{
    if (!m_loaded)
    {
        return;
    }
    const WorldSwap swap(m_state);
    if (m_camera == nullptr || m_track == nullptr)
    {
        return;
    }
    // Straight in front of the camera, whatever its place at load.
    m_camera->placement = {0.0f, 0.0f, distance};
    m_track->placement = {-centreX, 0.0f, -centreZ};
    g_renderDevice.ClearBuffer(kDepthOnly, 0);  // the background's depth would hide the ground
    g_renderDevice.DrawScene(0);
}

void TelemetryWorld::Free()
{
    if (m_loaded)
    {
        std::array<uint32_t, 24> game{};
        g_renderDevice.SaveState(game.data(), true);
        g_renderDevice.RestoreState(m_state.data());
        g_renderDevice.FreeWorld();
        g_renderDevice.RestoreState(game.data());
    }
    m_loaded = false;
    m_shown = false;
    m_camera = nullptr;
    m_track = nullptr;
}

float TelemetryWorld::PixelsPerUnit(float distance) const
{
    return distance > 0.0f ? m_projection.scaleY / distance : 0.0f;
}
