#include "render/draw/Fog.h"

#include <utility>

#include "render/Screen.h"

namespace render
{
namespace
{

void SwitchFog(Screen& screen, bool on)
{
    screen.ReleaseLfb();
    screen.SetFogOn(on);
    if (screen.IsActive())
    {
        grFogMode(on ? GrFogMode::WithTable : GrFogMode::Disable);
    }
}

}  // namespace

GrFog* FogTables::GenerateLinear(float nearW, float farW)
{
    Table& table = tables_.emplace_back();
    guFogGenerateLinear(table.data(), nearW, farW);
    return table.data();
}

std::list<FogTables::Table> FogTables::TakeAll()
{
    return std::exchange(tables_, {});
}

void FogTables::Restore(std::list<Table> tables)
{
    tables_.splice(tables_.end(), tables);
}

void EnableFog(Screen& screen)
{
    SwitchFog(screen, true);
}

void DisableFog(Screen& screen)
{
    SwitchFog(screen, false);
}

}  // namespace render
