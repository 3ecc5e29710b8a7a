#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/util/LittleEndian.h"
#include "kit/motion/ClipDesign.h"
#include "kit/motion/DemoMotions.h"
#include "kit/motion/MotionCacheWriter.h"
#include "kit/motion/SceneWriter.h"
#include "tests/view/motion/MotionTestSupport.h"
#include "view/motion/MotionFile.h"
#include "view/rider/RiderMotionSet.h"

namespace
{
using Bytes = std::vector<uint8_t>;
using Track = std::vector<MotionTriple>;

Track TrackOf(std::span<const MotionTriple> slots)
{
    return {slots.begin(), slots.end()};
}

kit::SceneObject Object(const std::string& file, std::vector<kit::SceneObjectKey> keys)
{
    return {"Objects/" + file + ".lwo", std::move(keys)};
}

class MotionConversionTest : public MotionTest
{
protected:
    void WriteScene(const std::string& name, int32_t first, int32_t last,
                    const std::vector<kit::SceneObject>& objects)
    {
        WriteGameFile(name + ".lws", kit::WriteMotionScene(first, last, objects));
    }

    MotionFile clip_;
};

// Keys at relative frames 0 and 4 fill the frames between in integer steps, each closing the
// rest of the gap evenly; a key before the first frame lands in slot 0, one at or past the
// frame count is dropped, and the last key holds to the end.
TEST_F(MotionConversionTest, FramesBetweenKeysFillInIntegerSteps)
{
    WriteScene("clip", 10, 15,
               {Object("h\xFC"
                       "fte",
                       {{10, {0, 44, 0}, {0, 0, 0}},
                        {14, {10, 44, 0}, {0, 2048, 0}},
                        {16, {99, 0, 0}, {0, 0, 0}},
                        {7, {5, 44, 0}, {0, 0, 0}}})});
    ASSERT_TRUE(clip_.Load("clip", 0, 30.0f, 0));
    EXPECT_TRUE(platform_.MessageBoxes().empty());

    const std::optional<MotionTracks> written = DecodeMotionTracks(ReadGameFile("clip.bmo"));
    ASSERT_TRUE(written);
    ASSERT_EQ(written->frameCount, 6);
    const Track root = TrackOf(written->RiderTrack(0));
    EXPECT_EQ(
        root,
        (Track{
            {5, 44, 0}, {2, 44, 0}, {4, 44, 0}, {7, 44, 0}, {10, 44, 0}, {10, 44, 0}, {0, 0, 0}}))
        << "the cache's wrap slot is written as zero";
    const Track hipAngles = TrackOf(written->RiderTrack(1));
    EXPECT_EQ(hipAngles[4], (MotionTriple{0, 2048, 0})) << "90 degrees of heading, mid-triple";
    EXPECT_EQ(hipAngles[2], (MotionTriple{0, 1024, 0}));

    // The converted clip plays as one read from the cache: its last slot holds.
    EXPECT_EQ(clip_.FrameCount(), 6);
    EXPECT_EQ(clip_.RiderTrack(0)[6], (MotionTriple{10, 44, 0}));
    EXPECT_FLOAT_EQ(clip_.Duration(), 0.2f);
}

// A scene as an editor writes it: decimals as they come, and the steps they truncate to.
TEST_F(MotionConversionTest, SceneValuesTruncateToTheirSteps)
{
    const std::string text =
        "LWSC\r\n1\r\nFirstFrame 0\r\nLastFrame 9\r\nPreviewFirstFrame 0\r\n"
        "PreviewLastFrame 9\r\nFramesPerSecond 30\r\nLoadObject Objects/h\xFC"
        "fte.lwo\r\nShowObject 6 7\r\nObjectMotion (unnamed)\r\n  9\r\n  2\r\n"
        "  0 0.7 0 0 0 0 1 1 1\r\n  0 0 0 0 0\r\n  0 0.7 0.5 90 -45.1 0 1 1 1\r\n"
        "  9 0 0 0 0\r\nEndBehavior 1\r\n";
    WriteGameFile("clip.lws", Bytes(text.begin(), text.end()));
    ASSERT_TRUE(clip_.Load("clip", 0, 30.0f, 0));
    EXPECT_EQ(clip_.FrameCount(), 10);
    const Track root = TrackOf(clip_.RiderTrack(0));
    EXPECT_EQ(root[0], (MotionTriple{0, 44, 0}));
    EXPECT_EQ(root[9], (MotionTriple{0, 44, 32}));
    EXPECT_EQ(root[1][2], 3) << "32 / 9";
    // -45.1 degrees is -1026.27 steps.
    EXPECT_EQ(clip_.RiderTrack(1)[9], (MotionTriple{-1026, 2048, 0}));
}

TEST_F(MotionConversionTest, ObjectLinesAreFoundIgnoringCaseAndPositionsCountForTheHipOnly)
{
    WriteScene("clip", 0, 1,
               {Object("Body/HAND_LINKS", {{0, {64, 64, 64}, {1, 2, 3}}}),
                Object("helmet", {{0, {0, 0, 0}, {7, 8, 9}}})});
    ASSERT_TRUE(clip_.Load("clip", 0, 10.0f, 0));
    EXPECT_EQ(clip_.RiderTrack(1 + 10)[0], (MotionTriple{1, 2, 3}));
    EXPECT_EQ(clip_.RiderTrack(1 + 12)[0], (MotionTriple{7, 8, 9})) << "\"helm\" in \"helmet\"";
    EXPECT_EQ(clip_.RiderTrack(0)[0], (MotionTriple{0, 0, 0}));
}

// What the kit writes as a scene converts to exactly the cache it writes for the same design.
TEST_F(MotionConversionTest, ConversionGivesTheKitsCacheByteForByte)
{
    kit::ClipDesign design(24);
    design.Hip(0, {0.0f, 0.7f, 0.0f}, {10.0f, 0.0f, 0.0f})
        .Hip(8, {0.5f, 0.4f, 1.5f}, {45.0f, -30.0f, 90.0f})
        .Hip(23, {-1.25f, 0.2f, 6.0f}, {-170.0f, 400.0f, -720.0f})
        .Part(3, 5, {-40.0f, 12.5f, 3.0f})
        .Part(12, 20, {0.0f, 359.0f, -1.0f})
        .Bike(0, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f})
        .Bike(12, {1.0f, 0.0f, 4.0f}, {0.0f, 20.0f, -35.0f});
    constexpr float kRate = 15.0f;
    WriteGameFile("motions/a b,5/clip.lws",
                  kit::WriteMotionScene(0, design.FrameCount() - 1, design.SceneObjects()));
    ASSERT_TRUE(clip_.Load("motions/a b,5/clip", 0, kRate, 0));
    EXPECT_EQ(ReadGameFile("motions/a b,5/clip.bmo"), kit::WriteMotionCache(design.Slots(kRate)));
    EXPECT_GT(clip_.Speed(), 0.0f);
}

// Every clip of the demo installation: its scene text converts to its cache.
TEST_F(MotionConversionTest, DemoScenesConvertToTheDemoCaches)
{
    size_t clips = 0;
    for (uint32_t id = 0; id < kRiderClipCount; ++id)
    {
        const RiderClip& entry = kRiderClips[id];
        const std::optional<kit::ClipDesign> design = kit::DemoRiderClip(id);
        ASSERT_EQ(design.has_value(), !entry.file.empty()) << id;
        if (!design)
        {
            continue;
        }
        const std::string name(entry.file);
        WriteGameFile(name + ".lws",
                      kit::WriteMotionScene(0, design->FrameCount() - 1, design->SceneObjects()));
        ASSERT_TRUE(clip_.Load(name, entry.flags, entry.rate, 0)) << id;
        EXPECT_EQ(ReadGameFile(name + ".bmo"), kit::WriteMotionCache(design->Slots(entry.rate)))
            << id;
        ++clips;
    }
    EXPECT_EQ(clips, 30u);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(MotionConversionTest, SpeedIsTheRootsGroundSpeedOverTheFirstTwoSteps)
{
    struct Case
    {
        int32_t frames;
        float expected;  // units per second at 10 frames per second
    };
    // The root moves 3 units in x and 4 in z per frame.
    for (const Case& c : {Case{1, 0.0f}, Case{2, 50.0f}, Case{3, 50.0f}, Case{6, 50.0f}})
    {
        kit::ClipDesign design(c.frames);
        design.Hip(0, {}, {});
        if (c.frames > 1)
        {
            const auto last = static_cast<float>(c.frames - 1);
            design.Hip(c.frames - 1, {3.0f * last, 0.0f, 4.0f * last}, {});
        }
        WriteGameFile("clip.lws", kit::WriteMotionScene(0, c.frames - 1, design.SceneObjects()));
        ASSERT_TRUE(clip_.Load("clip", 0, 10.0f, 0)) << c.frames;
        EXPECT_FLOAT_EQ(clip_.Speed(), c.expected) << c.frames;
        ASSERT_TRUE(files::Remove("clip.bmo"));
    }
}

TEST_F(MotionConversionTest, ValuesBeyondTheStoredRangeSaturate)
{
    WriteGameFile(
        "clip.lws",
        []
        {
            const std::string text =
                "PreviewFirstFrame 0\r\nPreviewLastFrame 0\r\nLoadObject helm\r\na\r\nb\r\nc\r\n"
                "  1\r\n  0 0 0 1e9 -2000 nan 1 1 1\r\n  0\r\nEndBehavior 1\r\n";
            return Bytes(text.begin(), text.end());
        }());
    ASSERT_TRUE(clip_.Load("clip", 0, 10.0f, 0));
    EXPECT_EQ(clip_.RiderTrack(1 + 12)[0], (MotionTriple{-32768, 32767, 0}));
}

TEST_F(MotionConversionTest, MissingOrFramelessSceneIsReported)
{
    EXPECT_FALSE(clip_.Load("motions/none", 0, 10.0f, 0));
    EXPECT_FALSE(clip_.IsLoaded());
    WriteGameFile("frameless.lws", Bytes{'L', 'W', 'S', 'C'});
    EXPECT_FALSE(clip_.Load("frameless", 0, 10.0f, 0));
    EXPECT_FALSE(clip_.IsLoaded());
    EXPECT_EQ(platform_.MessageBoxes(), (std::vector<std::string>{
                                            "MotionFile motions/none not found",
                                            "MotionFile frameless not found",
                                        }));
}

TEST_F(MotionConversionTest, CacheThatCannotBeWrittenIsReportedAndTheClipStillPlays)
{
    WriteScene("clip", 0, 2, {Object("torso", {{0, {}, {0, 0, 0}}, {2, {}, {30, 0, 0}}})});
    ASSERT_TRUE(files::MakeDirectories("clip.bmo"));  // a folder in the cache's place
    EXPECT_FALSE(clip_.Load("clip", 0, 10.0f, 0));
    EXPECT_EQ(platform_.MessageBoxes(),
              std::vector<std::string>{"MotionFile clip.bmo not created"});
    ASSERT_TRUE(clip_.IsLoaded());
    EXPECT_EQ(TrackOf(clip_.RiderTrack(1 + 1)),
              (Track{{0, 0, 0}, {15, 0, 0}, {30, 0, 0}, {30, 0, 0}}));
}

class MotionCacheTest : public MotionTest
{
protected:
    static Bytes Cache(int32_t frames) { return kit::WriteMotionCache(NumberedClip(frames)); }

    MotionFile clip_;
};

TEST_F(MotionCacheTest, LastSlotWrapsToTheFirstFrameOrHoldsTheLast)
{
    WriteGameFile("clip.bmo", Cache(3));
    for (const uint32_t loop : {0u, 1u})
    {
        ASSERT_TRUE(clip_.Load("clip", 0, 10.0f, loop));
        EXPECT_EQ(clip_.FrameCount(), 3);
        EXPECT_EQ(clip_.FirstFrame(), 0);
        EXPECT_EQ(clip_.LastFrame(), 2);
        EXPECT_FLOAT_EQ(clip_.Duration(), 0.3f);
        EXPECT_FLOAT_EQ(clip_.Speed(), 2.5f);
        const int32_t source = loop != 0 ? 0 : 2;
        for (int32_t track = 0; track < MotionTracks::kRiderTracks; ++track)
        {
            EXPECT_EQ(clip_.RiderTrack(track)[3][1], NumberedValue(track, 1, source)) << track;
        }
        EXPECT_EQ(clip_.BikePositions()[3][2], NumberedValue(14, 2, source));
        EXPECT_EQ(clip_.BikeAngles()[3][0], NumberedValue(15, 0, source));
    }
}

// The reader takes the blocks in either order and passes over words it does not know.
TEST_F(MotionCacheTest, BlocksComeInAnyOrder)
{
    const Bytes normal = Cache(2);
    const size_t riderEnd = 16 + 3 * 84;
    Bytes swapped(normal.begin(), normal.begin() + 4);
    AppendLe32(swapped, 77);
    swapped.insert(swapped.end(), normal.begin() + riderEnd, normal.end() - 4);
    swapped.insert(swapped.end(), normal.begin() + 4, normal.begin() + riderEnd);
    AppendLe32(swapped, 0xFFFFFFFF);
    WriteGameFile("swapped.bmo", swapped);
    WriteGameFile("normal.bmo", normal);

    MotionFile other;
    ASSERT_TRUE(clip_.Load("swapped", 0, 10.0f, 0));
    ASSERT_TRUE(other.Load("normal", 0, 10.0f, 0));
    for (int32_t track = 0; track < MotionTracks::kRiderTracks; ++track)
    {
        EXPECT_EQ(TrackOf(clip_.RiderTrack(track)), TrackOf(other.RiderTrack(track)));
    }
    EXPECT_EQ(TrackOf(clip_.BikeAngles()), TrackOf(other.BikeAngles()));
}

TEST_F(MotionCacheTest, CacheWithoutABikeBlockHasAStillBike)
{
    Bytes cache = Cache(2);
    const size_t riderEnd = 16 + 3 * 84;
    cache.erase(cache.begin() + riderEnd, cache.end() - 4);
    WriteGameFile("clip.bmo", cache);
    ASSERT_TRUE(clip_.Load("clip", 0, 10.0f, 0));
    EXPECT_EQ(TrackOf(clip_.BikePositions()), Track(3, MotionTriple{}));
}

// A damaged cache fails without a message and without a conversion, although a scene that
// would convert lies beside it.
TEST_F(MotionCacheTest, DamagedCacheFailsQuietly)
{
    const Bytes good = Cache(2);
    const size_t riderEnd = 16 + 3 * 84;
    const auto with = [&good](size_t at, uint32_t word)
    {
        Bytes bytes = good;
        StoreLe32(&bytes[at], word);
        return bytes;
    };
    struct Case
    {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"shorter than 13 bytes", Bytes(good.begin(), good.begin() + 12)},
        {"no frames", with(0, 0)},
        {"more frames than the blocks hold", with(0, 3)},
        {"rider block of another size", with(8, 3 * 84 - 6)},
        {"bike block of another size", with(riderEnd + 4, 3 * 12 + 6)},
        {"no end mark", Bytes(good.begin(), good.end() - 4)},
        {"cut inside the rider block", Bytes(good.begin(), good.begin() + 100)},
        {"no rider block",
         [&]
         {
             Bytes bytes(good.begin(), good.begin() + 4);
             bytes.insert(bytes.end(), good.begin() + riderEnd, good.end());
             return bytes;
         }()},
        {"a count beyond the file", with(0, 0xFFFFFFFE)},
    };
    WriteGameFile("clip.lws", kit::WriteMotionScene(0, 1, kit::ClipDesign(2).SceneObjects()));
    for (const Case& c : cases)
    {
        WriteGameFile("clip.bmo", c.bytes);
        EXPECT_FALSE(clip_.Load("clip", 0, 10.0f, 0)) << c.name;
        EXPECT_FALSE(clip_.IsLoaded()) << c.name;
        EXPECT_EQ(ReadGameFile("clip.bmo"), c.bytes) << c.name << ": converted";
    }
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}
}  // namespace
