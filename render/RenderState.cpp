#include "render/RenderState.h"

#include "glide/Glide.h"
#include "render/RenderLibrary.h"
#include "render/draw/DrawState.h"
#include "render/text/TextSettings.h"

namespace render
{

void SetRenderStateDefaults()
{
    grAlphaCombine(GrCombineFunction::ScaleOther, GrCombineFactor::Local, GrCombineLocal::Constant,
                   GrCombineOther::Texture, false);
    grConstantColorValue(0xFF000000u);
    grAlphaBlendFunction(GrBlendFactor::SrcAlpha, GrBlendFactor::OneMinusSrcAlpha,
                         GrBlendFactor::One, GrBlendFactor::Zero);
    grColorCombine(GrCombineFunction::ScaleOther, GrCombineFactor::Local, GrCombineLocal::Iterated,
                   GrCombineOther::Texture, false);
}

void SetOpenRenderState()
{
    grDepthBufferMode(GrDepthBufferMode::WBuffer);
    grDepthBufferFunction(GrCmpFunction::LEqual);
    grDepthMask(true);
    SetRenderStateDefaults();
    grTexFilterMode(GrChipId::Tmu0, GrTextureFilterMode::PointSampled,
                    GrTextureFilterMode::PointSampled);
    grTexMipMapMode(GrChipId::Tmu0, GrMipMapMode::Disable, false);
    grColorMask(true, false);
    grTexCombine(GrChipId::Tmu0, GrCombineFunction::Local, GrCombineFactor::None,
                 GrCombineFunction::Local, GrCombineFactor::None, false, false);
    grTexClampMode(GrChipId::Tmu0, GrTextureClampMode::Wrap, GrTextureClampMode::Wrap);
    grHints(GrHint::StwHint, kGrStwHintTmu0WDiffers);
}

void CleanUp(RenderLibrary& library)
{
    library.screen.ReleaseLfb();
    library.textures.FreeTableTextures();
    TheDrawState().fogTables.FreeAll();
    TheTextSettings().font = nullptr;
}

uint32_t SaveRenderState(RenderLibrary& library)
{
    SavedRenderStates::Record record;
    record.textures = library.textures.TakeTableTextures();
    record.fogTables = TheDrawState().fogTables.TakeAll();
    record.fogOn = library.screen.FogOn();
    const uint32_t id = library.savedStates.Add(std::move(record));
    library.textures.Memory().ResetCursor();
    CleanUp(library);
    return id;
}

void ResetRenderState(RenderLibrary& library, uint32_t id)
{
    std::optional<SavedRenderStates::Record> record = library.savedStates.Take(id);
    if (!record)
    {
        return;
    }
    library.textures.Memory().ResetCursor();
    CleanUp(library);
    library.textures.Restore(std::move(record->textures));
    TheDrawState().fogTables.Restore(std::move(record->fogTables));
    library.screen.SetFogOn(record->fogOn);
    // The screen is brought back only when the library holds it; otherwise taking it back
    // later downloads the textures.
    if (library.screen.IsActive() && library.screen.Open())
    {
        library.textures.Memory().ResetCursor();
        library.textures.DownloadAll();
    }
}

uint32_t SavedRenderStates::Add(Record record)
{
    do
    {
        ++lastId_;
    } while (lastId_ == 0 || records_.contains(lastId_));
    records_.emplace(lastId_, std::move(record));
    return lastId_;
}

std::optional<SavedRenderStates::Record> SavedRenderStates::Take(uint32_t id)
{
    const auto found = records_.find(id);
    if (found == records_.end())
    {
        return std::nullopt;
    }
    Record record = std::move(found->second);
    records_.erase(found);
    return record;
}

}  // namespace render
