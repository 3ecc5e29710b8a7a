#pragma once

// What the object world's tests share: a scripted platform and a fresh working folder per
// test (object files are read from it as plain files), an object world bound to the vector
// engine linked into the test program, and for scenes an open screen with textures made in
// the test.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/world/ObjectWorld.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "render/RenderApi.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/TestDirectory.h"

// The engine's entry points of the render library linked into the test.
VectorEngineEntries LinkedEngine();

template <class T = uint32_t>
T ValueAt(const void* record, size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
    return value;
}

class WorldTest : public ::testing::Test
{
protected:
    WorldTest();

    void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const;

    ScriptedPlatform platform_;
    ScopedPlatform scopedPlatform_{platform_};
    TestDirectory directory_;
    ObjectWorld world_;
};

// Scenes drawn into a 320 x 240 viewport in the top-left corner of a 640 x 480 screen.
class SceneTest : public WorldTest
{
protected:
    static constexpr int kViewWidth = 320;
    static constexpr int kViewHeight = 240;

    SceneTest();
    ~SceneTest() override;

    // The root; the camera looks along +z from the origin with a field of view of 300.
    WorldObject* CreateScene(float farDistance = 6000.0f);

    // 64 x 64 textures in table slots: four quadrants of the colours with a dark border, or
    // one colour.
    void MakeQuadrantTexture(int32_t index, const uint16_t (&colours)[4]);
    void MakeSolidTexture(int32_t index, uint16_t colour);

    // Clears to the colour (ABGR), draws the world and shows it; the viewport's pixels.
    FrameView565 DrawFrame(uint32_t clearColour = 0xFF402010);
    void ExpectGolden(const std::string& name, uint64_t hash);

    RenderWindow window_;
    FrameView565 frame_;
};
