// Binding the render library by name: the library the game ships, and builds of it that lack
// an entry point or find no 3D board.

#include <gtest/gtest.h>

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

TEST_F(RenderBindingTest, BindsEveryEntryOfTheLibrary)
{
    ASSERT_TRUE(LoadRenderDll("ZarvoGlide2.so"));
    EXPECT_TRUE(IsRenderDllLoaded());
    EXPECT_NE(g_renderSlots.rdll_DownLoadTextureIndex, nullptr);
    EXPECT_NE(g_renderSlots.vecdll_resetrenderstate, nullptr);
    EXPECT_TRUE(platform_.MessageBoxes().empty());

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
}  // namespace
