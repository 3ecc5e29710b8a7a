#include "sound/SoundManager.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/config/ConfigFile.h"
#include "app/game/CurrentRace.h"
#include "app/settings/MenuState.h"
#include "core/archive/DAFile.h"
#include "core/files/FileSystem.h"
#include "sound/SoundTables.h"

SoundManager g_soundManager;

namespace
{
constexpr float kSamplerGainScale = 0.7f;
constexpr float kMenuSampleBoost = 1.6f;
constexpr float kSampleRecordScale = 0.8f;
constexpr float kStartPitch = 11000.0f;
constexpr const char* kEngineBanks[] = {"Sound/125.std", "Sound/250.std", "Sound/500.std"};

bool SoundOn()
{
    return g_soundEnabled.load(std::memory_order_relaxed);
}

// A set-up index outside its table takes the table's default entry.
template <size_t N>
uint32_t Pick(const std::array<uint32_t, N>& table, size_t offset, size_t fallback)
{
    const int32_t index = g_config.I32At(offset);
    return table[index >= 0 && static_cast<size_t>(index) < N ? static_cast<size_t>(index)
                                                              : fallback];
}

std::vector<uint8_t> ReadWhole(DAFile& file, std::string_view name)
{
    if (!file.Exists(name) || !file.Open(name))
    {
        return {};
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(file.GetLength(), 0)));
    bytes.resize(file.Read(bytes.data(), static_cast<uint32_t>(bytes.size())));
    file.Close();
    return bytes;
}
}  // namespace

SoundManager::SoundManager()
{
    engineSlotOwner_.fill(-1);
}

SoundManager::~SoundManager()
{
    if (SoundOn())
    {
        StopAllSamples();
    }
}

bool SoundManager::IsEnabled() const
{
    return SoundOn();
}

float SoundManager::SettingsGain() const
{
    return g_menuState.F32At(MenuState::kVolumeOffset) * kSamplerGainScale;
}

int SoundManager::EngineVoiceCount() const
{
    return static_cast<int>(Pick(kSoundVoiceCounts, ConfigBlock::kEngineVoiceIndexOffset, 0));
}

bool SoundManager::StartOutput()
{
    if (!SoundOn())
    {
        return false;
    }
    const uint32_t rate = Pick(kSoundRates, ConfigBlock::kSoundRateIndexOffset, 1);
    const uint32_t bufferBytes = Pick(kSoundBufferSizes, ConfigBlock::kSoundBufferIndexOffset, 2);
    if (output_.Init(rate, WaveDriveMode::Pumped, bufferBytes) && pcmOut_.AttachOutput(output_) &&
        output_.Start())
    {
        return true;
    }
    pcmOut_.Close();
    output_.Shutdown();
    g_soundEnabled.store(false, std::memory_order_relaxed);
    return false;
}

bool SoundManager::StopOutput()
{
    if (!SoundOn())
    {
        return false;
    }
    output_.Stop();
    output_.ResetGraph();
    pcmOut_.Close();
    output_.Shutdown();
    return true;
}

void SoundManager::SuspendOutput()
{
    if (SoundOn())
    {
        output_.Stop();
    }
}

void SoundManager::ResumeOutput()
{
    if (SoundOn())
    {
        output_.Start();
    }
}

void SoundManager::HoldMixing(bool hold)
{
    if (SoundOn())
    {
        output_.Hold(hold);
    }
}

void SoundManager::ApplyVolume()
{
    if (SoundOn())
    {
        engineSampler_.SetGain(SettingsGain());
        effectSampler_.SetGain(SettingsGain());
    }
}

void SoundManager::LoadRaceSounds()
{
    if (!SoundOn() || raceSoundsLoaded_)
    {
        return;
    }
    engineSlotOwner_.fill(-1);
    riderAttackMs_.fill(0);
    riderGear_.fill(0);
    riders_.fill({});
    for (Sampler* sampler : {&engineSampler_, &effectSampler_})
    {
        sampler->Connect(output_);
        pcmOut_.Attach(sampler);
    }
    ApplyVolume();
    const auto bikeClass = static_cast<size_t>(g_bikeClass);
    LoadEngineBank(kEngineBanks[std::min<size_t>(bikeClass, 2)]);
    StartEventVoices();
    for (int slot = 0; slot < EngineVoiceCount(); ++slot)
    {
        if (bankLoaded_)
        {
            StartEngineLoops(slot);
        }
    }
    raceSoundsLoaded_ = true;
    recentEffects_.fill({});
    recentEffectIndex_ = 0;
}

void SoundManager::StartEngineLoops(int slot)
{
    slotStarted_[slot] = true;
    for (int loop = 0; loop < kEngineLoopsPlayed; ++loop)
    {
        engineSampler_.PlayLoopedSampleBuffer(bank_.engineLoops[loop], 0.0f, 0.0f, kStartPitch,
                                              2 * slot + loop);
    }
}

void SoundManager::ReleaseRaceSounds()
{
    if (!SoundOn() || !raceSoundsLoaded_)
    {
        return;
    }
    engineSampler_.Close();
    effectSampler_.Close();
    StopAllSamples();
    raceSoundsLoaded_ = false;
}

void SoundManager::StopAllSamples()
{
    for (SampleBuffer& loop : bank_.engineLoops)
    {
        loop.Free();
    }
    for (SampleBuffer& sound : bank_.eventSounds)
    {
        sound.Free();
    }
}

namespace
{
bool TakeImage(std::span<SampleBuffer> entries, size_t i, const Sampler& player,
               const std::vector<uint8_t>& image, bool interpolate)
{
    if (i >= entries.size() || player.IsConnected())
    {
        return false;
    }
    SampleBuffer& entry = entries[i];
    if (!entry.LoadFromMemory(image))
    {
        return false;
    }
    entry.SetInterleaved(interpolate);
    return true;
}

bool FreeEntry(std::span<SampleBuffer> entries, size_t i, const Sampler& player)
{
    if (i >= entries.size() || player.IsConnected())
    {
        return false;
    }
    entries[i].Free();
    return true;
}
}  // namespace

bool SoundManager::FreeEngineLoop(size_t i)
{
    return FreeEntry(bank_.engineLoops, i, engineSampler_);
}

bool SoundManager::FreeEventSound(size_t i)
{
    return FreeEntry(bank_.eventSounds, i, effectSampler_);
}

bool SoundManager::SetEngineLoopData(size_t i, std::vector<uint8_t> image)
{
    const bool interpolate = g_config.U8At(ConfigBlock::kSampleOptionOffset) != 0;
    return TakeImage(bank_.engineLoops, i, engineSampler_, image, interpolate);
}

bool SoundManager::SetEventSoundData(size_t i, std::vector<uint8_t> image)
{
    return TakeImage(bank_.eventSounds, i, effectSampler_, image, false);
}

bool SoundManager::LoadSampleFile(std::string_view name, SampleBuffer& sample) const
{
    DAFile file(g_archiveMenu);
    return sample.LoadFromMemory(ReadWhole(file, name));
}

bool SoundManager::PlaySampleRecord(const SampleRecord& record)
{
    return SoundOn() &&
           engineSampler_.PlaySampleBuffer(record.sample, record.volume * kSampleRecordScale,
                                           record.pan, record.pitch, Sampler::kPickVoice);
}

bool SoundManager::LoadEngineBank(std::string_view fileName)
{
    if (!SoundOn())
    {
        return false;
    }
    DAFile file(g_archiveMenu);
    const bool interpolate = g_config.U8At(ConfigBlock::kSampleOptionOffset) != 0;
    if (!LoadSoundBank(file, fileName, interpolate, bank_))
    {
        return false;
    }
    mixScale_ = bank_.mixScale;
    engineRpm_ = bank_.engineRpm;
    bankLoaded_ = true;
    return true;
}

void SoundManager::SetEngineSlot(int slot, bool on)
{
    if (!SoundOn() || slot < 0 || slot >= kEngineSlots)
    {
        return;
    }
    slotStarted_[slot] = on;
    if (on)
    {
        StartEngineLoops(slot);
    }
}

void SoundManager::RetriggerEngine(int slot)
{
    constexpr uint32_t kAttackSample = 3800;
    if (SoundOn() && slot >= 0 && slot < kEngineSlots)
    {
        engineSampler_.RestartSample(bank_.engineLoops[0], kAttackSample, 2 * slot);
    }
}

void SoundManager::SilenceEngineSlot(int slot)
{
    if (!SoundOn() || slot < 0 || slot >= kEngineSlots ||
        !engineSampler_.SetFirstEvent(2 * slot, kSamplerData, 0))
    {
        return;
    }
    engineSampler_.AddEvent(2 * slot, kSamplerStart, 0);
    engineSampler_.AddEvent(2 * slot + 1, kSamplerData, 0);
    engineSampler_.AddEvent(2 * slot + 1, kSamplerStart, 0);
    engineSampler_.EndEvents();
}

void SoundManager::LoadMenuSounds()
{
    if (!SoundOn() || menuSoundsLoaded_)
    {
        return;
    }
    engineSampler_.Connect(output_);
    pcmOut_.Attach(&engineSampler_);
    menuSoundsLoaded_ = true;
    ApplyVolume();
    DAFile file(g_archiveMenu);
    if (const std::optional<MenuSoundTable> table =
            ParseMenuSoundTable(ReadWhole(file, kMenuSoundFile)))
    {
        menuSounds_ = *table;
    }
    for (uint32_t sound = 1; sound <= menuSounds_.SoundCount(); ++sound)
    {
        LoadMenuSample(sound);
    }
}

// A sound file that is missing from a game without a menu archive may still lie beside it as
// ".tst": it takes the wanted name for the next run.
void SoundManager::LoadMenuSample(uint32_t sound)
{
    menuSamples_[sound].reset();
    const std::string& name = menuSounds_.files[sound];
    DAFile file(g_archiveMenu);
    const std::vector<uint8_t> image = ReadWhole(file, name);
    if (!image.empty())
    {
        auto sample = std::make_unique<SampleBuffer>();
        sample->LoadFromMemory(image);
        menuSamples_[sound] = std::move(sample);
        return;
    }
    if (g_archiveMenu == nullptr && name.size() >= 4)
    {
        const std::string spare = name.substr(0, name.size() - 4) + ".tst";
        if (files::IsFile(spare))
        {
            std::error_code ignored;
            std::filesystem::rename(files::Resolve(spare), files::Resolve(name), ignored);
        }
    }
}

void SoundManager::ReleaseMenuSounds()
{
    if (!SoundOn() || !menuSoundsLoaded_)
    {
        return;
    }
    StopAllSamples();
    engineSampler_.Close();
    menuSoundsLoaded_ = false;
    for (std::unique_ptr<SampleBuffer>& sample : menuSamples_)
    {
        sample.reset();
    }
}

bool SoundManager::HasMenuSample(uint32_t sound) const
{
    return sound <= menuSounds_.SoundCount() && menuSamples_[sound] != nullptr &&
           menuSamples_[sound]->HasData();
}

void SoundManager::PlayMenuSample(const SampleBuffer& sample, float volume, float pan, float pitch)
{
    if (SoundOn())
    {
        engineSampler_.PlaySampleBuffer(sample, volume * kMenuSampleBoost, pan, pitch,
                                        Sampler::kPickVoice);
    }
}

void SoundManager::PlayMenuSound(uint32_t button, bool highlighted)
{
    if (!SoundOn() || button >= MenuSoundTable::kButtonCount)
    {
        return;
    }
    const ButtonSoundEntry& entry = menuSounds_.buttons[button];
    const ButtonSound& sound = highlighted ? entry.highlighted : entry.pressed;
    if (sound.sound != 0 && HasMenuSample(sound.sound))
    {
        PlayMenuSample(*menuSamples_[sound.sound], sound.volume, 0.0f, sound.pitch);
    }
}
