// The primitive back end on the library's screen: the frame's distance factors as they reach
// the polygon's vertices, the texture and palette the board is told only when they change, and
// the slots that draw nothing.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "kit/picture/BmpWriter.h"
#include "render/vector/PrimitiveBackEnd.h"
#include "tests/render/LibraryScreen.h"
#include "tests/support/TestDirectory.h"

namespace
{
using render::vector::PrimitiveTable;

constexpr int32_t kRedTexture = 1;
constexpr int32_t kBlueTexture = 2;
constexpr uint16_t kRed = Rgb565(255, 0, 0);
constexpr uint16_t kBlue = Rgb565(0, 0, 255);
constexpr uint16_t kBlack = 0;

kit::RgbaPicture Solid(uint8_t red, uint8_t green, uint8_t blue)
{
    kit::RgbaPicture picture{8, 8, {}};
    for (int i = 0; i < 64; ++i)
    {
        picture.rgba.insert(picture.rgba.end(), {red, green, blue, 255});
    }
    return picture;
}

// A square from (x, y), 20 pixels wide, white so that the texture shows as it is, at w = 1.
std::array<GrVertex, 4> Square(float x, float y)
{
    std::array<GrVertex, 4> square{};
    const float corners[4][2] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}};
    for (int i = 0; i < 4; ++i)
    {
        GrVertex& vertex = square[i];
        vertex.x = x + corners[i][0];
        vertex.y = y + corners[i][1];
        vertex.r = vertex.g = vertex.b = vertex.a = 255.0f;
        vertex.oow = 1.0f;
        vertex.tmuvtx[0] = {corners[i][0] / 20.0f, corners[i][1] / 20.0f, 1.0f};
    }
    return square;
}

class PrimitiveBackEndTest : public LibraryScreen
{
protected:
    void SetUp() override
    {
        LibraryScreen::SetUp();
        directory_.WriteFile("red.bmp", Bytes(kit::WriteBmp24(Solid(255, 0, 0))));
        directory_.WriteFile("blue.bmp", Bytes(kit::WriteBmp24(Solid(0, 0, 255))));
        ASSERT_NE(rdll_LoadTexture("red.bmp", kRedTexture, 0, 0), nullptr);
        ASSERT_NE(rdll_LoadTexture("blue.bmp", kBlueTexture, 0, 0), nullptr);
        ClearScreen(0);
        render::vector::ResetPrimitiveState();
        PrimitiveTable().depthTestOff();
        ASSERT_EQ(PrimitiveTable().beginFrame(600.0f), 1);
    }

    static std::string Bytes(const std::vector<uint8_t>& bytes)
    {
        return {bytes.begin(), bytes.end()};
    }

    // Draws the square at x with the texture; the colour it came out in.
    uint16_t Draw(int32_t texture, float x)
    {
        std::array<GrVertex, 4> square = Square(x, 100.0f);
        rdll_Begin3D();  // the frame buffer is no longer held
        render::vector::SetCurrentTexture(static_cast<uint32_t>(texture));
        PrimitiveTable().selectTexture(4, square.data());
        return BackBuffer().At(static_cast<int>(x) + 10, 110);
    }

    TestDirectory directory_;
};

// d = max(0, sx / 600 - 1) and g = 1.53 d + 0.1: the depth is w / 10, the texture's w and
// coordinates are scaled by w g and the texture's integer scales.
TEST_F(PrimitiveBackEndTest, DistanceFactorsScaleEveryVertex)
{
    const Texture* red = rdll_GetTexture(kRedTexture);
    const auto sScale = static_cast<float>(red->sRange);
    const auto tScale = static_cast<float>(red->negatedTRange);
    struct Case
    {
        float horizontalScale;
        float g;
    };
    for (const Case& scale : {Case{600.0f, 0.1f}, Case{300.0f, 0.1f}, Case{1200.0f, 1.63f}})
    {
        ASSERT_EQ(PrimitiveTable().beginFrame(scale.horizontalScale), 1);
        std::array<GrVertex, 4> square = Square(100.0f, 100.0f);
        for (GrVertex& vertex : square)
        {
            vertex.oow = 2.0f;
        }
        render::vector::SetCurrentTexture(kRedTexture);
        PrimitiveTable().selectTexture(4, square.data());
        const GrVertex& corner = square[2];  // s and t of 1 at w = 2
        EXPECT_FLOAT_EQ(corner.oow, 0.2f) << scale.horizontalScale;
        EXPECT_FLOAT_EQ(corner.tmuvtx[0].oow, 2.0f * scale.g) << scale.horizontalScale;
        EXPECT_FLOAT_EQ(corner.tmuvtx[0].sow, 2.0f * scale.g * sScale) << scale.horizontalScale;
        EXPECT_FLOAT_EQ(corner.tmuvtx[0].tow, 2.0f * scale.g * tScale) << scale.horizontalScale;
    }
}

// The board is told the texture only when it changes: a source set behind the back end's
// back stays until the back end selects another texture or forgets what it selected.
TEST_F(PrimitiveBackEndTest, TellsTheBoardTheTextureOnlyWhenItChanges)
{
    EXPECT_EQ(Draw(kRedTexture, 100), kRed);
    EXPECT_EQ(Draw(kBlueTexture, 140), kBlue);

    const Texture* red = rdll_GetTexture(kRedTexture);
    const Texture* blue = rdll_GetTexture(kBlueTexture);
    const auto sourceOf = [](const Texture* texture)
    {
        const TextureGlideInfo& described = texture->glideInfo;
        return GrTexInfo{static_cast<GrLod>(described.smallLod),
                         static_cast<GrLod>(described.largeLod),
                         static_cast<GrAspectRatio>(described.aspectRatio),
                         static_cast<GrTextureFormat>(described.format), described.data};
    };
    const GrTexInfo redInfo = sourceOf(red);
    rdll_Begin3D();
    grTexSource(GrChipId::Tmu0, red->textureAddress, GrMipMapLevelMask::Both, &redInfo);
    EXPECT_EQ(Draw(kBlueTexture, 180), kRed);  // still the board's texture
    EXPECT_EQ(Draw(kRedTexture, 220), kRed);
    const GrTexInfo blueInfo = sourceOf(blue);
    rdll_Begin3D();
    grTexSource(GrChipId::Tmu0, blue->textureAddress, GrMipMapLevelMask::Both, &blueInfo);
    render::vector::ResetPrimitiveState();
    EXPECT_EQ(Draw(kRedTexture, 260), kRed);  // selected again after the reset
}

TEST_F(PrimitiveBackEndTest, PolygonsThatCannotBeDrawnAreSkipped)
{
    EXPECT_EQ(Draw(4095, 100), kBlack);  // an empty slot
    EXPECT_EQ(Draw(-1, 140), kBlack);    // the list's end
    std::array<GrVertex, 36> tooMany{};
    const std::array<GrVertex, 4> square = Square(180.0f, 100.0f);
    std::copy(square.begin(), square.end(), tooMany.begin());
    for (size_t i = 4; i < tooMany.size(); ++i)
    {
        tooMany[i] = square[3];
    }
    rdll_Begin3D();
    render::vector::SetCurrentTexture(kRedTexture);
    PrimitiveTable().selectTexture(36, tooMany.data());
    EXPECT_EQ(tooMany[0].oow, 1.0f);  // not even prepared
    EXPECT_EQ(BackBuffer().At(190, 110), kBlack);
    PrimitiveTable().placeholder();
    EXPECT_EQ(Draw(kRedTexture, 220), kRed);
}

TEST_F(PrimitiveBackEndTest, NoFrameWhileTheScreenIsGivenUp)
{
    rdll_LooseFocus();
    EXPECT_EQ(PrimitiveTable().beginFrame(600.0f), 0);
    rdll_GetFocus();
    EXPECT_EQ(PrimitiveTable().beginFrame(600.0f), 1);
}
}  // namespace
