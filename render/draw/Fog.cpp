#include "render/draw/Fog.h"

#include <utility>

#include "core/world/Region.h"
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

FogTable::FogTable()
{
    regionOffset_ = region::Base() != nullptr ? region::Allocate(kGrFogTableSize) : 0;
    if (regionOffset_ != 0)
    {
        data_ = region::Address(regionOffset_);
    }
    else
    {
        heap_ = std::make_unique<GrFog[]>(kGrFogTableSize);
        data_ = heap_.get();
    }
}

FogTable::~FogTable()
{
    region::Free(regionOffset_);
}

GrFog* FogTables::GenerateLinear(float nearW, float farW)
{
    GrFog* table = tables_.emplace_back().Data();
    guFogGenerateLinear(table, nearW, farW);
    return table;
}

FogTables::List FogTables::TakeAll()
{
    return std::exchange(tables_, {});
}

void FogTables::Restore(List tables)
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
