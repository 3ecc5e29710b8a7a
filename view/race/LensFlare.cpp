#include "view/race/LensFlare.h"

#include <algorithm>

#include "app/device/RenderDevice.h"
#include "core/world/WorldObject.h"

namespace
{
struct FlareElement
{
    float place;   // along the axis: 0.5 the screen's centre, 1.0 the sun's mirror point
    int32_t size;  // pixels at 640 pixels of screen width
    int32_t texture;
    uint32_t colour;
    int32_t alpha;
};

constexpr FlareElement kElements[] = {
    {0.1f, 80, 1052, 0xAA0000, 40},    {0.2f, 30, 1050, 0x000088, 60},
    {0.22f, 60, 1050, 0x0000BB, 80},   {0.24f, 40, 1050, 0x0000AA, 60},
    {0.4f, 30, 1050, 0x4F3306, 100},   {0.5f, 15, 1053, 0xFFFFFF, 100},
    {0.6f, 20, 1053, 0x0000FF, 100},   {0.68f, 40, 1050, 0x4F3306, 100},
    {0.7f, 80, 1050, 0x4F3306, 100},   {0.74f, 20, 1053, 0x4F3306, 255},
    {0.82f, 50, 1050, 0x0088AA, 80},   {0.85f, 30, 1053, 0x0000AA, 100},
    {0.94f, 100, 1051, 0x222E00, 160}, {1.0f, 150, 1052, 0x000000, 255},
};

constexpr int32_t kGlowTexture = 1053;
constexpr int32_t kCoreTexture = 1054;
constexpr float kMinDepth = 0.1f;
// A sun almost beside the eye projects far off any screen; beyond this it stays there.
constexpr float kMaxOffset = 1.0e6f;

int32_t Truncate(float value)
{
    return static_cast<int32_t>(std::clamp(value, -kMaxOffset, kMaxOffset));
}
}  // namespace

FlareSprites ComputeLensFlare(const FlareView& view)
{
    FlareSprites out;
    if (view.depth < kMinDepth)
    {
        return out;
    }
    const int32_t sx = Truncate(view.horizontalFactor * view.x / view.depth);
    const int32_t sy = Truncate(view.verticalFactor * view.y / view.depth);
    const int32_t cx = (view.width >> 1) + sx;
    const int32_t cy = (view.height >> 1) - sy;
    const float scale = static_cast<float>(view.width) * 0.0015625f;
    const int32_t edge = std::max(std::min({cx, cy, view.width - cx, view.height - cy}), 0);
    const float fadeZone = scale * 40.0f;
    const int32_t fade = static_cast<float>(edge) < fadeZone
                             ? static_cast<int32_t>(static_cast<float>(edge) * 256.0f / fadeZone)
                             : 256;
    auto add = [&out](const FlareSprite& sprite) { out.sprites[out.count++] = sprite; };
    add({cx, cy, static_cast<int32_t>(scale * 300.0f), kGlowTexture, 0xFF8800, fade * 180 >> 8});
    add({cx, cy, static_cast<int32_t>(scale * 100.0f), kCoreTexture, 0, 255});
    if (static_cast<uint32_t>(cx) > static_cast<uint32_t>(view.width) ||
        static_cast<uint32_t>(cy) > static_cast<uint32_t>(view.height))
    {
        return out;
    }
    for (const FlareElement& element : kElements)
    {
        add({cx - static_cast<int32_t>(2.0f * static_cast<float>(sx) * element.place),
             cy + static_cast<int32_t>(2.0f * static_cast<float>(sy) * element.place),
             static_cast<int32_t>(static_cast<float>(element.size) * scale), element.texture,
             element.colour, element.alpha * fade >> 8});
    }
    return out;
}

void DrawFlareSprite(RenderDevice& device, const FlareSprite& sprite)
{
    const Texture* texture = device.GetTexture(sprite.texture);
    const int32_t t0 = texture != nullptr ? texture->width : 0;
    const int32_t t1 = texture != nullptr ? texture->height : 0;
    const int32_t x0 = sprite.x - (sprite.size >> 1);
    const int32_t y0 = sprite.y - (sprite.size >> 1);
    const int32_t h = sprite.size / 2;
    const int32_t r = sprite.size - h;
    const auto red = static_cast<int32_t>(sprite.colour >> 16 & 0xFF);
    const auto green = static_cast<int32_t>(sprite.colour >> 8 & 0xFF);
    const auto blue = static_cast<int32_t>(sprite.colour);
    device.DrawFlare(sprite.texture, x0, y0, h, h, 0, 0, t0, t1, sprite.alpha, red, green, blue);
    device.DrawFlare(sprite.texture, x0 + h, y0, r, h, -1, 0, 2 - t0, t1, sprite.alpha, red, green,
                     blue);
    device.DrawFlare(sprite.texture, x0, y0 + h, h, r, 0, -1, t0, 2 - t1, sprite.alpha, red, green,
                     blue);
    device.DrawFlare(sprite.texture, x0 + h, y0 + h, r, r, -1, -1, 2 - t0, 2 - t1, sprite.alpha,
                     red, green, blue);
}

void DrawLensFlare(RenderDevice& device, const WorldObject* sun)
{
    if (sun == nullptr)
    {
        return;
    }
    const ProjectionValues& projection = device.Projection();
    const FlareView view{sun->viewTranslation.x, sun->viewTranslation.y, sun->viewTranslation.z,
                         projection.scaleX,      projection.scaleY,      device.ScreenWidth(),
                         device.ScreenHeight()};
    const FlareSprites flare = ComputeLensFlare(view);
    for (size_t i = 0; i < flare.count; ++i)
    {
        DrawFlareSprite(device, flare.sprites[i]);
    }
}
