// The object world drawing through the render library as the game loads it: a shared library
// with its own copy of the 3D region's code, which finds the game's region from the view block.

#include "core/world/WorldObject.h"
#include "kit/world/DemoObjects.h"
#include "platform/DynamicLibrary.h"
#include "tests/app/world/WorldTestSupport.h"

namespace
{
template <class Function>
Function* Bound(void* library, const char* name)
{
    return reinterpret_cast<Function*>(dynlib::Symbol(library, name));
}

class SharedLibraryTest : public WorldTest
{
protected:
    void SetUp() override
    {
        library_ = dynlib::Open(ZARVO_RENDER_LIBRARY);
        ASSERT_NE(library_, nullptr);
        world_.BindEngine(
            {Bound<decltype(vecdll_init)>(library_, "vecdll_init"),
             Bound<decltype(vecdll_SetVectorVars)>(library_, "vecdll_SetVectorVars"),
             Bound<decltype(vecdll_Draw)>(library_, "vecdll_Draw"),
             Bound<decltype(vecdll_recalc_matrix)>(library_, "vecdll_recalc_matrix"),
             Bound<decltype(vecdll_collrotateall)>(library_, "vecdll_collrotateall")});
    }
    void TearDown() override
    {
        world_.FreeWorld();
        world_.BindEngine({});
        if (library_ != nullptr)
        {
            Bound<decltype(rdll_ShotDown)>(library_, "rdll_ShotDown")();
            dynlib::Close(library_);
        }
    }

    void* library_ = nullptr;
};

TEST_F(SharedLibraryTest, BoxDrawsAsInTheLinkedLibrary)
{
    RenderWindow window;
    window.user = &platform_;
    window.present = [](const uint16_t* pixels, int width, int height, int pitchBytes, void* user) {
        static_cast<ScriptedPlatform*>(user)->Present({pixels, width, height, pitchBytes});
    };
    const ScreenMode mode{640, 480, 16, 60, 0};
    ASSERT_EQ(Bound<decltype(rdll_InitHardware)>(library_, "rdll_InitHardware")(), 1);
    ASSERT_EQ(Bound<decltype(rdll_InitScreen)>(library_, "rdll_InitScreen")(&window, 0, "", &mode),
              1);
    Texture* texture =
        Bound<decltype(rdll_CreateTexture)>(library_, "rdll_CreateTexture")(8, 8, 1, 4);
    ASSERT_NE(texture, nullptr);
    std::fill_n(reinterpret_cast<uint16_t*>(texture->pixels), 64, uint16_t{0x07E0});
    ASSERT_EQ(Bound<decltype(rdll_DownLoadTexture)>(library_, "rdll_DownLoadTexture")(texture), 1);

    WorldObject* root = world_.CreateWorld(1u << 20);
    world_.SetFieldOfView(300.0f, 1.0f);
    world_.SetViewport(0, 0, 320, 240, 0.1f, 1000.0f);
    WriteFile("box.4do", kit::WriteObjectFile(kit::TexturedBox(1.0f, 1)));
    WorldObject* box = world_.LoadObject("box.4do", 0, 4000.0);
    ASSERT_NE(box, nullptr);
    world_.AttachObject(box, root, 0, 0, 4, kAttachChild, 2);
    box->angles[1] = 0.5f;

    Bound<decltype(rdll_ClearBuffer)>(library_, "rdll_ClearBuffer")(3, 0);
    EXPECT_EQ(world_.DrawWorld(0), 1);
    Bound<decltype(rdll_Flip)>(library_, "rdll_Flip")();
    ASSERT_FALSE(platform_.Frames().empty());
    const CapturedFrame& frame = platform_.Frames().back();
    // The box's front faces, green under the light's shading, cover the middle of the view.
    const uint16_t middle = frame.pixels[120 * 640 + 160];
    EXPECT_NE(middle, 0);
    EXPECT_EQ(middle & 0xF81F, 0);
    EXPECT_EQ(frame.pixels[5 * 640 + 5], 0);
}
}  // namespace
