#include "tests/content/DemoRaceStage.h"

#include "app/archive/ArchiveSet.h"
#include "kit/content/DemoContent.h"
#include "kit/motion/DemoMotions.h"
#include "kit/race/DemoRace.h"
#include "race/RaceContext.h"

DemoRaceArchives BuildDemoRaceArchives(const std::string& scratch, std::string& error)
{
    kit::DemoArchives archives;
    if (!kit::AddDemoContent(archives, error) || !kit::AddDemoMotions(archives.menu, error) ||
        !kit::AddDemoRace(archives, scratch, error))
    {
        return {};
    }
    return {archives.objects.Build(), archives.textures.Build(), archives.menu.Build(),
            archives.data.Build()};
}

bool PrepareDemoRace(RaceContext& race, BikeClass bikeClass, Weather weather, uint32_t riders,
                     std::string_view circuit)
{
    CurrentRace& current = race.current;
    current.circuitName = circuit;
    current.bikeClass = bikeClass;
    current.weather = weather;
    current.riderCount = riders;
    current.viewedRider = 0;
    if (!race.LoadRacingLine(g_archiveData) || !race.LoadClassBikeSetups(g_archiveMenu, bikeClass))
    {
        return false;
    }
    const StartSlots& slots = race.race.startSlots;
    for (uint32_t rider = 0; rider < riders && rider < slots.count; ++rider)
    {
        BikeRecord& bike = race.bikes[rider];
        bike.positionX = slots.x[rider];
        bike.positionZ = slots.z[rider];
        bike.course = slots.gridHeading;
        bike.aiLineNode = slots.node[rider];
    }
    return true;
}
