#include <gtest/gtest.h>

#include <string>

#include "platform/DynamicLibrary.h"
#include "render/RenderApi.h"

namespace
{
// Every entry point of the built library, as the game looks them up.
constexpr const char* kEntryPoints[] = {
    "rdll_InitHardware",
    "rdll_GetAdapterInfos",
    "rdll_GetDllInfo",
    "rdll_InitScreen",
    "rdll_SwitchScreenMode",
    "rdll_ShotDown",
    "rdll_CleanUp",
    "rdll_Free",
    "rdll_IsGlideActive",
    "rdll_LooseFocus",
    "rdll_GetFocus",
    "rdll_ClearBuffer",
    "rdll_Flip",
    "rdll_BeginDraw",
    "rdll_EndDraw",
    "rdll_Begin3D",
    "rdll_Finish3D",
    "rdll_GrabScreen",
    "rdll_LockLFB",
    "rdll_UnlockLFB",
    "rdll_SetRenderStateDefaults",
    "rdll_SaveRenderState",
    "rdll_ResetRenderState",
    "rdll_GetTexture",
    "rdll_LoadTexture",
    "rdll_ReLoadTexture",
    "rdll_LoadTextureImage",
    "rdll_LoadMemoryTexture",
    "rdll_ReLoadMemoryTexture",
    "rdll_FreeMemoryTexture",
    "rdll_DownLoadTexture",
    "rdll_DownLoadTextureIndex",
    "rdll_CreateTexture",
    "rdll_CreateBitmap",
    "rdll_LockTexture",
    "rdll_UnlockTexture",
    "rdll_Wait",
    "rdll_Reset",
    "rdll_SetArchive",
    "rdll_FillBitmap",
    "rdll_CopyBitmap",
    "rdll_DrawBitmapRect",
    "rdll_FillSolidRect",
    "rdll_GetScreenColor",
    "rdll_DrawRect",
    "rdll_DrawFlare",
    "rdll_DrawLine",
    "rdll_SetClipRect",
    "rdll_GetCursorData",
    "rdll_EnableFog",
    "rdll_DisableFog",
    "rdll_FogGenerateLinear",
    "rdll_CreateFixed",
    "rdll_CreateProportional",
    "rdll_CreateKerning",
    "rdll_SetFontBitmap",
    "rdll_FreeGameFont",
    "rdll_SetDrawTextVars",
    "rdll_DrawText",
    "rdll_DrawText2",
    "rdll_DrawTextScreen",
    "rdll_DrawColorTextScreen",
    "rdll_StrLen",
    "rdll_OpenAnimation",
    "rdll_CopyAniFrame",
    "rdll_CloseAnimation",
    "rdll_GetJumpTable",
    "vecdll_SetVectorVars",
    "vecdll_Draw",
    "vecdll_init",
    "vecdll_recalc_matrix",
    "vecdll_collrotateall",
    "vecdll_resetrenderstate",
};
static_assert(std::size(kEntryPoints) == 73);

class ExportsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library_ = dynlib::Open(ZARVO_RENDER_LIBRARY);
        ASSERT_NE(library_, nullptr);
    }
    void TearDown() override
    {
        if (library_ != nullptr)
        {
            dynlib::Close(library_);
        }
    }

    void* library_ = nullptr;
};

TEST_F(ExportsTest, EveryEntryPointResolvesByName)
{
    for (const char* name : kEntryPoints)
    {
        EXPECT_NE(dynlib::Symbol(library_, name), nullptr) << name;
    }
}

TEST_F(ExportsTest, NothingItIsBuiltFromIsExported)
{
    for (const char* name : {"grGlideInit", "grBufferSwap", "JPEGSUPP_JpegBitmapFreeRawImage",
                             "_ZN6render10TheLibraryEv", "_ZN6DAFile4ReadEPvj",
                             "_Z11ShowMessageSt17basic_string_viewIcSt11char_traitsIcEE"})
    {
        EXPECT_EQ(dynlib::Symbol(library_, name), nullptr) << name;
    }
}

TEST_F(ExportsTest, EntryPointsAnswerThroughTheLoadedLibrary)
{
    const auto getDllInfo =
        reinterpret_cast<decltype(&rdll_GetDllInfo)>(dynlib::Symbol(library_, "rdll_GetDllInfo"));
    const auto getAdapterInfos = reinterpret_cast<decltype(&rdll_GetAdapterInfos)>(
        dynlib::Symbol(library_, "rdll_GetAdapterInfos"));
    const auto strLen =
        reinterpret_cast<decltype(&rdll_StrLen)>(dynlib::Symbol(library_, "rdll_StrLen"));
    ASSERT_TRUE(getDllInfo && getAdapterInfos && strLen);
    char info[13];
    EXPECT_EQ(getDllInfo(info), 13);
    EXPECT_STREQ(info, "3DFX - Glide");
    AdapterInfo* adapter = nullptr;
    EXPECT_EQ(getAdapterInfos(&adapter), 0);
    EXPECT_EQ(strLen("not yet"), 0);  // text drawing is not in the library yet
}

}  // namespace
