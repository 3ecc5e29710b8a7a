#pragma once

// The board's render state as the library sets it, and the set of loaded textures, palettes
// and fog tables saved aside while another screen builds its own and put back afterwards.

#include <cstdint>
#include <list>
#include <map>
#include <optional>

#include "render/TextureStore.h"
#include "render/draw/Fog.h"

namespace render
{

struct RenderLibrary;

// Everything the library relies on, set whenever the screen opens: W-buffer with less-or-equal
// test and writes on, the 2D defaults, point sampling, wrapped coordinates.
void SetOpenRenderState();
// Texture colour x vertex colour, texture alpha x constant alpha, constant colour opaque
// black, blending by source alpha.
void SetRenderStateDefaults();

// Empties the texture table, frees every table texture, palette and fog table, and leaves
// text without a font.
void CleanUp(RenderLibrary& library);

// Sets every table texture, palette and fog table aside and starts empty; returns the id that
// puts them back, never 0.
uint32_t SaveRenderState(RenderLibrary& library);
// Frees what was loaded since, puts the saved textures and fog tables back and downloads the
// textures again; an id is taken once, unknown ids are ignored.
void ResetRenderState(RenderLibrary& library, uint32_t id);

class SavedRenderStates
{
public:
    struct Record
    {
        SavedTextures textures;
        FogTables::List fogTables;
        bool fogOn = false;
    };

    uint32_t Add(Record record);
    std::optional<Record> Take(uint32_t id);

private:
    std::map<uint32_t, Record> records_;
    uint32_t lastId_ = 0;
};

}  // namespace render
