#include "view/race/MarshalFlags.h"

#include <cstring>

#include "app/device/RenderDevice.h"
#include "core/util/SineTable.h"
#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"

FlagWave g_flagWave;
MarshalFlags g_marshalFlags(g_renderDevice);

namespace
{
constexpr uint32_t kPhaseMask = (1u << 20) - 1;
constexpr uint32_t kSineMask = kSineStepsPerTurn - 1;
constexpr uint32_t kWorldArenaBytes = 204800;
constexpr uint32_t kColumns = 10;
constexpr uint32_t kRows = 10;
constexpr float kFarDistance = 200.0f;
constexpr float kNearDistance = 0.11f;

constexpr const char* kFlagPictures[MarshalFlags::kFlagCount] = {
    "texturen/spezial/Fahne_ws.bmp", "texturen/spezial/Fahne_gb.bmp",
    "texturen/spezial/Fahne_gr.bmp", "texturen/spezial/Fahne_bl.bmp",
    "texturen/spezial/Fahne_sw.bmp", "texturen/spezial/Fahne_sz.bmp",
    "texturen/spezial/Fahne_10.bmp",
};

// A triangle: the polygon head, its three corners and the first again, then its own corner
// block: the texture slot and four corners (the first again).
struct FlagTriangle
{
    PolygonRecord polygon;
    uint32_t corners[4];
    uint32_t textureSlot;
    TexturedCorner block[4];
};
static_assert(sizeof(FlagTriangle) == 100);

template <class T>
T* Allocate(ObjectWorld& world, uint32_t count)
{
    auto* block = static_cast<T*>(world.AllocRaw(count * sizeof(T)));
    if (block != nullptr)
    {
        std::memset(static_cast<void*>(block), 0, count * sizeof(T));
    }
    return block;
}

uint32_t TriangleCount(uint32_t columns, uint32_t rows)
{
    return (columns * 2 - 2) * (rows - 1);
}

uint32_t VertexOffset(uint32_t row, uint32_t column, uint32_t columns)
{
    return (row * columns + column) * sizeof(MeshVertex);
}
}  // namespace

WorldObject* CreateFlagMesh(ObjectWorld& world, uint32_t columns, uint32_t rows, int32_t width,
                            int32_t height, uint32_t texture)
{
    if (columns < 2 || rows < 2)
    {
        return nullptr;
    }
    const uint32_t triangleCount = TriangleCount(columns, rows);
    auto* vertices = Allocate<MeshVertex>(world, columns * rows);
    auto* bsp = Allocate<BspNode>(world, 1);
    auto* triangles = Allocate<FlagTriangle>(world, triangleCount);
    auto* textures = Allocate<uint32_t>(world, 3);
    auto* node = Allocate<WorldObject>(world, 1);
    if (vertices == nullptr || bsp == nullptr || triangles == nullptr || textures == nullptr ||
        node == nullptr)
    {
        return nullptr;
    }
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float left = -static_cast<float>(width / 2);
    for (uint32_t r = 0; r < rows; ++r)
    {
        for (uint32_t c = 0; c < columns; ++c)
        {
            vertices[r * columns + c].position = {
                left + static_cast<float>(c) * w / static_cast<float>(columns),
                h * 0.5f - static_cast<float>(r) * h / static_cast<float>(rows), 0.0f};
        }
    }
    bsp->radius = w;
    bsp->firstPolygon.set(&triangles[0].polygon);

    const float du = 1.0f / static_cast<float>(columns - 1);
    const float dv = 1.0f / static_cast<float>(rows - 1);
    float v = 1.0f;
    uint32_t index = 0;
    for (uint32_t r = 0; r + 1 < rows; ++r, v -= dv)
    {
        float u = 0.0f;
        for (uint32_t c = 0; c + 1 < columns; ++c, u += du)
        {
            const uint32_t even[3] = {VertexOffset(r, c, columns), VertexOffset(r, c + 1, columns),
                                      VertexOffset(r + 1, c, columns)};
            const TexturedCorner evenUv[3] = {
                {u, v, 0xFFFFFFFF}, {u + du, v, 0xFFFFFFFF}, {u, v - dv, 0xFFFFFFFF}};
            const uint32_t odd[3] = {VertexOffset(r, c + 1, columns),
                                     VertexOffset(r + 1, c + 1, columns),
                                     VertexOffset(r + 1, c, columns)};
            const TexturedCorner oddUv[3] = {
                {u + du, v, 0xFFFFFFFF}, {u + du, v - dv, 0xFFFFFFFF}, {u, v - dv, 0xFFFFFFFF}};
            for (int half = 0; half < 2; ++half, ++index)
            {
                FlagTriangle& triangle = triangles[index];
                triangle.polygon.entry.kind = kPolygonTextured;
                if (index + 1 < triangleCount)
                {
                    triangle.polygon.entry.next.set(&triangles[index + 1].polygon.entry);
                }
                triangle.polygon.plane = {{0.0f, 0.0f, -1.0f}, 0.0f};
                triangle.polygon.cornerCount = 3;
                triangle.polygon.cornerBlock.set(&triangle.textureSlot);
                const uint32_t* corners = half == 0 ? even : odd;
                const TexturedCorner* uv = half == 0 ? evenUv : oddUv;
                for (int k = 0; k < 3; ++k)
                {
                    triangle.corners[k] = corners[k];
                    triangle.block[k] = uv[k];
                }
                triangle.corners[3] = corners[0];
                triangle.block[3] = uv[0];
            }
        }
    }
    // Both slots show the flag's texture; the list ends like every other.
    textures[0] = textures[1] = texture;
    textures[2] = kTextureListEnd;
    node->entry.kind = kNodeWord;
    node->ownRadius = node->groupRadius = 1000000.0f;
    node->distanceLimit = 10000.0f;
    node->textureList.set(textures);
    node->firstLevel.maxDistanceKey = 10000.0f;
    node->firstLevel.vertices.set(vertices);
    node->firstLevel.vertexCount = columns * rows;
    node->firstLevel.bspRoot.set(bsp);
    return node;
}

void AnimateFlagMesh(int32_t columns, int32_t rows, WorldObject& mesh, float dt, FlagWave& wave)
{
    MeshVertex* vertices = mesh.firstLevel.vertices.get();
    const BspNode* bsp = mesh.firstLevel.bspRoot.get();
    if (vertices == nullptr || bsp == nullptr || columns < 2 || rows < 2 || g_sinTable == nullptr)
    {
        return;
    }
    const auto sine = [](uint32_t index) { return g_sinTable[index & kSineMask]; };
    for (int32_t r = 0; r < rows; ++r)
    {
        const uint32_t j = (wave.second / 256 + 600 * static_cast<uint32_t>(r)) & kSineMask;
        for (int32_t c = 0; c < columns; ++c)
        {
            const uint32_t i = (wave.first / 256 - 1000 * static_cast<uint32_t>(c)) & kSineMask;
            const float t = static_cast<float>(c) * 4.0f / static_cast<float>(columns);
            vertices[r * columns + c].position.z = (sine(j) + 3.0f * sine(i)) * t / 6.0f;
        }
    }
    const auto step = static_cast<uint32_t>(dt * 1024000.0f);
    wave.first = (wave.first + step) & kPhaseMask;
    wave.second = (wave.second + step) & kPhaseMask;

    const auto* base = reinterpret_cast<const uint8_t*>(vertices);
    const uint32_t triangles =
        TriangleCount(static_cast<uint32_t>(columns), static_cast<uint32_t>(rows));
    auto* triangle = reinterpret_cast<FlagTriangle*>(bsp->firstPolygon.get());
    for (uint32_t n = 0; n < triangles && triangle != nullptr; ++n)
    {
        for (int k = 0; k < 3; ++k)
        {
            const auto& vertex = *reinterpret_cast<const MeshVertex*>(base + triangle->corners[k]);
            const auto grey = static_cast<uint32_t>(128.0f + 32.0f * vertex.position.z);
            triangle->block[k].colour = 0xFF000000u + (grey & 0xFF) * 0x010101u;
        }
        triangle->block[3].colour = triangle->block[0].colour;
        triangle = reinterpret_cast<FlagTriangle*>(triangle->polygon.entry.next.get());
    }
}

bool MarshalFlags::Load(int32_t screenWidth, int32_t screenHeight)
{
    std::array<uint32_t, 24> game{};
    device_.SaveState(game.data(), true);
    device_.FreeWorld();
    WorldObject* root = device_.CreateWorld(kWorldArenaBytes);
    if (root != nullptr)
    {
        device_.SetFieldOfView(600.0f, 1.0f);
        device_.SetViewport(0, 0, screenWidth, screenHeight, kNearDistance, kFarDistance);
        cloth_ = CreateFlagMesh(device_, kColumns, kRows, 20, 12, kFlagTexture);
        if (cloth_ != nullptr)
        {
            device_.AttachObject(cloth_, root, -48.0f, 30.0f, 113.0f, kAttachChild, 10000.0f);
            cloth_->flags |= 0x104;
            cloth_->pivot = {0.0f, 0.0f, 0.0f};
            cloth_->fogTable.reset();
            cloth_->fogColour = 0;
        }
    }
    for (uint32_t slot = 0; slot < kFlagCount; ++slot)
    {
        device_.LoadMemoryTexture(kFlagPictures[slot], &pictures_[slot]);
    }
    device_.SaveState(flagWorld_.data(), true);
    device_.RestoreState(game.data());
    visible_ = false;
    shown_ = kNoFlag;
    loaded_ = root != nullptr;
    return loaded_;
}

void MarshalFlags::Show(uint32_t index)
{
    if (index >= kFlagCount)
    {
        return;
    }
    if (static_cast<int32_t>(index) != shown_)
    {
        Texture* flag = device_.GetTexture(static_cast<int32_t>(kFlagTexture));
        Texture* picture = pictures_[index];
        if (flag != nullptr && picture != nullptr)
        {
            device_.SetClipRect(0, 0, flag->width, flag->height);
            device_.DrawBitmapRect(picture, 0, 0, 0, 0, flag->width, flag->height, 0, flag);
            device_.DownLoadTexture(flag, 1);
        }
        shown_ = static_cast<int32_t>(index);
    }
    visible_ = true;
}

void MarshalFlags::Draw(float realDt)
{
    if (!visible_ || !loaded_)
    {
        return;
    }
    std::array<uint32_t, 24> game{};
    device_.SaveState(game.data(), false);
    device_.RestoreState(flagWorld_.data());
    if (cloth_ != nullptr)
    {
        AnimateFlagMesh(kColumns, kRows, *cloth_, realDt, g_flagWave);
    }
    device_.DrawScene(0);
    device_.SaveState(flagWorld_.data(), false);
    device_.RestoreState(game.data());
}

void MarshalFlags::Free()
{
    if (loaded_)
    {
        std::array<uint32_t, 24> game{};
        device_.SaveState(game.data(), true);
        device_.RestoreState(flagWorld_.data());
        device_.FreeWorld();
        device_.RestoreState(game.data());
        loaded_ = false;
    }
    for (Texture*& picture : pictures_)
    {
        if (picture != nullptr)
        {
            device_.FreeMemoryTexture(&picture);
        }
    }
    cloth_ = nullptr;
    visible_ = false;
    shown_ = kNoFlag;
}
