#pragma once

// Table fog: the switch the game turns, and the fog tables the library generates for it. A
// table keeps its address until it is freed, as scene nodes point at it.

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>

#include "glide/Glide.h"

namespace render
{

class Screen;

// One table of kGrFogTableSize entries. It lies in the 3D region once the library has taken
// the game's region (with the first view block), so that a scene node's fog link can name it;
// before that no scene exists, and it lies on the heap.
class FogTable
{
public:
    FogTable();
    ~FogTable();
    FogTable(const FogTable&) = delete;
    FogTable& operator=(const FogTable&) = delete;

    GrFog* Data() const { return data_; }

private:
    uint32_t regionOffset_ = 0;
    std::unique_ptr<GrFog[]> heap_;
    GrFog* data_ = nullptr;
};

class FogTables
{
public:
    using List = std::list<FogTable>;

    // A new table with fog growing linearly with W, from none at nearW to full at farW.
    GrFog* GenerateLinear(float nearW, float farW);
    size_t Count() const { return tables_.size(); }

    void FreeAll() { tables_.clear(); }
    // Every table, handed over (the list is left empty) and taken back, for saved render
    // states.
    List TakeAll();
    void Restore(List tables);

private:
    List tables_;
};

// Fog by table for what the board draws from now on, or none. Remembered while the screen is
// given up and applied when it opens again.
void EnableFog(Screen& screen);
void DisableFog(Screen& screen);

}  // namespace render
