#pragma once

// The marshal's waving flag: a cloth in a small 3D world of its own, drawn over the race's
// world in the top left of the screen with one of seven flag pictures; and the waving-cloth
// mesh it is made of, which the menus' banners use too.
//
// The game has one, g_marshalFlags, loaded by the race content loader and freed when the race
// is unloaded; the head-up display shows and hides it. Main thread only.

#include <array>
#include <cstdint>

class ObjectWorld;
class RenderDevice;
struct Texture;
struct WorldObject;

// The wave's two phases, 20-bit accumulators whose top 12 bits index the sine table; every
// waving mesh of the game shares the game's one.
struct FlagWave
{
    uint32_t first = 0;
    uint32_t second = 0;
};
extern FlagWave g_flagWave;

// A columns x rows cloth of width x height in the world's arena, textured with the texture
// number; null when the arena is full or the grid has fewer than two columns or rows.
WorldObject* CreateFlagMesh(ObjectWorld& world, uint32_t columns, uint32_t rows, int32_t width,
                            int32_t height, uint32_t texture);
// Moves the cloth's vertices on the wave, moves the wave on by dt seconds and shades every
// triangle by the depth of its corners. Needs the sine table.
void AnimateFlagMesh(int32_t columns, int32_t rows, WorldObject& mesh, float dt, FlagWave& wave);

class MarshalFlags
{
public:
    static constexpr uint32_t kFlagCount = 7;
    static constexpr int32_t kNoFlag = -1;
    static constexpr uint32_t kFlagTexture = 1183;

    explicit MarshalFlags(RenderDevice& device) : device_(device) {}
    MarshalFlags(const MarshalFlags&) = delete;
    MarshalFlags& operator=(const MarshalFlags&) = delete;

    // Builds the flag's world beside the game's, which stays current; the pictures from the
    // current archive.
    bool Load(int32_t screenWidth, int32_t screenHeight);
    // The flag of that slot (0..6; others are ignored), shown.
    void Show(uint32_t index);
    void Hide() { visible_ = false; }
    // Over the game's world, when shown; the cloth waves by the real frame time.
    void Draw(float realDt);
    void Free();

    bool Visible() const { return visible_; }
    int32_t ShownFlag() const { return shown_; }
    WorldObject* Cloth() const { return cloth_; }

private:
    RenderDevice& device_;
    std::array<uint32_t, 24> flagWorld_{};
    std::array<Texture*, kFlagCount> pictures_{};
    WorldObject* cloth_ = nullptr;
    int32_t shown_ = kNoFlag;
    bool visible_ = false;
    bool loaded_ = false;
};

extern MarshalFlags g_marshalFlags;
