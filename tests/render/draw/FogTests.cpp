// Fog tables from the linear generator, checked against its formula, and the fog switch.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "render/RenderApi.h"
#include "render/draw/DrawState.h"
#include "tests/render/LibraryScreen.h"

namespace
{

// Entry i of a fog table stands for W = 2^(3 + i / 4) / (8 - i % 4); linear fog there is
// 255 (W - near) / (far - near), clamped to 0..1 and truncated.
int LinearFog(int entry, double nearW, double farW)
{
    const double w = std::ldexp(1.0, 3 + entry / 4) / (8 - entry % 4);
    return static_cast<int>(255.0 * std::clamp((w - nearW) / (farW - nearW), 0.0, 1.0));
}

using FogTables = LibraryScreen;

TEST_F(FogTables, LinearTablesFollowTheFormula)
{
    const struct
    {
        float nearW;
        float farW;
        int entries[4][2];  // spot values: entry, fog
    } kCircuits[] = {
        {1.0f, 65000.0f, {{0, 0}, {40, 4}, {52, 32}, {63, 205}}},
        {-1000.0f, 38000.0f, {{0, 6}, {40, 13}, {56, 113}, {63, 255}}},
    };
    for (const auto& circuit : kCircuits)
    {
        const uint8_t* table = rdll_FogGenerateLinear(circuit.nearW, circuit.farW);
        ASSERT_NE(table, nullptr);
        for (int entry = 0; entry < 64; ++entry)
        {
            EXPECT_EQ(table[entry], LinearFog(entry, circuit.nearW, circuit.farW))
                << "entry " << entry << " of " << circuit.nearW << ".." << circuit.farW;
        }
        for (const auto& [entry, fog] : circuit.entries)
        {
            EXPECT_EQ(table[entry], fog) << "entry " << entry;
        }
    }
    EXPECT_EQ(rdll_FogGenerateLinear(1.0f, 65000.0f)[60], 128);
}

TEST_F(FogTables, EveryTableKeepsItsAddressAndValuesUntilFreed)
{
    uint8_t* first = rdll_FogGenerateLinear(1.0f, 65000.0f);
    uint8_t* second = rdll_FogGenerateLinear(100.0f, 100.0f);
    for (int i = 0; i < 50; ++i)
    {
        rdll_FogGenerateLinear(static_cast<float>(i), 5000.0f);
    }
    EXPECT_NE(first, second);
    EXPECT_EQ(first[63], 205);
    // No ramp: full fog from the far distance on.
    EXPECT_EQ(second[0], 0);
    EXPECT_EQ(second[63], 255);
    EXPECT_EQ(render::TheDrawState().fogTables.Count(), 52u);
}

TEST_F(FogTables, SavedTablesComeBackUnchanged)
{
    render::FogTables& tables = render::TheDrawState().fogTables;
    uint8_t* kept = rdll_FogGenerateLinear(1.0f, 65000.0f);
    render::FogTables::List saved = tables.TakeAll();
    EXPECT_EQ(tables.Count(), 0u);
    rdll_FogGenerateLinear(5.0f, 50.0f);
    tables.FreeAll();
    tables.Restore(std::move(saved));
    EXPECT_EQ(tables.Count(), 1u);
    EXPECT_EQ(kept[63], 205);
}

TEST_F(FogTables, DisablingFogReportsSuccess)
{
    rdll_EnableFog();
    EXPECT_EQ(rdll_DisableFog(), 1);
    rdll_LooseFocus();
    rdll_EnableFog();
    EXPECT_EQ(rdll_DisableFog(), 1);
}

}  // namespace
