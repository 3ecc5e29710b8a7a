#include "kit/sound/DemoMusic.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "core/files/FileSystem.h"
#include "kit/sound/DemoSounds.h"
#include "kit/sound/WaveWriter.h"
#include "sound/SoundManager.h"

namespace kit
{
namespace
{
constexpr uint32_t kTrackRate = 44100;
constexpr uint32_t kTrackSeconds = 3;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr const char* kHoverSound = "sound/hover.wav";
constexpr const char* kClickSound = "sound/click.wav";

// Semitones above 220 Hz of the notes of each tune; a note every quarter second.
constexpr int kTunes[6][8] = {
    {0, 4, 7, 12, 7, 4, 0, -5}, {0, 2, 4, 5, 7, 9, 11, 12}, {12, 7, 4, 0, 4, 7, 12, 16},
    {0, 3, 7, 10, 7, 3, 0, 3},  {0, 7, 5, 7, 0, 7, 5, 12},  {5, 9, 12, 9, 5, 0, 5, 9},
};

double NoteHz(int semitones)
{
    return 220.0 * std::pow(2.0, semitones / 12.0);
}

// A plain tone with a short fade at both ends, so that notes join without clicks.
std::vector<int16_t> Tone(double hz, uint32_t samples, uint32_t rate, double amplitude)
{
    std::vector<int16_t> tone(samples);
    const uint32_t fade = std::min<uint32_t>(samples / 4, rate / 200);
    for (uint32_t i = 0; i < samples; ++i)
    {
        const double edge = std::min({1.0, double(i) / fade, double(samples - i) / fade});
        tone[i] = static_cast<int16_t>(amplitude * edge * std::sin(kTwoPi * hz * i / rate));
    }
    return tone;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    if (!files::ReplaceAtomically(path, bytes))
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
}  // namespace

std::vector<uint8_t> DemoTrack(uint32_t track, uint32_t seconds)
{
    const int* tune = kTunes[(track - kFirstDemoTrack) % 6];
    constexpr uint32_t kNoteSamples = kTrackRate / 4;
    std::vector<int16_t> frames;
    frames.reserve(size_t{seconds} * kTrackRate * 2);
    for (uint32_t note = 0; note < seconds * 4; ++note)
    {
        const std::vector<int16_t> melody =
            Tone(NoteHz(tune[note % 8]), kNoteSamples, kTrackRate, 6000.0);
        const std::vector<int16_t> bass =
            Tone(NoteHz(tune[note / 4 % 8 & ~1] - 12), kNoteSamples, kTrackRate, 4000.0);
        for (uint32_t i = 0; i < kNoteSamples; ++i)
        {
            frames.push_back(static_cast<int16_t>(melody[i] + bass[i] / 2));
            frames.push_back(static_cast<int16_t>(melody[i] / 2 + bass[i]));
        }
    }
    return BuildWaveImage(frames, kTrackRate, 2);
}

bool WriteDemoMusic(const std::string& directory, std::string& error)
{
    const std::string folder = directory + "/" + kDemoTrackFolder;
    if (!files::MakeDirectories(folder))
    {
        error = "cannot create " + folder;
        return false;
    }
    for (uint32_t track = kFirstDemoTrack; track <= kLastDemoTrack; ++track)
    {
        char name[16];
        std::snprintf(name, sizeof name, "/track%02u.wav", track);
        if (!WriteFile(folder + name, DemoTrack(track, kTrackSeconds), error))
        {
            return false;
        }
    }
    return true;
}

MenuSoundTable DemoMenuSoundTable()
{
    MenuSoundTable table;
    table.files = {"", kHoverSound, kClickSound};
    for (ButtonSoundEntry& entry : table.buttons)
    {
        entry = {{1, static_cast<float>(kDemoSoundRate), 0.5f},
                 {2, static_cast<float>(kDemoSoundRate), 0.8f}};
    }
    return table;
}

bool AddDemoMenuSounds(CprWriter& menuArchive, std::string& error)
{
    const std::vector<int16_t> hover =
        Tone(NoteHz(24), kDemoSoundRate / 20, kDemoSoundRate, 9000.0);
    const std::vector<int16_t> click =
        Tone(NoteHz(12), kDemoSoundRate / 30, kDemoSoundRate, 14000.0);
    return menuArchive.Add(SoundManager::kMenuSoundFile, BuildMenuSoundTable(DemoMenuSoundTable()),
                           MemberStorage::Smaller, error) &&
           menuArchive.Add(kHoverSound, BuildWaveImage(hover, kDemoSoundRate),
                           MemberStorage::Smaller, error) &&
           menuArchive.Add(kClickSound, BuildWaveImage(click, kDemoSoundRate),
                           MemberStorage::Smaller, error);
}
}  // namespace kit
