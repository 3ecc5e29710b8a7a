#pragma once

// Table fog: the switch the game turns, and the fog tables the library generates for it. A
// table keeps its address until it is freed, as scene nodes point at it.

#include <array>
#include <cstddef>
#include <list>

#include "glide/Glide.h"

namespace render
{

class Screen;

class FogTables
{
public:
    using Table = std::array<GrFog, kGrFogTableSize>;

    // A new table with fog growing linearly with W, from none at nearW to full at farW.
    GrFog* GenerateLinear(float nearW, float farW);
    size_t Count() const { return tables_.size(); }

    void FreeAll() { tables_.clear(); }
    // Every table, handed over (the list is left empty) and taken back, for saved render
    // states.
    std::list<Table> TakeAll();
    void Restore(std::list<Table> tables);

private:
    std::list<Table> tables_;
};

// Fog by table for what the board draws from now on, or none. Remembered while the screen is
// given up and applied when it opens again.
void EnableFog(Screen& screen);
void DisableFog(Screen& screen);

}  // namespace render
