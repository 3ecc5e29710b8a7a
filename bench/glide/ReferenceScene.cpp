#include "bench/glide/ReferenceScene.h"

namespace
{

constexpr int kCell = 32;  // quad size in pixels: 20 x 15 quads a layer
constexpr int kLayers = 3;

struct Layer
{
    float topW;     // W along the top edge
    float bottomW;  // W along the bottom edge
};
// Far to near, the order they are drawn in.
constexpr Layer kLayerDepths[kLayers] = {{2400.0f, 1200.0f}, {800.0f, 400.0f}, {200.0f, 100.0f}};

// A shade 170-255 for one channel of the vertex at a grid point: fixed, so that every run
// draws the same scene and quads sharing a corner agree on its colour.
uint8_t Shade(int x, int y, int layer, int channel)
{
    uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u ^
                 static_cast<uint32_t>(layer * 3 + channel) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<uint8_t>(170 + h % 86);
}

std::vector<uint16_t> MakeTexture()
{
    std::vector<uint16_t> texels;
    texels.reserve(ReferenceScene::kTextureSize * ReferenceScene::kTextureSize);
    for (int y = 0; y < ReferenceScene::kTextureSize; ++y)
    {
        for (int x = 0; x < ReferenceScene::kTextureSize; ++x)
        {
            const bool check = ((x >> 5) + (y >> 5)) % 2 != 0;
            const int r = check ? 31 : (x >> 3);
            const int g = (y >> 2) ^ (x >> 4);
            const int b = check ? (y >> 3) : 24;
            texels.push_back(static_cast<uint16_t>(r << 11 | (g & 63) << 5 | (b & 31)));
        }
    }
    return texels;
}

}  // namespace

ReferenceScene MakeReferenceScene()
{
    ReferenceScene scene;
    scene.texture = MakeTexture();
    scene.fogNear = 100.0f;
    scene.fogFar = 3000.0f;
    scene.fogColour[0] = 180;
    scene.fogColour[1] = 190;
    scene.fogColour[2] = 205;
    scene.clearColour[0] = 20;
    scene.clearColour[1] = 30;
    scene.clearColour[2] = 60;

    for (int layer = 0; layer < kLayers; ++layer)
    {
        const Layer depth = kLayerDepths[layer];
        // 1/W is linear on the screen for a plane; s/W and t/W too.
        const auto vertex = [&](int x, int y)
        {
            const float fraction = static_cast<float>(y) / ReferenceScene::kHeight;
            const float oow =
                1.0f / depth.topW + (1.0f / depth.bottomW - 1.0f / depth.topW) * fraction;
            const float middleOow = 0.5f * (1.0f / depth.topW + 1.0f / depth.bottomW);
            SceneVertex v;
            v.x = static_cast<float>(x);
            v.y = static_cast<float>(y);
            v.w = 1.0f / oow;
            v.s = (1024.0f * x / ReferenceScene::kWidth + 37.0f * layer) * middleOow / oow;
            v.t = (768.0f * y / ReferenceScene::kHeight + 91.0f * layer) * middleOow / oow;
            v.r = Shade(x, y, layer, 0);
            v.g = Shade(x, y, layer, 1);
            v.b = Shade(x, y, layer, 2);
            return v;
        };
        for (int y = 0; y < ReferenceScene::kHeight; y += kCell)
        {
            for (int x = 0; x < ReferenceScene::kWidth; x += kCell)
            {
                scene.quads.push_back({vertex(x, y), vertex(x + kCell, y),
                                       vertex(x + kCell, y + kCell), vertex(x, y + kCell)});
            }
        }
    }
    return scene;
}
