// The records both deliverables share, built through the game's own operations and read back
// at the byte offsets the render library relies on.

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/world/MeshRecords.h"
#include "core/world/Region.h"
#include "core/world/VectorVars.h"
#include "core/world/WorldObject.h"
#include "kit/world/BillboardListWriter.h"
#include "kit/world/DemoObjects.h"
#include "tests/app/world/ObjectFileParts.h"
#include "tests/app/world/TestMeshes.h"
#include "tests/app/world/WorldTestSupport.h"

namespace
{
uint32_t OffsetOf(const void* address)
{
    return region::OffsetOf(address);
}

float FloatAt(const void* record, size_t offset)
{
    return ValueAt<float>(record, offset);
}

using WorldLayoutTest = WorldTest;

TEST_F(WorldLayoutTest, NodesReadBackAtTheirOffsets)
{
    WorldObject* root = world_.CreateWorld(1u << 20);
    WorldObject* first = world_.AttachNewObject(root, 1.0f, 2.0f, 3.0f, kAttachChild, 20.0f);
    WorldObject* second = world_.AttachNewObject(root, 0.0f, 0.0f, 0.0f, kAttachChild, 5.0f);
    WorldObject* sub = world_.AttachNewObject(root, 0.0f, 0.0f, 0.0f, kAttachSubObject, 1.0f);
    WorldObject* bsp = world_.AttachNewObject(root, 0.0f, 0.0f, 0.0f, kAttachBspObject, 1.0f);
    auto* body = static_cast<CollisionBody*>(world_.AllocRaw(sizeof(CollisionBody)));
    world_.SetCollisionObject(first, body);

    EXPECT_EQ(ValueAt(first, 0), 16u);
    EXPECT_EQ(ValueAt(second, 12), OffsetOf(first));  // the newest node heads the list
    EXPECT_EQ(ValueAt(first, 16), OffsetOf(second));
    EXPECT_EQ(ValueAt(root, 20), OffsetOf(second));
    EXPECT_EQ(ValueAt(root, 24), OffsetOf(sub));
    EXPECT_EQ(ValueAt(root, 28), OffsetOf(bsp));
    EXPECT_EQ(ValueAt(first, 52), OffsetOf(root));
    EXPECT_EQ(FloatAt(first, 92), 1.0f);
    EXPECT_EQ(FloatAt(first, 96), 2.0f);
    EXPECT_EQ(FloatAt(first, 100), 3.0f);
    EXPECT_EQ(FloatAt(first, 164), 20.0f);
    EXPECT_EQ(ValueAt(first, 208), OffsetOf(body));

    WriteFile("box.4do", kit::WriteObjectFile(kit::TexturedBox(1.5f, 77)));
    const WorldObject* box = world_.LoadObject("box.4do", 1234, 800.0);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ValueAt(box, 0), 16u);
    EXPECT_EQ(ValueAt(box, 8), 1234u);
    EXPECT_FLOAT_EQ(FloatAt(box, 168), 1.5f * std::sqrt(3.0f));
    EXPECT_EQ(FloatAt(box, 196), 10000.0f);
    const auto* textureList = region::Address(ValueAt(box, 212));
    EXPECT_EQ(ValueAt(textureList, 0), 77u);
    EXPECT_EQ(ValueAt(textureList, 4), 0xFFFFFFFFu);
    EXPECT_EQ(FloatAt(box, 216), static_cast<float>((800.0 * 0.0025) * (800.0 * 0.0025)));
    EXPECT_EQ(ValueAt(box, 220), 0u);
    EXPECT_EQ(ValueAt(box, 228), 24u);  // the vertex count, for the game's own writers
    EXPECT_EQ(ValueAt(box, 232), 0u);   // no normals
}

TEST_F(WorldLayoutTest, ViewBlockHoldsItsWordsInOrder)
{
    const WorldObject* root = world_.CreateWorld(0x10000);
    world_.SetFieldOfView(600.0f, 1.0f);
    uint32_t words[24];
    world_.SaveState(words, false);
    EXPECT_NE(words[0], 0u);
    EXPECT_EQ(region::BlockSize(words[1]), 640000u);
    EXPECT_EQ(region::BlockSize(words[2]), 32000u);
    EXPECT_EQ(region::BlockSize(words[3]), 32000u);
    EXPECT_EQ(words[4], 240u);  // the root node
    const uint32_t counts[6] = {20000, 1000, 1000, 20000, 1000, 1000};
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ(words[5 + i], counts[i]);
    }
    EXPECT_EQ(words[11], OffsetOf(root));
    EXPECT_EQ(words[12], 0x10000u);
    EXPECT_EQ(words[13], 640u);
    EXPECT_EQ(words[14], 480u);
    EXPECT_EQ(words[15], 320u);
    EXPECT_EQ(words[16], 240u);
    EXPECT_EQ(words[17], std::bit_cast<uint32_t>(6000.0f));
    EXPECT_EQ(words[18], std::bit_cast<uint32_t>(0.1f));
    EXPECT_EQ(words[19], std::bit_cast<uint32_t>(600.0f * 0.0015625f));
    EXPECT_EQ(words[20], 0x3FAAAAAAu);
    EXPECT_EQ(words[21], std::bit_cast<uint32_t>(1.0f));
    EXPECT_EQ(words[22], std::bit_cast<uint32_t>(1.0f));
    EXPECT_EQ(words[23], std::bit_cast<uint32_t>(1.0f));
}

TEST_F(WorldLayoutTest, BillboardBlocksFollowTheirLayout)
{
    WorldObject* root = world_.CreateWorld(1u << 20);
    const kit::Billboard tree{10.0f, 0.5f, -4.0f, 2.0f, 6.0f, 42};
    WriteFile("objekte/ring/Drehbar_D.4dr", kit::WriteBillboardList({tree}));
    world_.LoadRotatingObjects(root, 400.0f, "ring", 1);
    const WorldObject* node = root->firstChild.get();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(ValueAt<uint16_t>(node, 172), 0x804);
    EXPECT_EQ(FloatAt(node, 168), 4.0f);
    EXPECT_EQ(FloatAt(node, 164), 20.0f);
    EXPECT_EQ(FloatAt(node, 92), 10.0f);
    EXPECT_EQ(FloatAt(node, 216), 160000.0f);
    const uint8_t* list = region::Address(ValueAt(node, 212));
    EXPECT_EQ(ValueAt(list, 0), 42u);
    EXPECT_EQ(ValueAt(list, 4), 0u);
    EXPECT_EQ(ValueAt(list, 8), 0xFFFFFFFFu);

    const uint8_t* vertices = region::Address(ValueAt(node, 224));
    const float corners[4][3] = {{-2, 6, 0}, {2, 6, 0}, {2, 0, 0}, {-2, 0, 0}};
    for (int i = 0; i < 4; ++i)
    {
        for (int axis = 0; axis < 3; ++axis)
        {
            EXPECT_EQ(FloatAt(vertices, 16 * i + 4 * axis), corners[i][axis]);
        }
    }
    const uint8_t* block = region::Address(ValueAt(node, 236));
    EXPECT_EQ(ValueAt(block, 0), 0u);
    EXPECT_EQ(ValueAt(block, 4), 0u);
    EXPECT_EQ(FloatAt(block, 12), 3.0f);
    EXPECT_EQ(FloatAt(block, 20), 6.0f);
    EXPECT_EQ(ValueAt(block, 24), OffsetOf(block + 28));
    const uint8_t* polygon = block + 28;
    EXPECT_EQ(ValueAt(polygon, 0), 4u);
    EXPECT_EQ(ValueAt(polygon, 4), 0u);
    EXPECT_EQ(FloatAt(polygon, 16), -1.0f);
    EXPECT_EQ(ValueAt(polygon, 24), 4u);
    EXPECT_EQ(ValueAt(polygon, 28), OffsetOf(block + 80));
    const uint32_t cornerOffsets[5] = {0, 16, 32, 48, 0};
    const float uv[5][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}, {0, 1}};
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(ValueAt(polygon, 32 + 4 * i), cornerOffsets[i]);
        EXPECT_EQ(FloatAt(block, 84 + 12 * i), uv[i][0]);
        EXPECT_EQ(FloatAt(block, 88 + 12 * i), uv[i][1]);
        EXPECT_EQ(ValueAt(block, 92 + 12 * i), 0xFFFFFFu);
    }
}

// Every link of a loaded mesh must land inside the chunk it names, on a record.
TEST_F(WorldLayoutTest, LoadedMeshLinksStayInsideTheirChunks)
{
    world_.CreateWorld(1u << 20);
    const std::vector<uint8_t> file = kit::WriteObjectFile(MixedMesh());
    WriteFile("mixed.4do", file);
    const WorldObject* node = world_.LoadObject("mixed.4do", 0, 100.0);
    ASSERT_NE(node, nullptr);
    ObjectFileParts parts = ObjectFileParts::Parse(file);
    const uint32_t image = OffsetOf(node) + 240;
    const auto chunkStart = [&](uint32_t id) { return image + parts.DataOffset(id); };
    const auto inside = [&](uint32_t link, uint32_t id)
    { return link >= chunkStart(id) && link < chunkStart(id) + parts.Chunk(id).data.size(); };

    EXPECT_EQ(ValueAt(node, 224), chunkStart(1));
    EXPECT_EQ(ValueAt(node, 232), chunkStart(8));
    EXPECT_EQ(ValueAt(node, 236), chunkStart(3));

    const uint8_t* polygons = region::Address(chunkStart(2));
    std::vector<uint32_t> recordStarts;
    for (uint32_t offset = 0; offset < parts.Chunk(2).data.size();)
    {
        recordStarts.push_back(chunkStart(2) + offset);
        const uint32_t kind = ValueAt(polygons, offset);
        const uint32_t corners = ValueAt(polygons, offset + 24);
        offset +=
            static_cast<uint32_t>(PolygonHeadBytes(corners) + CornerBlockBytes(kind, corners));
    }
    ASSERT_EQ(recordStarts.size(), 2u);
    for (const uint32_t record : recordStarts)
    {
        const uint8_t* bytes = region::Address(record);
        const uint32_t next = ValueAt(bytes, 4);
        EXPECT_TRUE(next == 0 || std::ranges::count(recordStarts, next) == 1);
        EXPECT_TRUE(inside(ValueAt(bytes, 28), 2));
    }
    const uint8_t* nodes = region::Address(chunkStart(3));
    for (uint32_t offset = 0; offset < parts.Chunk(3).data.size(); offset += 28)
    {
        for (const uint32_t field : {0u, 4u})
        {
            const uint32_t child = ValueAt(nodes, offset + field);
            EXPECT_TRUE(child == 0 || (inside(child, 3) && (child - chunkStart(3)) % 28 == 0));
        }
        EXPECT_EQ(std::ranges::count(recordStarts, ValueAt(nodes, offset + 24)), 1);
    }
}
}  // namespace
