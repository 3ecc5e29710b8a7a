#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/config/ConfigFile.h"
#include "app/game/CurrentRace.h"
#include "app/settings/MenuState.h"
#include "kit/sound/SoundBankWriter.h"
#include "kit/sound/WaveWriter.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "sound/PcmOutputNode.h"
#include "sound/SoundManager.h"
#include "sound/SoundTables.h"
#include "tests/support/TestDirectory.h"

namespace
{
constexpr float kPi = std::numbers::pi_v<float>;
constexpr int kRampLength = 9000;

std::string AsString(const std::vector<uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

// A bank whose loop 0 is a ramp (sample i has the value i), so that the output shows the
// voice's position, step and gains frame by frame.
kit::SoundBankContent RampBank()
{
    kit::SoundBankContent bank;
    constexpr float kPositions[] = {0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f};
    constexpr float kVolumes[] = {70.0f, 85.0f, 90.0f, 75.0f, 40.0f, 10.0f};
    for (size_t i = 0; i < 6; ++i)
    {
        bank.loopCurvePos[i] = bank.loopCurvePos[6 + i] = kPositions[i];
        bank.loopCurveVol[i] = bank.loopCurveVol[6 + i] = kVolumes[i];
    }
    bank.loopRpmRange = {{{1000.0f, 11000.0f}, {12000.0f, 16000.0f}, {}, {}}};
    bank.loopPitchRange = {{{9000.0f, 24000.0f}, {16000.0f, 34000.0f}, {}, {}}};
    std::vector<int16_t> ramp(kRampLength);
    for (int i = 0; i < kRampLength; ++i)
    {
        ramp[i] = static_cast<int16_t>(i);
    }
    bank.engineLoops = {ramp, std::vector<int16_t>(5000, 100), std::vector<int16_t>(100, 1),
                        std::vector<int16_t>(100, 1)};
    bank.eventPitch.assign(9, 22050.0f);
    for (int i = 0; i < 9; ++i)
    {
        bank.eventSounds.emplace_back(i == 1 ? 32000 : i == 4 ? 52000 : 2000, int16_t{50});
    }
    return bank;
}

// A fresh manager on the scripted machine, with the bank and the menu sounds as plain files.
class SoundManagerTest : public testing::Test
{
protected:
    SoundManagerTest()
    {
        g_config = ConfigBlock();
        g_config.SetI32At(ConfigBlock::kEngineVoiceIndexOffset, 1);  // 8 engine slots
        g_menuState = MenuState();
        g_archiveMenu = nullptr;
        g_bikeClass = BikeClass::Class125;
        g_soundEnabled = true;
        directory_.WriteFile("Sound/125.std", AsString(kit::BuildSoundBank(RampBank(), 22050)));
    }
    ~SoundManagerTest() override { g_soundEnabled = true; }

    void StartRace()
    {
        ASSERT_TRUE(manager_->StartOutput());
        manager_->LoadRaceSounds();
    }

    // Mixes until the output has produced `blocks` buffers in all.
    void Mix(size_t blocks)
    {
        while (platform_.AudioCaptures().back().buffers.size() < blocks)
        {
            ASSERT_TRUE(manager_->Output().MixBuffer());
        }
    }

    const std::vector<int16_t>& Block(size_t index) const
    {
        return platform_.AudioCaptures().back().buffers.at(index);
    }

    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform scope_{platform_};
    std::unique_ptr<SoundManager> manager_ = std::make_unique<SoundManager>();
};

RiderSoundInput RiderAt(float x, float z)
{
    RiderSoundInput rider;
    rider.position = {x, 0.0f, z};
    rider.viewPosition = {x, 0.0f, z};
    rider.engineRpm = 5000.0f;
    rider.gear = 1;
    return rider;
}

RaceSoundFrame FrameOf(const std::vector<RiderSoundInput>& riders, uint32_t clockMs)
{
    RaceSoundFrame frame;
    frame.riders = riders;
    frame.cameraMode = 2;
    frame.raceClockMs = clockMs;
    return frame;
}

// The engine step's arithmetic for loop 0 of one rider, written out from the rules it follows.
struct ExpectedVoice
{
    float pitch;
    float volume;
    float pan;
};

ExpectedVoice ExpectedLoop0(const RiderSoundInput& rider, float heading, bool viewed,
                            float riderOffset)
{
    const SoundVector& p = rider.viewPosition;
    const float d = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    const float a = 20.0f / (d + 1.0f);
    const float pan = std::asin(0.99999f * p.x / d) * 2.0f / kPi;
    const float f = rider.velocity.z * std::cos(heading) - rider.velocity.x * std::sin(heading);
    const float g = rider.velocity.x * std::cos(heading) + rider.velocity.z * std::sin(heading);
    float b1 = std::fabs(f) <= 0.001f ? kPi / 2.0f : std::atan(g / f);
    b1 += f < 0.0f ? kPi : 0.0f;
    float b2 = std::fabs(p.z) <= 0.001f ? kPi / 2.0f : std::atan(p.x / p.z);
    b2 += p.z < 0.0f ? kPi : 0.0f;
    float gap = b2 - b1;
    gap += gap > kPi ? -2.0f * kPi : gap < -kPi ? 2.0f * kPi : 0.0f;
    float k = std::fabs(gap) * 2.0f / kPi - 1.0f;
    k *= k < 0.0f ? 0.15f : 1.0f;
    const float doppler =
        2.5f * k * (rider.velocity.x * rider.velocity.x + rider.velocity.z * rider.velocity.z);
    const float t = (rider.engineRpm - 1000.0f) / 10000.0f;  // the ramp bank's loop 0 range
    const float curve = 90.0f * 0.3f * 0.01f;                // t = 0.4 sits on breakpoint 2
    const float volume =
        rider.throttle > 0.1f ? 0.7f * (0.5f + 0.35f * rider.throttle) : 0.7f * 0.5f;
    float pitch = std::clamp(9000.0f + t * 15000.0f, 2000.0f, 44100.0f) + doppler;
    pitch += viewed ? 0.0f : riderOffset * 0.5f;
    return {std::max(pitch, 100.0f), std::clamp(curve * volume * a, 0.0f, 1.0f), pan};
}

// The sampler's mix of the ramp from its start at the voice's step and gains, as 16-bit output.
std::vector<int16_t> ExpectedRamp(const ExpectedVoice& voice, uint32_t frames, float gain)
{
    const auto step = static_cast<uint32_t>(std::nearbyint(voice.pitch / 22050.0f * 256.0f));
    const float left = (0.5f - 0.5f * voice.pan) * voice.volume * gain;
    const float right = (0.5f + 0.5f * voice.pan) * voice.volume * gain;
    std::vector<int16_t> pcm;
    for (uint32_t f = 0; f < frames; ++f)
    {
        const auto sample = static_cast<float>((f * step) >> 8);
        pcm.push_back(static_cast<int16_t>(std::nearbyint(sample * left)));
        pcm.push_back(static_cast<int16_t>(std::nearbyint(sample * right)));
    }
    return pcm;
}

TEST_F(SoundManagerTest, AnApproachingRiderIsHeardWithItsPitchPanAndDopplerSampleBySample)
{
    StartRace();
    std::vector<RiderSoundInput> riders = {RiderAt(10.0f, 30.0f)};
    riders[0].velocity = {0.0f, 0.0f, -20.0f};
    riders[0].throttle = 0.5f;
    RaceSoundFrame frame = FrameOf(riders, 2000);
    manager_->UpdateEngineSounds(frame);

    const ExpectedVoice expected = ExpectedLoop0(riders[0], 0.0f, true, 0.0f);
    const RiderSoundResult& result = manager_->RiderResult(0);
    EXPECT_EQ(result.soundSlot, 0);
    EXPECT_FLOAT_EQ(result.soundPan, expected.pan);
    EXPECT_FLOAT_EQ(result.soundAttenuation, 20.0f / (std::sqrt(1000.0f) + 1.0f));
    EXPECT_GT(result.soundPitchOffset, 700.0f);  // coming nearer: higher

    Mix(3);
    EXPECT_EQ(Block(0), std::vector<int16_t>(512, 0));  // before the events are due
    EXPECT_EQ(Block(1), ExpectedRamp(expected, 256, 0.7f));
}

TEST_F(SoundManagerTest, ARiderGoingAwayDropsALittleAndOthersAreTunedApart)
{
    StartRace();
    std::vector<RiderSoundInput> riders = {RiderAt(-5.0f, 40.0f), RiderAt(0.0f, 200.0f)};
    riders[0].velocity = {0.0f, 0.0f, 15.0f};
    riders[1].inactive = true;  // only followed by the camera
    RaceSoundFrame frame = FrameOf(riders, 2000);
    frame.viewedRider = 1;
    manager_->UpdateEngineSounds(frame);

    const ExpectedVoice expected = ExpectedLoop0(riders[0], 0.0f, false, kRiderPitchOffset[0]);
    EXPECT_LT(manager_->RiderResult(0).soundPitchOffset, 0.0f);
    EXPECT_GT(manager_->RiderResult(0).soundPitchOffset, -0.15f * 2.5f * 225.0f - 1.0f);
    EXPECT_LT(manager_->RiderResult(0).soundPan, 0.0f);  // on the left
    Mix(3);
    EXPECT_EQ(Block(1), ExpectedRamp(expected, 256, 0.7f));
}

TEST_F(SoundManagerTest, TenRidersShareEightSlotsByDistance)
{
    StartRace();
    std::vector<RiderSoundInput> riders;
    for (int i = 0; i < 10; ++i)
    {
        riders.push_back(RiderAt(0.0f, 10.0f * static_cast<float>(10 - i)));  // rider 9 nearest
    }
    manager_->UpdateEngineSounds(FrameOf(riders, 2000));
    for (int rider = 0; rider < 10; ++rider)
    {
        // Nearest first takes the lowest free slot: rider 9 slot 0 ... rider 2 slot 7.
        EXPECT_EQ(manager_->RiderResult(rider).soundSlot, rider >= 2 ? 9 - rider : -1) << rider;
    }

    // Rider 9 leaves the race, rider 0 comes nearest: 9's slot is given up and taken by the
    // nearest rider without one; rider 2 falls back and its slot goes silent.
    riders[9].inactive = true;
    riders[0].position.z = 1.0f;
    riders[2].position.z = 500.0f;
    manager_->UpdateEngineSounds(FrameOf(riders, 2040));
    EXPECT_EQ(manager_->RiderResult(9).soundSlot, -1);
    EXPECT_EQ(manager_->RiderResult(2).soundSlot, -1);
    EXPECT_EQ(manager_->RiderResult(0).soundSlot, 0);
    EXPECT_EQ(manager_->RiderResult(1).soundSlot, 7);
    EXPECT_EQ(manager_->EngineSlotOwner(0), 0);
    EXPECT_EQ(manager_->EngineSlotOwner(7), 1);
    for (int slot = 0; slot < 8; ++slot)
    {
        EXPECT_NE(manager_->EngineSlotOwner(slot), -1) << slot;
    }
}

TEST_F(SoundManagerTest, ASlotGivenUpGoesSilentInTheSameFrame)
{
    g_config.SetI32At(ConfigBlock::kEngineVoiceIndexOffset, 0);  // 4 slots
    StartRace();
    std::vector<RiderSoundInput> riders;
    for (int i = 0; i < 4; ++i)
    {
        riders.push_back(RiderAt(0.0f, 20.0f + static_cast<float>(i)));
        riders.back().throttle = 1.0f;
    }
    manager_->UpdateEngineSounds(FrameOf(riders, 2000));
    Mix(4);
    EXPECT_NE(Block(2), std::vector<int16_t>(512, 0));
    for (RiderSoundInput& rider : riders)
    {
        rider.inactive = true;
    }
    manager_->UpdateEngineSounds(FrameOf(riders, 2040));
    const size_t next = platform_.AudioCaptures().back().buffers.size();
    Mix(next + 3);
    EXPECT_EQ(Block(next + 2), std::vector<int16_t>(512, 0));
}

TEST_F(SoundManagerTest, AnEngineSpeedOnARangeLimitStillPlaysTheLoop)
{
    StartRace();
    for (const float rpm : {1000.0f, 11000.0f, 999.0f})
    {
        std::vector<RiderSoundInput> riders = {RiderAt(0.0f, 5.0f)};
        riders[0].engineRpm = rpm;
        const auto before = platform_.AudioCaptures().back().buffers.size();
        manager_->UpdateEngineSounds(FrameOf(riders, 2000));
        Mix(before + 3);
        const std::vector<int16_t>& block = Block(before + 2);
        const bool heard = std::any_of(block.begin(), block.end(), [](int16_t s) { return s; });
        EXPECT_EQ(heard, rpm != 999.0f) << rpm;
    }
}

TEST_F(SoundManagerTest, EffectsComeOncePerSecondPerRiderAndFourAtATime)
{
    StartRace();
    std::vector<RiderSoundInput> riders(8, RiderAt(0.0f, 10.0f));
    const auto at = [&](uint32_t clockMs)
    { manager_->UpdateEngineSounds(FrameOf(riders, clockMs)); };
    Sampler& effects = manager_->EffectSampler();

    at(500);  // the ring starts young: nothing in the race's first second
    manager_->PlayCollisionSound(1);
    EXPECT_FALSE(manager_->IsRiderEffectRecent(1));

    at(1500);
    manager_->PlayCollisionSound(1);  // voice 4
    EXPECT_TRUE(manager_->IsRiderEffectRecent(1));
    at(1600);
    manager_->PlayCollisionSound(2);  // voice 5
    EXPECT_TRUE(effects.IsVoiceActive(5));
    at(1700);
    manager_->PlayImpactSound(2);  // the same rider within a second: dropped
    EXPECT_FALSE(effects.IsVoiceActive(6));
    manager_->PlayImpactSound(3);     // voice 6
    manager_->PlayCollisionSound(4);  // voice 7
    EXPECT_TRUE(effects.IsVoiceActive(6));
    EXPECT_TRUE(effects.IsVoiceActive(7));
    at(2000);
    manager_->PlayCollisionSound(5);  // the fifth within a second: its slot is still young
    EXPECT_FALSE(manager_->IsRiderEffectRecent(5));
    at(2600);
    manager_->PlayCollisionSound(5);
    EXPECT_TRUE(manager_->IsRiderEffectRecent(5));
}

TEST_F(SoundManagerTest, WithSoundOffNothingHappens)
{
    g_soundEnabled = false;
    EXPECT_FALSE(manager_->StartOutput());
    manager_->LoadRaceSounds();
    manager_->LoadMenuSounds();
    manager_->UpdateEngineSounds(FrameOf({RiderAt(0.0f, 1.0f)}, 2000));
    manager_->PlayMenuSound(0, true);
    EXPECT_TRUE(platform_.AudioCaptures().empty());
    EXPECT_FALSE(manager_->EngineSampler().IsConnected());
    EXPECT_EQ(manager_->MenuSounds().SoundCount(), 0u);
}

TEST_F(SoundManagerTest, AnOutputThatCannotStartSwitchesSoundOff)
{
    platform_.SetAudioDeviceAvailable(false);
    EXPECT_FALSE(manager_->StartOutput());
    EXPECT_FALSE(g_soundEnabled);
}

TEST_F(SoundManagerTest, SuspendAndResumeKeepTheStream)
{
    ASSERT_TRUE(manager_->StartOutput());
    manager_->SuspendOutput();
    EXPECT_FALSE(platform_.AudioCaptures().back().open);
    manager_->ResumeOutput();
    EXPECT_EQ(platform_.AudioCaptures().size(), 2u);
    EXPECT_TRUE(manager_->Output().IsPlaying());
    EXPECT_TRUE(manager_->StopOutput());
    EXPECT_FALSE(manager_->Output().IsInitialised());
}

TEST_F(SoundManagerTest, MenuButtonsPlayTheirSounds)
{
    MenuSoundTable table;
    table.files = {"", "sound/hover.wav", "sound/click.wav", "sound/missing.wav"};
    table.buttons[7] = {{1, 22050.0f, 0.5f}, {2, 11025.0f, 1.0f}};
    table.buttons[8] = {{3, 22050.0f, 0.5f}, {0, 22050.0f, 1.0f}};
    directory_.WriteFile(SoundManager::kMenuSoundFile, AsString(BuildMenuSoundTable(table)));
    directory_.WriteFile("sound/hover.wav",
                         AsString(kit::BuildWaveImage(std::vector<int16_t>(4000, 1000), 22050)));
    directory_.WriteFile("sound/click.wav",
                         AsString(kit::BuildWaveImage(std::vector<int16_t>(4000, -800), 22050)));
    ASSERT_TRUE(manager_->StartOutput());
    manager_->LoadMenuSounds();
    ASSERT_EQ(manager_->MenuSounds().SoundCount(), 3u);
    EXPECT_TRUE(manager_->HasMenuSample(1));
    EXPECT_FALSE(manager_->HasMenuSample(3));

    manager_->PlayMenuSound(8, true);   // its file is missing: nothing
    manager_->PlayMenuSound(8, false);  // no sound
    EXPECT_FALSE(manager_->EngineSampler().IsVoiceActive(0));
    manager_->PlayMenuSound(7, true);
    Mix(3);
    // 1000 x 0.5 x 1.6 (menu boost) x 0.7 (volume) x 0.5 (centre) on each side.
    EXPECT_EQ(Block(1)[0], 280);
    EXPECT_EQ(Block(1)[1], 280);
    manager_->PlayMenuSound(7, false);
    Mix(5);
    // Both sounds now: 280 - 448 = -168, which the output writes as its ones' complement.
    const float sum = 1000.0f * (0.5f * (0.5f * 1.6f) * 0.7f) + -800.0f * (0.5f * 1.6f * 0.7f);
    std::vector<int16_t> expected(1);
    ConvertToPcm16(std::vector<float>{sum}, expected);
    EXPECT_EQ(Block(4)[0], expected[0]);
    EXPECT_EQ(expected[0], -169);

    manager_->ReleaseMenuSounds();
    EXPECT_FALSE(manager_->EngineSampler().IsConnected());
    EXPECT_FALSE(manager_->HasMenuSample(1));
}

// A sampler plays straight from the bank: its entries change only while their sampler is closed.
TEST_F(SoundManagerTest, BankEntriesChangeOnlyWhileTheirSamplerIsClosed)
{
    g_config.SetU8At(ConfigBlock::kSampleOptionOffset, 1);  // interpolated
    const std::vector<uint8_t> image = kit::BuildWaveImage(std::vector<int16_t>(100, 5), 22050);
    ASSERT_TRUE(manager_->StartOutput());

    ASSERT_TRUE(manager_->SetEngineLoopData(0, image));
    EXPECT_TRUE(manager_->Bank().engineLoops[0].IsInterleaved());
    EXPECT_EQ(manager_->Bank().engineLoops[0].GetSampleCount(), 100u);
    ASSERT_TRUE(manager_->SetEventSoundData(2, image));
    EXPECT_FALSE(manager_->Bank().eventSounds[2].IsInterleaved());
    EXPECT_FALSE(manager_->SetEngineLoopData(SoundBank::kEngineLoopCount, image));
    EXPECT_FALSE(manager_->SetEventSoundData(SoundBank::kMaxEventSounds, image));
    EXPECT_FALSE(manager_->FreeEventSound(SoundBank::kMaxEventSounds));
    EXPECT_FALSE(manager_->SetEventSoundData(2, {'R', 'I', 'F', 'F'}));
    EXPECT_FALSE(manager_->Bank().eventSounds[2].HasData());
    ASSERT_TRUE(manager_->FreeEngineLoop(0));
    EXPECT_FALSE(manager_->Bank().engineLoops[0].HasData());

    manager_->LoadRaceSounds();
    ASSERT_TRUE(manager_->Bank().engineLoops[1].HasData());
    EXPECT_FALSE(manager_->FreeEngineLoop(1));
    EXPECT_FALSE(manager_->SetEngineLoopData(1, image));
    EXPECT_FALSE(manager_->FreeEventSound(0));
    EXPECT_EQ(manager_->Bank().engineLoops[1].GetSampleCount(), 5000u);
    EXPECT_TRUE(manager_->Bank().eventSounds[0].HasData());
}

TEST_F(SoundManagerTest, ASampleRecordPlaysOnceAtFourFifthsOfItsVolume)
{
    directory_.WriteFile("sound/record.wav",
                         AsString(kit::BuildWaveImage(std::vector<int16_t>(400, 1000), 22050)));
    SampleRecord record;
    record.pitch = 22050.0f;
    record.volume = 0.5f;
    record.pan = -1.0f;
    ASSERT_TRUE(manager_->LoadSampleFile("sound/record.wav", record.sample));
    SampleBuffer missing;
    EXPECT_FALSE(manager_->LoadSampleFile("sound/missing.wav", missing));
    EXPECT_FALSE(manager_->PlaySampleRecord(record)) << "no menu sampler yet";

    ASSERT_TRUE(manager_->StartOutput());
    manager_->LoadMenuSounds();
    ASSERT_TRUE(manager_->PlaySampleRecord(record));
    Mix(4);
    // 1000 x 0.5 x 0.8 x 0.7 (volume), all on the left.
    EXPECT_EQ(Block(1)[0], 280);
    EXPECT_EQ(Block(1)[1], 0);
    // 400 samples: over within the second block.
    EXPECT_EQ(Block(3)[0], 0);

    g_soundEnabled = false;
    EXPECT_FALSE(manager_->PlaySampleRecord(record));
}

TEST(AngleBetween, WrapsTheBearingDifference)
{
    EXPECT_FLOAT_EQ(AngleBetween(1.0f, 1.0f, 0.0f, 1.0f), kPi / 4.0f);
    EXPECT_FLOAT_EQ(AngleBetween(0.0f, -1.0f, 0.0f, 1.0f), kPi);
    EXPECT_NEAR(AngleBetween(-1.0f, -0.5f, 1.0f, 1.0f), std::atan(2.0f) - 1.25f * kPi, 1e-5f);
    EXPECT_FLOAT_EQ(AngleBetween(1.0f, 0.0f, 0.0f, 1.0f), kPi / 2.0f);
}
}  // namespace
