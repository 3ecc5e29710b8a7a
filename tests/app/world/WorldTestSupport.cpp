#include "tests/app/world/WorldTestSupport.h"

#include "render/RenderApi.h"

VectorEngineEntries LinkedEngine()
{
    return {&vecdll_init, &vecdll_SetVectorVars, &vecdll_Draw, &vecdll_recalc_matrix,
            &vecdll_collrotateall};
}

WorldTest::WorldTest()
{
    world_.BindEngine(LinkedEngine());
}

void WorldTest::WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const
{
    directory_.WriteFile(name, std::string(bytes.begin(), bytes.end()));
}

SceneTest::SceneTest()
{
    window_.user = this;
    window_.present = [](const uint16_t* pixels, int width, int height, int pitchBytes, void* user)
    {
        static_cast<SceneTest*>(user)->platform_.Present({pixels, width, height, pitchBytes});
    };
    window_.showMessage = [](const char* text, void* user)
    { static_cast<SceneTest*>(user)->platform_.ShowMessageBox(text); };
    const ScreenMode mode{640, 480, 16, 60, 0};
    EXPECT_EQ(rdll_InitHardware(), 1);
    EXPECT_EQ(rdll_InitScreen(&window_, 0, "", &mode), 1);
    world_.SetScreenSize(640, 480);
}

SceneTest::~SceneTest()
{
    world_.FreeWorld();
    rdll_Free();
    rdll_ShotDown();
}

WorldObject* SceneTest::CreateScene(float farDistance)
{
    WorldObject* root = world_.CreateWorld(4u << 20);
    world_.SetFieldOfView(300.0f, 1.0f);
    world_.SetViewport(0, 0, kViewWidth, kViewHeight, 0.1f, farDistance);
    return root;
}

void SceneTest::MakeQuadrantTexture(int32_t index, const uint16_t (&colours)[4])
{
    Texture* texture = rdll_CreateTexture(64, 64, index, kTextureFormatRgb565);
    ASSERT_NE(texture, nullptr);
    for (int y = 0; y < 64; ++y)
    {
        auto* row = reinterpret_cast<uint16_t*>(texture->pixels + texture->stride * y);
        for (int x = 0; x < 64; ++x)
        {
            const bool border = x < 4 || y < 4 || x >= 60 || y >= 60;
            row[x] = border ? 0x2104 : colours[(y / 32) * 2 + x / 32];
        }
    }
    ASSERT_EQ(rdll_DownLoadTexture(texture), 1);
}

void SceneTest::MakeSolidTexture(int32_t index, uint16_t colour)
{
    Texture* texture = rdll_CreateTexture(8, 8, index, kTextureFormatRgb565);
    ASSERT_NE(texture, nullptr);
    for (int y = 0; y < 8; ++y)
    {
        auto* row = reinterpret_cast<uint16_t*>(texture->pixels + texture->stride * y);
        std::fill(row, row + 8, colour);
    }
    ASSERT_EQ(rdll_DownLoadTexture(texture), 1);
}

FrameView565 SceneTest::DrawFrame(uint32_t clearColour)
{
    rdll_ClearBuffer(3, clearColour);
    rdll_Begin3D();
    world_.DrawWorld(0);
    rdll_Finish3D();
    rdll_Flip();
    const CapturedFrame& captured = platform_.Frames().back();
    frame_ =
        FrameView565{captured.pixels.data(), captured.width, captured.height, captured.width * 2}
            .Region(0, 0, kViewWidth, kViewHeight);
    return frame_;
}

void SceneTest::ExpectGolden(const std::string& name, uint64_t hash)
{
    EXPECT_TRUE(MatchesGolden("world-" + name, frame_, hash,
                              std::string(ZARVO_GOLDEN_DIR) + "/" + name + ".bmp"));
}
