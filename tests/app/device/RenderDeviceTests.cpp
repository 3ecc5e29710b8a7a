// The forwarding members that adapt their arguments, against entry points of the test's own
// that record what they are given.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/device/RenderBindings.h"
#include "app/device/RenderDevice.h"
#include "app/device/Screenshot.h"
#include "core/world/VectorVars.h"
#include "tests/support/TestDirectory.h"

namespace
{
std::vector<int32_t> g_arguments;  // of the last recorded call
Texture g_texture;
std::vector<uint16_t> g_frameBuffer;
int32_t g_frameBufferStride = 0;

void RecordClip(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    g_arguments = {left, top, right, bottom};
}

void RecordRect(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height, int32_t u,
                int32_t v, int32_t du, int32_t dv, int32_t alpha, float /*depth*/)
{
    g_arguments = {texture, x, y, width, height, u, v, du, dv, alpha};
}

Texture* TextureAt(int32_t index)
{
    return index == 7 ? &g_texture : nullptr;
}

int32_t RecordBlit(Texture* /*source*/, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                   int32_t width, int32_t height, int32_t keyed, int32_t unused,
                   Texture* destination)
{
    g_arguments = {sx, sy, dx, dy, width, height, keyed, unused, destination == nullptr};
    return 1;
}

void Cursor(int32_t* out)
{
    out[0] = 12;
    out[1] = 34;
    out[2] = 3;
}

int32_t LockFrameBuffer(LfbInfo* out)
{
    out->address = g_frameBuffer.data();
    out->stride = g_frameBufferStride;
    return 1;
}

void UnlockFrameBuffer(LfbInfo* /*info*/) {}

int32_t InitScreen(const RenderWindow* /*window*/, int32_t /*option*/, const char* /*text*/,
                   const ScreenMode* /*mode*/)
{
    return 1;
}

class RenderDeviceTest : public testing::Test
{
protected:
    RenderDeviceTest()
    {
        g_arguments.clear();
        g_renderSlots.rdll_SetClipRect = RecordClip;
        g_renderSlots.rdll_DrawRect = RecordRect;
        g_renderSlots.rdll_GetTexture = TextureAt;
        g_renderSlots.rdll_DrawBitmapRect = RecordBlit;
        g_renderSlots.rdll_GetCursorData = Cursor;
        g_renderSlots.rdll_LockLFB = LockFrameBuffer;
        g_renderSlots.rdll_UnlockLFB = UnlockFrameBuffer;
        g_renderSlots.rdll_InitScreen = InitScreen;
        OpenScreen(640, 480);
    }

    ~RenderDeviceTest() override { ClearRenderDll(); }

    void OpenScreen(int32_t width, int32_t height)
    {
        const ScreenMode mode{width, height, 16, 60, 0};
        ASSERT_EQ(device_.InitScreen(nullptr, 0, "", &mode), 1);
    }

    RenderDevice device_;
};

TEST_F(RenderDeviceTest, ClipRectanglesAreClampedToTheScreen)
{
    device_.SetClipRect(-5, -5, 700, 500);
    EXPECT_EQ(g_arguments, (std::vector<int32_t>{0, 0, 640, 480}));
    device_.SetClipRect(10, 20, 30, 40);
    EXPECT_EQ(g_arguments, (std::vector<int32_t>{10, 20, 30, 40}));
    OpenScreen(800, 600);
    device_.SetClipRect(0, 0, 700, 500);
    EXPECT_EQ(g_arguments, (std::vector<int32_t>{0, 0, 700, 500}));
}

TEST_F(RenderDeviceTest, TextureCoordinatesAreFractionsOfThePicture)
{
    g_texture.width = 256;
    g_texture.height = 64;
    device_.DrawRect(7, 1, 2, 3, 4, 0.5f, 0.25f, 0.999f, 1.0f, 200, 0.0f);
    EXPECT_EQ(g_arguments, (std::vector<int32_t>{7, 1, 2, 3, 4, 128, 16, 255, 64, 200}));
}

TEST_F(RenderDeviceTest, ASolidRectanglePassesItsCoordinatesTruncated)
{
    device_.DrawRect(-1, 1, 2, 3, 4, 1.9f, -1.9f, 2.5f, 3.99f, 255, 0.0f);
    EXPECT_EQ(g_arguments, (std::vector<int32_t>{-1, 1, 2, 3, 4, 1, -1, 2, 3, 255}));
}

TEST_F(RenderDeviceTest, BitmapBlitsGainTheArgumentTheGameNeverVaries)
{
    EXPECT_EQ(device_.DrawBitmapRect(&g_texture, 1, 2, 3, 4, 5, 6, 1, nullptr), 1);
    EXPECT_EQ(g_arguments, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 1, 0, true}));
}

TEST_F(RenderDeviceTest, TheCursorComesWithoutButtons)
{
    std::array<int32_t, 3> cursor{};
    device_.GetCursorData(cursor.data());
    EXPECT_EQ(cursor, (std::array<int32_t, 3>{12, 34, 0}));
}

int g_libraryCleanUps = 0;

void CountCleanUp()
{
    ++g_libraryCleanUps;
}

// Between screens the world goes with the library's resources; a saved world stays.
TEST_F(RenderDeviceTest, CleanUpFreesTheWorldAndTheLibrarysResources)
{
    g_renderSlots.rdll_CleanUp = CountCleanUp;
    g_libraryCleanUps = 0;
    ASSERT_NE(device_.CreateWorld(0x10000), nullptr);
    device_.CleanUp();
    EXPECT_EQ(device_.Root(), nullptr);
    EXPECT_EQ(device_.World(), nullptr);
    EXPECT_EQ(device_.Vars().arenaBase.Offset(), 0u);
    EXPECT_EQ(g_libraryCleanUps, 1);

    ASSERT_NE(device_.CreateWorld(0x10000), nullptr);
    uint32_t saved[24];
    device_.SaveState(saved, true);
    device_.CleanUp();
    EXPECT_EQ(device_.RestoreState(saved), 1);
    EXPECT_NE(device_.World(), nullptr);
    EXPECT_NE(device_.AllocRaw(16), nullptr);
    device_.CleanUp();
    EXPECT_EQ(g_libraryCleanUps, 3);
}

TEST_F(RenderDeviceTest, UnboundEntriesDoNothingAndGiveZero)
{
    ClearRenderDll();
    EXPECT_EQ(device_.GetTexture(7), nullptr);
    EXPECT_EQ(device_.BeginDraw(), 0);
    EXPECT_EQ(device_.StrLen("text"), 0);
    device_.Flip();
    Texture* handle = &g_texture;
    device_.FreeMemoryTexture(&handle);
    EXPECT_EQ(handle, nullptr);
}

TEST(ScreenshotNameTest, NumbersHaveAtLeastThreeDigits)
{
    EXPECT_EQ(ScreenshotFileName(0), "graps/Grap_000.bmp");
    EXPECT_EQ(ScreenshotFileName(42), "graps/Grap_042.bmp");
    EXPECT_EQ(ScreenshotFileName(999), "graps/Grap_999.bmp");
    EXPECT_EQ(ScreenshotFileName(1000), "graps/Grap_1000.bmp");
}

class ScreenshotTest : public RenderDeviceTest
{
protected:
    ScreenshotTest()
    {
        g_frameBufferStride = 1024 * 2;  // rows padded, as a board may lay them out
        g_frameBuffer.assign(static_cast<size_t>(1024) * 480, 0xFFFF);
        std::filesystem::create_directory("graps");
    }

    TestDirectory directory_;
};

TEST_F(ScreenshotTest, IsABottomUpBitmapOfTheScreen)
{
    g_frameBuffer[0] = 0xF800;           // top left: red
    g_frameBuffer[479 * 1024] = 0x001F;  // bottom left: blue
    device_.SaveScreenshot();
    const std::string file = directory_.ReadFile("graps/Grap_000.bmp");
    ASSERT_EQ(file.size(), 921656u);
    EXPECT_EQ(file.substr(0, 2), "BM");
    const auto byteAt = [&](size_t offset) { return static_cast<uint8_t>(file[offset]); };
    EXPECT_EQ(byteAt(2) | byteAt(3) << 8 | byteAt(4) << 16, 921656);
    EXPECT_EQ(byteAt(10), 54);
    EXPECT_EQ(byteAt(18) | byteAt(19) << 8, 640);
    EXPECT_EQ(byteAt(22) | byteAt(23) << 8, 480);
    EXPECT_EQ(byteAt(28), 24);
    EXPECT_EQ(byteAt(38) | byteAt(39) << 8, 2834);
    // The first row written is the bottom one; each pixel blue, green, red.
    EXPECT_EQ(file.substr(54, 6), std::string("\xF8\x00\x00\xF8\xFC\xF8", 6));
    EXPECT_EQ(file.substr(54 + 479 * 640 * 3, 6), std::string("\x00\x00\xF8\xF8\xFC\xF8", 6));
    EXPECT_EQ(file.substr(921654), std::string(2, '\0'));

    device_.SaveScreenshot();
    EXPECT_TRUE(std::filesystem::exists("graps/Grap_001.bmp"));
}

TEST_F(ScreenshotTest, OnlyA640By480ScreenIsTaken)
{
    OpenScreen(800, 600);
    device_.SaveScreenshot();
    EXPECT_FALSE(std::filesystem::exists("graps/Grap_000.bmp"));
}
}  // namespace
