#pragma once

// The demo installation's music and menu sounds, synthesised: the audio-CD stand-in's tracks
// 2 to 7 ("cdaudio/track02.wav" ...: short tunes of plain tones, 16-bit stereo at 44100 Hz) and
// "sound/menusounds.dat" with a hover and a click sound for every menu button.

#include <cstdint>
#include <string>
#include <vector>

#include "kit/CprWriter.h"
#include "sound/MenuSoundTable.h"

namespace kit
{
inline constexpr uint32_t kFirstDemoTrack = 2;
inline constexpr uint32_t kLastDemoTrack = 7;
inline constexpr const char* kDemoTrackFolder = "cdaudio";

// A WAVE file of the track: seconds long, the tune depending on the track number.
std::vector<uint8_t> DemoTrack(uint32_t track, uint32_t seconds);
// The track files into the installation's folder.
bool WriteDemoMusic(const std::string& directory, std::string& error);

MenuSoundTable DemoMenuSoundTable();
// The table and its two sounds into the menu archive.
bool AddDemoMenuSounds(CprWriter& menuArchive, std::string& error);
}  // namespace kit
