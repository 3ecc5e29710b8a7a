// The rider page's machine against render entries of the test's own: hung hidden under the
// camera, shown and turned, dressed in the pictures of the rider's livery, and left out when
// the menu archive has no model.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "app/device/RenderBindings.h"
#include "app/device/RenderDevice.h"
#include "app/game/RiderLiveries.h"
#include "core/archive/CprArchive.h"
#include "core/world/WorldObject.h"
#include "frontend/mainmenu/BikePreview.h"
#include "kit/menu/MenuPreviewPictures.h"
#include "tests/support/TestDirectory.h"

namespace
{
// The picture each texture slot was given last, and whether it was a reload.
std::map<int32_t, std::string> g_slots;
int g_reloads = 0;
Texture g_texture;

Texture* Load(const char* name, int32_t index, uint32_t, int32_t)
{
    g_slots[index] = name;
    return &g_texture;
}

Texture* Reload(const char* name, int32_t index, uint32_t, int32_t)
{
    ++g_reloads;
    return Load(name, index, 0, 0);
}

class BikePreviewTest : public testing::Test
{
protected:
    BikePreviewTest()
    {
        g_slots.clear();
        g_reloads = 0;
        g_renderSlots.rdll_LoadTexture = Load;
        g_renderSlots.rdll_ReLoadTexture = Reload;
        FillDefaultLiveries();
        camera_ = g_renderDevice.CreateWorld(1u << 20);
    }
    ~BikePreviewTest() override
    {
        g_renderDevice.FreeWorld();
        ClearRenderDll();
    }

    std::unique_ptr<CprArchive> MenuArchive(bool withModel)
    {
        kit::CprWriter writer;
        std::string error;
        EXPECT_TRUE(withModel ? kit::AddMenuFlagsAndPreview(writer, error)
                              : writer.Add("MainMenu/oval.bmp", std::vector<uint8_t>(64, 1),
                                           kit::MemberStorage::Stored, error))
            << error;
        const std::vector<uint8_t> bytes = writer.Build();
        directory_.WriteFile("menu.cpr", std::string(bytes.begin(), bytes.end()));
        auto archive = std::make_unique<CprArchive>();
        EXPECT_TRUE(archive->Open("menu.cpr", true));
        return archive;
    }

    TestDirectory directory_;
    WorldObject* camera_ = nullptr;
    BikePreview preview_;
};
}  // namespace

TEST_F(BikePreviewTest, HangsHiddenUnderTheCameraAndTurnsOnlyWhileShown)
{
    const std::unique_ptr<CprArchive> archive = MenuArchive(true);
    ASSERT_TRUE(preview_.Load(camera_, *archive));
    WorldObject* machine = camera_->firstChild.get();
    ASSERT_NE(machine, nullptr);
    const uint16_t hidden = object_flags::kNoOwnPolygons;
    EXPECT_NE(machine->flags & hidden, 0) << "hidden until the rider page shows it";

    const float heading = machine->angles[1];
    preview_.Turn(1.0f);
    EXPECT_EQ(machine->angles[1], heading);
    preview_.Show(true);
    EXPECT_EQ(machine->flags & hidden, 0);
    preview_.Turn(0.5f);
    EXPECT_FLOAT_EQ(machine->angles[1], heading + 0.5f);
    preview_.Show(false);
    EXPECT_NE(machine->flags & hidden, 0);
}

TEST_F(BikePreviewTest, WearsTheRidersLiveryAndReloadsItForTheNext)
{
    const std::unique_ptr<CprArchive> archive = MenuArchive(true);
    ASSERT_TRUE(preview_.Load(camera_, *archive));
    g_riderLiveries[1][4] = {"", 17, 0, 5, 11};  // number 17, wheels 6, paint 12
    preview_.Dress(1, 4);
    EXPECT_EQ(g_slots.size(), 19u) << "slots 1 to 19";
    EXPECT_EQ(g_slots[2], "250er/nummern/217nummers.bmp");
    EXPECT_EQ(g_slots[11], "250er/nummern/217nummerv.bmp");
    EXPECT_EQ(g_slots[16], "250er/212bike/212bodyl.bmp");
    EXPECT_EQ(g_slots[14], "250er/212bike/212sitz.bmp");
    EXPECT_EQ(g_slots[8], "250er/alle/006hrad.TGA");
    EXPECT_EQ(g_slots[19], "250er/alle/006felge.bmp");
    EXPECT_EQ(g_slots[13], "250er/alle/001cockp.bmp");
    EXPECT_EQ(g_slots[18], "MainMenu/001lack1.tga");
    EXPECT_EQ(g_reloads, 0);

    // The next rider's pictures go into the same textures; the lacquer stays.
    g_slots.clear();
    preview_.Dress(2, 0);
    EXPECT_EQ(g_reloads, 18);
    EXPECT_EQ(g_slots.count(18), 0u);
    EXPECT_EQ(g_slots[2], "500er/nummern/501nummers.bmp");
}

TEST_F(BikePreviewTest, ALiveryBeyondTheTablesTakesTheLastOne)
{
    const std::unique_ptr<CprArchive> archive = MenuArchive(true);
    ASSERT_TRUE(preview_.Load(camera_, *archive));
    g_riderLiveries[2][kLiveriesPerClass - 1] = {"", 9, 0, 0, 0};
    preview_.Dress(7, 1000);
    EXPECT_EQ(g_slots[2], "500er/nummern/509nummers.bmp");
}

TEST_F(BikePreviewTest, WithoutItsModelThePageShowsNoMachine)
{
    const std::unique_ptr<CprArchive> archive = MenuArchive(false);
    EXPECT_FALSE(preview_.Load(camera_, *archive));
    EXPECT_EQ(camera_->firstChild.get(), nullptr);
    preview_.Dress(0, 0);
    preview_.Show(true);
    preview_.Turn(1.0f);
    EXPECT_FALSE(preview_.Shown());
    EXPECT_TRUE(g_slots.empty());
}
