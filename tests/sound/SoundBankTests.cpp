#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/archive/CprArchive.h"
#include "core/archive/DAFile.h"
#include "core/util/LittleEndian.h"
#include "kit/CprWriter.h"
#include "kit/sound/DemoSounds.h"
#include "kit/sound/SoundBankWriter.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "sound/SoundBank.h"
#include "tests/support/CaseNames.h"
#include "tests/support/TestDirectory.h"

namespace
{
using Bytes = std::vector<uint8_t>;

// A small bank with distinct values everywhere, to see each land in its field.
kit::SoundBankContent SmallBank()
{
    kit::SoundBankContent content;
    content.mixScale = 0.25f;
    content.engineRpm = 2500.0f;
    content.pitchOffset = -300.0f;
    for (size_t i = 0; i < SoundBank::kCurvePoints; ++i)
    {
        content.loopCurveVol[i] = 10.0f * static_cast<float>(i);
        content.loopCurvePos[i] = 0.05f * static_cast<float>(i);
    }
    for (size_t i = 0; i < SoundBank::kEngineLoopCount; ++i)
    {
        const auto k = static_cast<float>(i);
        content.loopRpmRange[i] = {1000.0f * k, 2000.0f * k + 5000.0f};
        content.loopPitchRange[i] = {8000.0f + k, 20000.0f + k};
        content.engineLoops[i] = std::vector<int16_t>(40 + 10 * i, static_cast<int16_t>(i + 1));
        content.loopStarts[i] = static_cast<uint32_t>(5 * i);
    }
    content.eventPitch = {11025.0f, 22050.0f, 44100.0f};
    content.eventSounds = {{1, 2}, {3, 4, 5}, {6}};
    return content;
}

TEST(SoundBank, ReadsWhatTheKitWrites)
{
    SoundBank bank;
    ASSERT_TRUE(ParseSoundBank(kit::BuildSoundBank(SmallBank(), 22050), false, bank));
    EXPECT_EQ(bank.mixScale, 0.25f);
    EXPECT_EQ(bank.engineRpm, 2500.0f);
    EXPECT_EQ(bank.pitchOffset, -300.0f);
    EXPECT_EQ(bank.loopCurveVol[15], 150.0f);
    EXPECT_EQ(bank.loopCurvePos[3], 0.15f);
    EXPECT_EQ(bank.loopRpmRange[2].high, 9000.0f);
    EXPECT_EQ(bank.loopPitchRange[3].low, 8003.0f);
    for (size_t i = 0; i < SoundBank::kEngineLoopCount; ++i)
    {
        EXPECT_EQ(bank.engineLoops[i].GetSampleCount(), 40 + 10 * i);
        EXPECT_EQ(bank.engineLoops[i].GetLoopStart(), 5 * i);
        EXPECT_EQ(bank.engineLoops[i].GetLoopEnd(), 40 + 10 * i);
        EXPECT_FALSE(bank.engineLoops[i].IsInterleaved());
    }
    EXPECT_EQ(bank.eventSoundCount, 3u);
    EXPECT_EQ(bank.eventPitch[2], 44100.0f);
    EXPECT_EQ(bank.eventPitch[3], 0.0f);
    EXPECT_EQ(bank.eventSounds[1].GetSampleCount(), 3u);
    EXPECT_EQ(bank.eventSounds[1].GetData()[2], 5.0f);
    EXPECT_FALSE(bank.eventSounds[3].HasData());
}

TEST(SoundBank, InterleavesOnlyTheEngineLoopsWhenInterpolating)
{
    SoundBank bank;
    ASSERT_TRUE(ParseSoundBank(kit::BuildSoundBank(SmallBank(), 22050), true, bank));
    for (const SampleBuffer& loop : bank.engineLoops)
    {
        EXPECT_TRUE(loop.IsInterleaved());
    }
    EXPECT_EQ(bank.engineLoops[1].GetLoopStart(), 5u);
    EXPECT_FALSE(bank.eventSounds[0].IsInterleaved());
}

// Field offsets in the small bank.
constexpr size_t kFirstLoopNameLength = SoundBank::kHeadSize;
size_t EventCountOffset(const Bytes& bank)
{
    return bank.size() - (3 * 4) - (8 + 44 + 4) - (8 + 44 + 6) - (8 + 44 + 2) - 4;
}

// A bank whose count says ten effect sounds and that really holds ten pitches and sounds.
Bytes BankWithTenEffects()
{
    kit::SoundBankContent content = SmallBank();
    content.eventPitch.assign(9, 22050.0f);
    content.eventSounds.assign(9, {1});
    Bytes bank = kit::BuildSoundBank(content, 22050);
    constexpr size_t kRecordSize = 4 + 4 + 44 + 2;
    const size_t countOffset = bank.size() - 9 * kRecordSize - 9 * 4 - 4;
    StoreLe32(bank.data() + countOffset, 10);
    const Bytes record(bank.end() - kRecordSize, bank.end());
    const Bytes pitch(bank.begin() + countOffset + 4, bank.begin() + countOffset + 8);
    bank.insert(bank.begin() + countOffset + 4 + 9 * 4, pitch.begin(), pitch.end());
    bank.insert(bank.end(), record.begin(), record.end());
    return bank;
}

struct Corruption
{
    const char* what;
    void (*apply)(Bytes& bank);
};

class SoundBankFaultTest : public ::testing::TestWithParam<Corruption>
{
};

TEST_P(SoundBankFaultTest, LeavesTheBankEmptyAsIfMissing)
{
    Bytes bytes = kit::BuildSoundBank(SmallBank(), 22050);
    GetParam().apply(bytes);
    SoundBank bank;
    ASSERT_TRUE(ParseSoundBank(kit::BuildSoundBank(SmallBank(), 22050), false, bank));
    EXPECT_FALSE(ParseSoundBank(bytes, false, bank)) << GetParam().what;
    EXPECT_EQ(bank.mixScale, 0.0f);
    EXPECT_EQ(bank.eventSoundCount, 0u);
    for (const SampleBuffer& loop : bank.engineLoops)
    {
        EXPECT_FALSE(loop.HasData());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SoundBankFaultTest,
    ::testing::Values(Corruption{"name of 1024 bytes",
                                 [](Bytes& bank)
                                 {
                                     StoreLe32(bank.data() + kFirstLoopNameLength, 1024);
                                     bank.insert(bank.begin() + kFirstLoopNameLength + 4, 1024,
                                                 'x');
                                 }},
                      Corruption{"ten effect sounds", [](Bytes& bank)
                                 { StoreLe32(bank.data() + EventCountOffset(bank), 10); }},
                      Corruption{"ten effect sounds, all there",
                                 [](Bytes& bank) { bank = BankWithTenEffects(); }},
                      Corruption{"an image shorter than a WAVE header", [](Bytes& bank)
                                 { StoreLe32(bank.data() + kFirstLoopNameLength + 4, 0); }},
                      Corruption{
                          "an image running past the file", [](Bytes& bank)
                          { StoreLe32(bank.data() + kFirstLoopNameLength + 4, 0x7FFFFFFF); }},
                      Corruption{"data longer than its image", [](Bytes& bank)
                                 { StoreLe32(bank.data() + kFirstLoopNameLength + 8 + 40, 90); }},
                      Corruption{"non-PCM effect sound", [](Bytes& bank)
                                 { bank[bank.size() - (8 + 44 + 2) + 8 + 20] = 2; }},
                      Corruption{"a missing last byte", [](Bytes& bank) { bank.pop_back(); }}),
    [](const ::testing::TestParamInfo<Corruption>& info)
    { return case_names::Words(info.param.what); });

TEST(SoundBank, SurvivesEveryTruncation)
{
    const Bytes bytes = kit::BuildSoundBank(SmallBank(), 22050);
    for (size_t length = 0; length < bytes.size(); ++length)
    {
        SoundBank bank;
        ASSERT_FALSE(ParseSoundBank(std::span(bytes).first(length), false, bank)) << length;
    }
}

TEST(SoundBank, LoadsTheDemoBanksFromTheMenuArchive)
{
    const TestDirectory directory;
    ScriptedPlatform platform;
    const ScopedPlatform scope(platform);
    kit::CprWriter writer;
    std::string error;
    ASSERT_TRUE(kit::AddDemoSounds(writer, error)) << error;
    const std::vector<uint8_t> archiveBytes = writer.Build();
    directory.WriteFile("menu.cpr", std::string(archiveBytes.begin(), archiveBytes.end()));

    DAFile file("menu.cpr");
    for (int bikeClass = 0; bikeClass < 3; ++bikeClass)
    {
        SoundBank bank;
        ASSERT_TRUE(LoadSoundBank(file, kit::DemoSoundBankName(bikeClass), true, bank));
        EXPECT_GT(bank.engineLoops[0].GetSampleCount(), 3800u);
        EXPECT_TRUE(bank.engineLoops[0].IsInterleaved());
        EXPECT_EQ(bank.eventSoundCount, 9u);
        // The game loops these two from fixed starts inside them.
        EXPECT_GT(bank.eventSounds[1].GetSampleCount(), 31195u);
        EXPECT_GT(bank.eventSounds[4].GetSampleCount(), 50945u);
        EXPECT_GE(bank.eventPitch[0], 100.0f);
    }
    SoundBank missing;
    EXPECT_FALSE(LoadSoundBank(file, "Sound/750.std", false, missing));
    EXPECT_TRUE(platform.MessageBoxes().empty()) << "a missing bank is not reported";
}

// Where a looped sound jumps back, the step is no larger than the sound's own steps.
void ExpectSeamlessLoop(const std::vector<int16_t>& sound, size_t loopStart)
{
    int largestStep = 0;
    for (size_t i = 1; i < sound.size(); ++i)
    {
        largestStep = std::max(largestStep, std::abs(sound[i] - sound[i - 1]));
    }
    EXPECT_LE(std::abs(sound[loopStart] - sound.back()), largestStep);
}

TEST(DemoSounds, LoopWithoutAClick)
{
    constexpr size_t kLoopStarts[] = {0, 31195, 0, 0, 50945, 0, 0, 0, 0};
    constexpr bool kLooped[] = {true, true, true, true, true, false, false, false, true};
    for (int bikeClass = 0; bikeClass < 3; ++bikeClass)
    {
        const kit::SoundBankContent bank = kit::DemoSoundBank(bikeClass);
        ExpectSeamlessLoop(bank.engineLoops[0], 0);
        ExpectSeamlessLoop(bank.engineLoops[1], 0);
        for (size_t i = 0; i < bank.eventSounds.size(); ++i)
        {
            if (kLooped[i])
            {
                ExpectSeamlessLoop(bank.eventSounds[i], kLoopStarts[i]);
            }
        }
    }
}
}  // namespace
