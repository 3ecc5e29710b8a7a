// A whole race frame on the demo circuit at 640 x 480 with 26 riders, through the render
// library as the game binds it: the simulation's steps due at 60 frames a second, the view
// (channels, poses, camera, shadows, dust and spray meshes, particles) and the drawing of the
// world, split by stage; in fine weather and in the rain, whose spray fills the particles. The
// rasterizer uses every processor; for one core run the program under `taskset -c 0`. Goal: at
// least 60 frames a second on one core and 240 on all.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "app/game/RiderLiveries.h"
#include "app/settings/MenuState.h"
#include "app/window/OutputWindow.h"
#include "content/RaceContent.h"
#include "content/RaceContentHooks.h"
#include "core/archive/CprArchive.h"
#include "core/files/FileSystem.h"
#include "core/util/RuntimeRandom.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "race/RaceContext.h"
#include "race/RaceSim.h"
#include "sound/SoundManager.h"
#include "tests/content/DemoRaceStage.h"
#include "view/camera/RaceCamera.h"
#include "view/race/EffectMeshes.h"
#include "view/race/GroundQuads.h"
#include "view/race/ParticleTable.h"

namespace
{
constexpr uint32_t kRiders = 26;
constexpr uint32_t kFrameMs = 17;  // 60 frames a second

// The demo race loaded on the render library's 640 x 480 screen.
// The simulation's particles into the view's table, as the game hands them over.
class ParticleServices : public RaceServices
{
public:
    ParticleServices(ParticleTable& particles, std::span<const BikeRecord> bikes)
        : particles_(particles), bikes_(bikes)
    {
    }
    void EmitParticle(RaceParticle kind, uint32_t rider, float x, float y, float z,
                      float size) override
    {
        particles_.Emit(kind, x, y, z, size, bikes_[rider].course);
    }

private:
    ParticleTable& particles_;
    std::span<const BikeRecord> bikes_;
};

class FrameStage
{
public:
    explicit FrameStage(Weather weather)
        : folder_(std::filesystem::temp_directory_path() / "zarvo-bench-race-frame"),
          weather_(weather)
    {
        std::filesystem::create_directories(folder_);
        // Each presented frame is captured (600 KB): keeping them all measured the memory
        // system, not the frame.
        platform_.LimitCapturedFrames(1);
        g_soundEnabled.store(false);
        FillDefaultLiveries();
        window_.Create(640, 480);
        g_renderDevice.InitHardware(ZARVO_RENDER_LIBRARY);
        const ScreenMode mode{640, 480, 16, 60, 0};
        g_renderDevice.InitScreen(window_.RenderTarget(), 0, "", &mode);
        g_renderDevice.SetScreenSize(640, 480);
        std::string error;
        const DemoRaceArchives built = BuildDemoRaceArchives((folder_ / "scratch").string(), error);
        Mount("objects.cpr", built.objects, g_archiveObjects);
        Mount("textures.cpr", built.textures, g_archiveTextures);
        Mount("menu.cpr", built.menu, g_archiveMenu);
        Mount("data.cpr", built.data, g_archiveData);
        race_ = std::make_unique<RaceContext>((folder_ / "system.cpr").string());
        ready_ = PrepareDemoRace(*race_, BikeClass::Class125, weather, kRiders);
        content_ = std::make_unique<RaceContent>(g_renderDevice, *race_);
        ready_ = ready_ && content_->Load(RaceContentOptions{}, hooks_);
        if (!ready_)
        {
            return;
        }
        for (size_t i = 0; i < RandomTable::kStoredWords; ++i)
        {
            race_->randomTable.words[i] = static_cast<uint32_t>(RuntimeRand());
        }
        for (uint32_t rider = 0; rider < kRiders; ++rider)
        {
            race_->bikes[rider].raceStatus = 8;
            race_->race.inRace[rider] = 1;
        }
        race_->race.riderCount = kRiders;
        const RaceScene& scene = content_->Scene();
        sim_.ResetForRace();
        sim_.SetParameters(scene.parameters);
        sim_.SetGround(scene.ground ? &*scene.ground : nullptr);
        sim_.SetRacingLine(&race_->race);
        sim_.SetRandomTable(race_->randomTable.words);
        sim_.SetRace(race_.get());
        particles_.Attach(scene.smokeClouds, scene.effects);
        meshes_.Attach(Field());
        services_ = std::make_unique<ParticleServices>(particles_, race_->bikes);
        sim_.SetServices(services_.get());
        camera_ = std::make_unique<RaceCamera>(*race_, settings_);
        camera_->SetViewNode(scene.root);
        camera_->SetChaseView();
        clock_.raceStartTick = 50;
    }
    ~FrameStage()
    {
        sim_.SetServices(nullptr);
        particles_.Detach();
        meshes_.Detach();
        content_->Unload();
        g_renderDevice.CleanUp();
        g_renderDevice.ShotDown();
        g_archiveObjects = g_archiveTextures = g_archiveMenu = g_archiveData = nullptr;
        std::filesystem::remove_all(folder_);
    }

    bool Ready() const { return ready_; }
    Weather Conditions() const { return weather_; }

    void Simulate()
    {
        clock_.frameClockMs += kFrameMs;
        sim_.Tick(race_->bikes, kRiders, 1, 0, clock_);
    }
    void View()
    {
        InterpolateChannels(sim_.Channels(), static_cast<float>(clock_.frameClockMs % 40) / 40.0f);
        content_->RiderPoses().Update(race_->bikes, kRiders, kFrameMs / 1000.0f, RaceSim::kNoRider);
        camera_->Update(kFrameMs / 1000.0f);
        g_renderDevice.SetFieldOfView(camera_->zoom, 1.0f);
        UpdateGroundQuads(Field());
        meshes_.Update(Field(), weather_, true, RaceSim::kNoRider);
        particles_.Update(kFrameMs / 1000.0f);
    }
    static void Draw()
    {
        g_renderDevice.ClearBuffer(3, 0xFF000000);
        g_renderDevice.DrawScene(0);
        g_renderDevice.Flip();
    }

private:
    std::span<const BikeRecord> Field() const { return std::span(race_->bikes).first(kRiders); }

    void Mount(const std::string& name, const std::vector<uint8_t>& bytes, CprArchive*& slot)
    {
        const std::string path = (folder_ / name).string();
        files::ReplaceAtomically(path, bytes);
        archives_.push_back(std::make_unique<CprArchive>());
        archives_.back()->Open(path, true);
        slot = archives_.back().get();
    }

    std::filesystem::path folder_;
    ScriptedPlatform platform_;
    ScopedPlatform installed_{platform_};
    OutputWindow window_;
    std::vector<std::unique_ptr<CprArchive>> archives_;
    std::unique_ptr<RaceContext> race_;
    std::unique_ptr<RaceContent> content_;
    RaceContentHooks hooks_;
    MenuState settings_;
    RaceSim sim_;
    std::unique_ptr<RaceCamera> camera_;
    RaceClockWords clock_;
    ParticleTable particles_;
    EffectMeshes meshes_;
    std::unique_ptr<ParticleServices> services_;
    Weather weather_;
    bool ready_ = false;
};

// One race loaded at a time: the weather's own. It goes before the render library's state.
std::unique_ptr<FrameStage>& LoadedStage()
{
    static std::unique_ptr<FrameStage> stage;
    return stage;
}

void RaceFrame(benchmark::State& state)
{
    std::unique_ptr<FrameStage>& loaded = LoadedStage();
    const auto weather = static_cast<Weather>(state.range(0));
    if (!loaded || loaded->Conditions() != weather)
    {
        loaded.reset();
        loaded = std::make_unique<FrameStage>(weather);
    }
    FrameStage& stage = *loaded;
    if (!stage.Ready())
    {
        state.SkipWithError("the demo race does not load");
        return;
    }
    using Clock = std::chrono::steady_clock;
    std::chrono::duration<double, std::micro> simulate{};
    std::chrono::duration<double, std::micro> view{};
    std::chrono::duration<double, std::micro> draw{};
    for (auto _ : state)
    {
        const auto t0 = Clock::now();
        stage.Simulate();
        const auto t1 = Clock::now();
        stage.View();
        const auto t2 = Clock::now();
        FrameStage::Draw();
        const auto t3 = Clock::now();
        simulate += t1 - t0;
        view += t2 - t1;
        draw += t3 - t2;
    }
    const auto frames = static_cast<double>(state.iterations());
    state.counters["simulation_us"] = simulate.count() / frames;
    state.counters["view_us"] = view.count() / frames;
    state.counters["render_us"] = draw.count() / frames;
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
}
}  // namespace

BENCHMARK(RaceFrame)
    ->ArgName("weather")
    ->Arg(static_cast<int64_t>(Weather::Fine))
    ->Arg(static_cast<int64_t>(Weather::Rain))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
    {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    LoadedStage().reset();
    benchmark::Shutdown();
    return 0;
}
