// Binding the render library by name: the library the game ships, and builds of it that lack
// an entry point or find no 3D board.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/device/RenderBindings.h"
#include "app/device/RenderDevice.h"
#include "platform/scripted/ScriptedPlatform.h"

namespace
{
class RenderBindingTest : public testing::Test
{
protected:
    RenderBindingTest() : installed_(platform_) {}
    ~RenderBindingTest() override { UnloadRenderDll(); }

    static bool NoSlotBound()
    {
        const RenderSlots none;
        return std::memcmp(&g_renderSlots, &none, sizeof none) == 0;
    }

    ScriptedPlatform platform_;
    ScopedPlatform installed_;
};

// The entries in the order the game binds them: slot i receives the entry named at i.
constexpr std::array<const char*, kRenderEntryCount> kEntryNames = {"rdll_DownLoadTextureIndex",
                                                                    "rdll_DownLoadTexture",
                                                                    "rdll_LoadTexture",
                                                                    "rdll_LoadMemoryTexture",
                                                                    "rdll_ReLoadTexture",
                                                                    "rdll_ReLoadMemoryTexture",
                                                                    "rdll_IsGlideActive",
                                                                    "rdll_SetRenderStateDefaults",
                                                                    "rdll_ClearBuffer",
                                                                    "rdll_Wait",
                                                                    "rdll_InitScreen",
                                                                    "rdll_UnlockLFB",
                                                                    "rdll_LockLFB",
                                                                    "rdll_CleanUp",
                                                                    "rdll_Flip",
                                                                    "rdll_FillBitmap",
                                                                    "rdll_CopyBitmap",
                                                                    "rdll_CreateBitmap",
                                                                    "rdll_CreateTexture",
                                                                    "rdll_LockTexture",
                                                                    "rdll_UnlockTexture",
                                                                    "rdll_GetTexture",
                                                                    "rdll_DrawLine",
                                                                    "rdll_DrawRect",
                                                                    "rdll_DrawFlare",
                                                                    "rdll_DrawTextScreen",
                                                                    "rdll_DrawColorTextScreen",
                                                                    "rdll_DrawText2",
                                                                    "rdll_DrawText",
                                                                    "rdll_SetDrawTextVars",
                                                                    "rdll_GrabScreen",
                                                                    "rdll_DrawBitmapRect",
                                                                    "rdll_EnableFog",
                                                                    "rdll_DisableFog",
                                                                    "rdll_ShotDown",
                                                                    "rdll_FogGenerateLinear",
                                                                    "rdll_Reset",
                                                                    "rdll_Free",
                                                                    "rdll_SetClipRect",
                                                                    "rdll_SetArchive",
                                                                    "rdll_InitHardware",
                                                                    "rdll_CopyAniFrame",
                                                                    "rdll_CloseAnimation",
                                                                    "rdll_OpenAnimation",
                                                                    "rdll_FreeMemoryTexture",
                                                                    "rdll_SaveRenderState",
                                                                    "rdll_ResetRenderState",
                                                                    "rdll_StrLen",
                                                                    "rdll_Begin3D",
                                                                    "rdll_Finish3D",
                                                                    "rdll_GetCursorData",
                                                                    "rdll_GetScreenColor",
                                                                    "rdll_FillSolidRect",
                                                                    "rdll_CreateFixed",
                                                                    "rdll_CreateProportional",
                                                                    "rdll_CreateKerning",
                                                                    "rdll_FreeGameFont",
                                                                    "rdll_SetFontBitmap",
                                                                    "rdll_LoadTextureImage",
                                                                    "rdll_BeginDraw",
                                                                    "rdll_EndDraw",
                                                                    "rdll_GetAdapterInfos",
                                                                    "rdll_SwitchScreenMode",
                                                                    "rdll_LooseFocus",
                                                                    "rdll_GetFocus",
                                                                    "vecdll_SetVectorVars",
                                                                    "vecdll_Draw",
                                                                    "vecdll_init",
                                                                    "vecdll_recalc_matrix",
                                                                    "vecdll_collrotateall",
                                                                    "vecdll_resetrenderstate"};

TEST_F(RenderBindingTest, BindsEveryEntryOfTheLibraryInItsSlot)
{
    ASSERT_TRUE(LoadRenderDll("ZarvoGlide2.so"));
    EXPECT_TRUE(IsRenderDllLoaded());
    EXPECT_TRUE(platform_.MessageBoxes().empty());

    // Opened a second time, the library gives the same addresses the binding stored.
    static_assert(sizeof(RenderSlots) == kRenderEntryCount * sizeof(void*));
    std::array<void*, kRenderEntryCount> slots{};
    std::memcpy(slots.data(), &g_renderSlots, sizeof slots);
    Platform::LibraryHandle library = platform_.OpenLibrary("ZarvoGlide2.so");
    ASSERT_NE(library, nullptr);
    for (size_t i = 0; i < kRenderEntryCount; ++i)
    {
        void* entry = platform_.LibrarySymbol(library, kEntryNames[i]);
        ASSERT_NE(entry, nullptr) << kEntryNames[i];
        EXPECT_EQ(slots[i], entry) << "slot " << i << " should hold " << kEntryNames[i];
    }
    platform_.CloseLibrary(library);

    UnloadRenderDll();
    EXPECT_FALSE(IsRenderDllLoaded());
    EXPECT_TRUE(NoSlotBound());
}

TEST_F(RenderBindingTest, ALibraryThatDoesNotLoadFailsSilently)
{
    EXPECT_FALSE(LoadRenderDll("NoSuchLibrary.dll"));
    EXPECT_FALSE(IsRenderDllLoaded());
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(RenderBindingTest, AMissingEntryIsNamedAndNothingStaysBound)
{
    EXPECT_FALSE(LoadRenderDll("ZarvoGlide2Incomplete.so"));
    EXPECT_EQ(platform_.MessageBoxes(),
              std::vector<std::string>{"Missing Dll Entry: vecdll_resetrenderstate"});
    EXPECT_FALSE(IsRenderDllLoaded());
    EXPECT_TRUE(NoSlotBound());
}

TEST_F(RenderBindingTest, HardwareThatDoesNotStartUnloadsTheLibrary)
{
    RenderDevice device;
    EXPECT_FALSE(device.InitHardware("ZarvoGlide2NoBoard.so"));
    EXPECT_EQ(platform_.MessageBoxes(),
              std::vector<std::string>{
                  "Init Hardware failed - No 3dfx card present or glide2.x not installed"});
    EXPECT_FALSE(IsRenderDllLoaded());
}

TEST_F(RenderBindingTest, StartsTheBoardAndDescribesTheAdapter)
{
    RenderDevice device;
    ASSERT_TRUE(device.InitHardware("ZarvoGlide2.so"));
    AdapterInfo* adapter = nullptr;
    EXPECT_EQ(device.GetAdapterInfos(&adapter), 1);
    ASSERT_NE(adapter, nullptr);
    EXPECT_GT(adapter->modeCount, 0u);

    // Starting it again with another library first lets the loaded one go.
    EXPECT_FALSE(device.InitHardware("ZarvoGlide2NoBoard.so"));
    EXPECT_TRUE(device.InitHardware("ZarvoGlide2.so"));
    EXPECT_TRUE(device.ShotDown());
    EXPECT_FALSE(device.ShotDown());
}

// A picture the program holds in a global and gives back when it ends, as the menus'
// background does.
struct HeldPicture
{
    HeldPicture() = default;
    HeldPicture(const HeldPicture&) = delete;
    HeldPicture& operator=(const HeldPicture&) = delete;
    ~HeldPicture()
    {
        // Straight through the bound entry: the device may be gone by now.
        if (picture != nullptr && g_renderSlots.rdll_FreeMemoryTexture != nullptr)
        {
            g_renderSlots.rdll_FreeMemoryTexture(picture);
        }
    }

    Texture* picture = nullptr;
};
HeldPicture g_heldPicture;

// A process that ends through exit() with the library still loaded (the display lost under a
// frame): the program's globals give back what they hold and the device cleans up through the
// library, which must still be there to take it.
TEST(RenderDeviceDeathTest, AnExitWithTheLibraryLoadedEndsWithItsOwnStatus)
{
    EXPECT_EXIT(
        {
            ScriptedPlatform platform;
            ScopedPlatform installed(platform);
            if (!g_renderDevice.InitHardware("ZarvoGlide2.so"))
            {
                std::exit(2);
            }
            g_renderDevice.CreateBitmap(&g_heldPicture.picture, 16, 16, 0);
            if (g_heldPicture.picture == nullptr ||
                g_renderDevice.CreateTexture(16, 16, 3, 0) == nullptr ||
                g_renderDevice.FogGenerateLinear(1.0f, 100.0f) == nullptr)
            {
                std::exit(2);
            }
            std::exit(3);
        },
        testing::ExitedWithCode(3), "");
}
}  // namespace
