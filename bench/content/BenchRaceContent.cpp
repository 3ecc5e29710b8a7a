// A whole race load of the demo circuit and its unload, on one core, through the render
// library as the game binds it: the time a player waits between the pre-race screen and the
// race. Goal: under 0.5 s a load. Arguments: the model detail, then the riders.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "app/game/RiderLiveries.h"
#include "app/window/OutputWindow.h"
#include "content/RaceContent.h"
#include "content/RaceContentHooks.h"
#include "core/archive/CprArchive.h"
#include "core/files/FileSystem.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "race/RaceContext.h"
#include "sound/SoundManager.h"
#include "tests/content/DemoRaceStage.h"

namespace
{
// The render library on a game window, the demo archives mounted from a scratch folder.
class LoadStage
{
public:
    LoadStage() : folder_(std::filesystem::temp_directory_path() / "zarvo-bench-content")
    {
        std::filesystem::create_directories(folder_);
        g_soundEnabled.store(false);
        FillDefaultLiveries();
        window_.Create(640, 480);
        g_renderDevice.InitHardware(ZARVO_RENDER_LIBRARY);
        const ScreenMode mode{640, 480, 16, 60, 0};
        g_renderDevice.InitScreen(window_.RenderTarget(), 0, "", &mode);
        std::string error;
        const DemoRaceArchives built = BuildDemoRaceArchives((folder_ / "scratch").string(), error);
        Mount("objects.cpr", built.objects, g_archiveObjects);
        Mount("textures.cpr", built.textures, g_archiveTextures);
        Mount("menu.cpr", built.menu, g_archiveMenu);
        Mount("data.cpr", built.data, g_archiveData);
    }
    ~LoadStage()
    {
        g_renderDevice.CleanUp();
        g_renderDevice.ShotDown();
        g_archiveObjects = g_archiveTextures = g_archiveMenu = g_archiveData = nullptr;
        std::filesystem::remove_all(folder_);
    }

    std::string Folder() const { return folder_.string(); }

private:
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
};

void LoadDemoCircuit(benchmark::State& state)
{
    static LoadStage stage;
    auto race = std::make_unique<RaceContext>(stage.Folder() + "/system.cpr");
    const auto riders = static_cast<uint32_t>(state.range(1));
    if (!PrepareDemoRace(*race, BikeClass::Class125, Weather::Fine, riders))
    {
        state.SkipWithError("the demo race cannot be prepared");
        return;
    }
    RaceContent content(g_renderDevice, *race);
    RaceContentHooks hooks;
    RaceContentOptions options;
    options.modelDetail = static_cast<uint32_t>(state.range(0));
    for (auto _ : state)
    {
        if (!content.Load(options, hooks))
        {
            state.SkipWithError("the demo circuit does not load");
            return;
        }
        content.Unload();
    }
}
}  // namespace

BENCHMARK(LoadDemoCircuit)
    ->Args({2, 25})
    ->Args({0, 25})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK_MAIN();
