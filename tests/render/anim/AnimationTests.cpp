// Animations played from the archive: every frame as written, forwards and backwards, one
// animation at a time, and damaged files and frames refused without harm.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/util/LittleEndian.h"
#include "kit/anim/AnimationWriter.h"
#include "kit/anim/DemoAnimations.h"
#include "render/RenderApi.h"
#include "render/anim/AnimationPlayer.h"
#include "tests/render/LibraryScreen.h"

namespace
{

constexpr char kOpenFailure[] = "Unable to open Animation filr anim/bad.ani!";

// Frames of 8 x 4 pixels, rows of 16 bytes, each differing from the one before.
kit::AnimationFrames SmallFrames(int count)
{
    kit::AnimationFrames frames{8, 4, 16, {}};
    for (int frame = 0; frame < count; ++frame)
    {
        std::vector<uint8_t> picture(64);
        for (size_t i = 0; i < picture.size(); ++i)
        {
            picture[i] =
                static_cast<uint8_t>(i * 7 + frame * frame * 13 + (i % 5 == 0 ? frame : 0));
        }
        frames.pictures.push_back(picture);
    }
    return frames;
}

std::vector<uint8_t> Written(const kit::AnimationFrames& frames)
{
    std::vector<uint8_t> file;
    std::string error;
    EXPECT_TRUE(kit::WriteAnimation(frames, file, error)) << error;
    return file;
}

// A block stored as it is.
std::vector<uint8_t> StoredBlock(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> block(4);
    StoreLe32(block.data(), static_cast<uint32_t>(-static_cast<int32_t>(bytes.size())));
    block.insert(block.end(), bytes.begin(), bytes.end());
    return block;
}

// A file from header words and frame blocks, the size table made from the blocks.
std::vector<uint8_t> HandMade(uint32_t width, uint32_t height, uint32_t stride,
                              const std::vector<std::vector<uint8_t>>& blocks)
{
    std::vector<uint8_t> file(16 + 4 * blocks.size());
    StoreLe32(&file[0], static_cast<uint32_t>(blocks.size()));
    StoreLe32(&file[4], width);
    StoreLe32(&file[8], height);
    StoreLe32(&file[12], stride);
    for (size_t i = 0; i < blocks.size(); ++i)
    {
        StoreLe32(&file[16 + 4 * i], static_cast<uint32_t>(blocks[i].size()));
        file.insert(file.end(), blocks[i].begin(), blocks[i].end());
    }
    return file;
}

std::vector<uint8_t> PictureBytes(const Texture& picture)
{
    return {picture.pixels, picture.pixels + static_cast<size_t>(picture.height) * picture.stride};
}

class Animation : public LibraryScreen
{
protected:
    // Mounts an archive holding the files, by name.
    void Mount(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files)
    {
        kit::CprWriter writer;
        std::string error;
        for (const auto& [name, bytes] : files)
        {
            ASSERT_TRUE(writer.Add(name, bytes, kit::MemberStorage::Smaller, error)) << error;
        }
        archive_.reset();
        archive_ = std::make_unique<LibraryArchive>(writer);
    }
    int32_t Open(const char* name)
    {
        picture_ = reinterpret_cast<Texture*>(1);
        frameCount_ = -1;
        return rdll_OpenAnimation(name, &picture_, &frameCount_);
    }
    void TearDown() override
    {
        rdll_CloseAnimation();
        archive_.reset();
        LibraryScreen::TearDown();
    }

    std::unique_ptr<LibraryArchive> archive_;
    Texture* picture_ = nullptr;
    int32_t frameCount_ = 0;
};

TEST_F(Animation, EveryFrameShowsAsWrittenForwardsAndBackwards)
{
    const kit::AnimationFrames frames = SmallFrames(7);
    Mount({{"anim/small.ani", Written(frames)}});
    ASSERT_EQ(Open("ANIM\\Small.ani"), 1);
    ASSERT_NE(picture_, nullptr);
    EXPECT_EQ(frameCount_, 7);
    EXPECT_EQ(picture_->width, 8);
    EXPECT_EQ(picture_->height, 4);
    EXPECT_EQ(picture_->stride, 16);
    EXPECT_EQ(picture_->format, kTextureFormatRgb565);

    for (const int frame : {0, 1, 2, 3, 4, 5, 6, 3, 3, 0, 6, 2, 5})
    {
        rdll_CopyAniFrame(frame);
        EXPECT_EQ(render::TheAnimationPlayer().CurrentFrame(), frame);
        EXPECT_EQ(PictureBytes(*picture_), frames.pictures[frame]) << "frame " << frame;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Animation, OnlyOneAnimationPlaysAtATime)
{
    const kit::AnimationFrames frames = SmallFrames(3);
    Mount({{"a.ani", Written(frames)}, {"b.ani", Written(SmallFrames(2))}});
    ASSERT_EQ(Open("a.ani"), 1);
    Texture* first = picture_;
    EXPECT_EQ(Open("b.ani"), 0);
    EXPECT_EQ(picture_, nullptr);
    EXPECT_EQ(frameCount_, 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ani already playing"});
    rdll_CopyAniFrame(2);
    EXPECT_EQ(PictureBytes(*first), frames.pictures[2]) << "the first one plays on";

    rdll_CloseAnimation();
    EXPECT_EQ(first->pixels, nullptr);
    rdll_CopyAniFrame(1);
    EXPECT_EQ(Open("b.ani"), 1);
    EXPECT_EQ(frameCount_, 2);
}

TEST_F(Animation, DamagedFilesAreRefusedWithTheMessage)
{
    const std::vector<uint8_t> frame = StoredBlock(std::vector<uint8_t>(64, 1));
    std::vector<uint8_t> longTable = HandMade(8, 4, 16, {frame});
    StoreLe32(&longTable[0], 1000);
    std::vector<uint8_t> longFrame = HandMade(8, 4, 16, {frame});
    StoreLe32(&longFrame[16], static_cast<uint32_t>(frame.size() + 1));
    std::vector<uint8_t> hugeFrame = HandMade(8, 4, 16, {frame, frame});
    StoreLe32(&hugeFrame[20], 0xFFFFFFF0u);

    const struct
    {
        std::vector<uint8_t> file;
        const char* what;
    } kFiles[] = {
        {{}, "empty"},
        {std::vector<uint8_t>(15, 0), "shorter than the header"},
        {HandMade(8, 4, 16, {}), "no frames"},
        {HandMade(0, 4, 16, {frame}), "no width"},
        {HandMade(8, 0, 16, {frame}), "no height"},
        {HandMade(8, 4, 15, {frame}), "rows narrower than the width"},
        {HandMade(0x10000, 0x10000, 0x20000, {frame}), "picture too large"},
        {HandMade(8, 0xFFFFFFFFu, 0xFFFFFFFFu, {frame}), "size overflowing 32 bits"},
        {longTable, "size table past the end"},
        {longFrame, "frame past the end"},
        {hugeFrame, "frame sizes overflowing"},
    };
    for (const auto& test : kFiles)
    {
        SCOPED_TRACE(test.what);
        Mount({{"anim/bad.ani", test.file}});
        const size_t before = Messages().size();
        EXPECT_EQ(Open("anim/bad.ani"), 0);
        EXPECT_EQ(picture_, nullptr);
        EXPECT_EQ(frameCount_, 0);
        EXPECT_EQ(std::vector<std::string>(Messages().begin() + before, Messages().end()),
                  std::vector<std::string>{kOpenFailure});
        rdll_CopyAniFrame(0);
    }
    Mount({{"anim/good.ani", Written(SmallFrames(1))}});
    EXPECT_EQ(Open("anim/good.ani"), 1) << "a refused file leaves the player closed";
}

TEST_F(Animation, AMissingFileIsRefusedWithTheMessage)
{
    Mount({});
    EXPECT_EQ(Open("anim/bad.ani"), 0);
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back(), kOpenFailure);
}

TEST_F(Animation, ABadFrameLeavesThePictureAtTheFrameBefore)
{
    const kit::AnimationFrames frames = SmallFrames(4);
    std::vector<std::vector<uint8_t>> blocks{StoredBlock(frames.pictures[0])};
    for (int frame = 1; frame < 4; ++frame)
    {
        std::vector<uint8_t> difference(64);
        for (size_t at = 0; at < 64; at += 4)
        {
            StoreLe32(&difference[at], LoadLe32(&frames.pictures[frame - 1][at]) -
                                           LoadLe32(&frames.pictures[frame][at]));
        }
        blocks.push_back(StoredBlock(difference));
    }
    blocks[2] = StoredBlock(std::vector<uint8_t>(63, 0));  // one byte short of a picture
    std::vector<std::vector<uint8_t>> badKey = blocks;
    badKey[0] = {0x7F, 0, 0, 0, 1, 2};  // a bit stream that ends too soon
    Mount({{"anim/frames.ani", HandMade(8, 4, 16, blocks)},
           {"anim/key.ani", HandMade(8, 4, 16, badKey)}});

    ASSERT_EQ(Open("anim/frames.ani"), 1);
    rdll_CopyAniFrame(3);
    EXPECT_EQ(render::TheAnimationPlayer().CurrentFrame(), 1);
    EXPECT_EQ(PictureBytes(*picture_), frames.pictures[1]);
    rdll_CopyAniFrame(-1);
    rdll_CopyAniFrame(4);
    rdll_CopyAniFrame(1 << 30);
    EXPECT_EQ(render::TheAnimationPlayer().CurrentFrame(), 1) << "frames outside are ignored";
    rdll_CloseAnimation();

    ASSERT_EQ(Open("anim/key.ani"), 1);
    rdll_CopyAniFrame(2);
    EXPECT_EQ(render::TheAnimationPlayer().CurrentFrame(), -1);
    EXPECT_EQ(PictureBytes(*picture_), std::vector<uint8_t>(64, 0));
}

TEST_F(Animation, PicturesOfAnySizeAreSubtractedWordByWord)
{
    // 3 pixels: one 32-bit word and a 16-bit tail.
    const std::vector<uint8_t> key{0x00, 0x00, 0x00, 0x01, 0x10, 0x20};
    const std::vector<uint8_t> difference{0x01, 0x00, 0x00, 0x00, 0x11, 0x00};
    Mount({{"odd.ani", HandMade(3, 1, 6, {StoredBlock(key), StoredBlock(difference)})}});
    ASSERT_EQ(Open("odd.ani"), 1);
    rdll_CopyAniFrame(1);
    // 0x01000000 - 1 borrows across the bytes; 0x2010 - 0x0011.
    EXPECT_EQ(PictureBytes(*picture_), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0x1F}));
}

TEST(AnimationWriter, RefusesFramesItCannotWrite)
{
    std::vector<uint8_t> file;
    std::string error;
    kit::AnimationFrames none{8, 4, 16, {}};
    EXPECT_FALSE(kit::WriteAnimation(none, file, error));
    kit::AnimationFrames ragged = SmallFrames(2);
    ragged.pictures[1].pop_back();
    EXPECT_FALSE(kit::WriteAnimation(ragged, file, error));
    kit::AnimationFrames odd{3, 1, 6, {std::vector<uint8_t>(6)}};
    EXPECT_FALSE(kit::WriteAnimation(odd, file, error));
    EXPECT_FALSE(error.empty());
}

TEST_F(Animation, TheDemoCartoonsPlayAsDrawn)
{
    kit::CprWriter menu;
    std::string error;
    ASSERT_TRUE(kit::AddDemoAnimations(menu, error)) << error;
    archive_.reset();
    archive_ = std::make_unique<LibraryArchive>(menu);
    for (int index = 0; index < 3; ++index)
    {
        const kit::AnimationFrames frames = kit::DemoAnimationFrames(index);
        ASSERT_EQ(Open(std::string(kit::DemoAnimationName(index)).c_str()), 1);
        EXPECT_EQ(frameCount_, kit::kDemoAnimationFrames);
        for (int frame = 0; frame < frameCount_; ++frame)
        {
            rdll_CopyAniFrame(frame);
            ASSERT_EQ(PictureBytes(*picture_), frames.pictures[frame]) << index << ": " << frame;
        }
        rdll_CloseAnimation();
    }
}

}  // namespace
