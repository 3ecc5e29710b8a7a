#include "sound/TrackFileCd.h"

#include <algorithm>
#include <cstdio>

#include "core/files/FileSystem.h"
#include "core/util/LittleEndian.h"
#include "platform/Platform.h"

namespace
{
constexpr uint32_t kBytesPerFrame = 4;  // 16-bit stereo
constexpr uint32_t kMaxTracks = 99;
constexpr uint32_t kOutputFrames = 2048;

bool IsDiscFormat(const WaveFormat& format)
{
    return format.channels == 2 && format.bitsPerSample == 16 &&
           format.sampleRate == TrackFileCd::kSampleRate;
}

uint64_t PositionBytes(const TrackPosition& position)
{
    const uint64_t frames =
        (uint64_t{position.minutes} * 60 + position.seconds) * TrackFileCd::kSampleRate +
        uint64_t{position.frames} * TrackFileCd::kSampleRate / TrackFileCd::kFramesPerSecond;
    return frames * kBytesPerFrame;
}
}  // namespace

TrackFileCd::~TrackFileCd()
{
    output_.reset();  // no more pulls before the track goes
}

std::string TrackFileCd::TrackFileName(uint32_t track) const
{
    char name[16];
    std::snprintf(name, sizeof name, "track%02u.wav", track);
    return folder_ + "/" + name;
}

bool TrackFileCd::Open()
{
    open_ = files::IsDirectory(folder_);
    trackFormat_ = false;
    return open_;
}

void TrackFileCd::Close()
{
    open_ = false;
}

// The output goes with the music, outside the play lock: closing it waits for a pull.
bool TrackFileCd::Stop()
{
    {
        const std::lock_guard lock(playMutex_);
        track_.Close();
        bytesLeft_ = 0;
    }
    output_.reset();
    return open_;
}

std::optional<uint32_t> TrackFileCd::TrackCount()
{
    if (!open_)
    {
        return std::nullopt;
    }
    uint32_t count = kDataTrack;
    while (count < kMaxTracks && files::IsFile(TrackFileName(count + 1)))
    {
        ++count;
    }
    return count;
}

std::optional<DiscLength> TrackFileCd::TrackLength(uint32_t track)
{
    if (!open_)
    {
        return std::nullopt;
    }
    if (track == kDataTrack)
    {
        return DiscLength{};
    }
    WaveFile file;
    if (!file.Open(TrackFileName(track)) || !IsDiscFormat(file.Format()))
    {
        return std::nullopt;
    }
    const uint32_t frames = file.DataBytes() / kBytesPerFrame;
    const uint32_t seconds = frames / kSampleRate;
    return DiscLength{seconds / 60, seconds % 60,
                      frames % kSampleRate * kFramesPerSecond / kSampleRate};
}

bool TrackFileCd::SetTrackTimeFormat()
{
    trackFormat_ = open_;
    return trackFormat_;
}

bool TrackFileCd::Play(const TrackPosition& from, const TrackPosition& to)
{
    if (!open_ || !trackFormat_ || from.track == kDataTrack || from.track != to.track)
    {
        return false;
    }
    WaveFile track;
    if (!track.Open(TrackFileName(from.track)) || !IsDiscFormat(track.Format()))
    {
        return false;
    }
    const uint64_t start = PositionBytes(from);
    const uint64_t end = std::min<uint64_t>(PositionBytes(to), track.DataBytes());
    std::vector<uint8_t> skipped(static_cast<size_t>(std::min<uint64_t>(start, end)));
    track.Read(skipped);
    {
        const std::lock_guard lock(playMutex_);
        track_ = std::move(track);
        bytesLeft_ = end > start ? end - start : 0;
    }
    // The track is in place before the output first pulls.
    if (!EnsureOutput())
    {
        Stop();
        return false;
    }
    return true;
}

bool TrackFileCd::IsPlaying() const
{
    const std::lock_guard lock(playMutex_);
    return bytesLeft_ > 0;
}

// Opened outside the play lock: the output's thread takes that lock while it pulls.
bool TrackFileCd::EnsureOutput()
{
    if (!output_)
    {
        output_ = CurrentPlatform().OpenAudioStream(
            {kSampleRate, kOutputFrames}, [this](std::span<int16_t> samples) { Fill(samples); });
    }
    return output_ != nullptr;
}

// The track up to its end position, then silence; a file that ends early ends the track.
void TrackFileCd::Fill(std::span<int16_t> samples)
{
    const std::lock_guard lock(playMutex_);
    const size_t wanted =
        std::min<uint64_t>(samples.size_bytes(), bytesLeft_) / kBytesPerFrame * kBytesPerFrame;
    readBuffer_.resize(wanted);
    const size_t read = track_.Read(readBuffer_) / kBytesPerFrame * kBytesPerFrame;
    for (size_t i = 0; i < read / 2; ++i)
    {
        samples[i] = static_cast<int16_t>(LoadLe16(readBuffer_.data() + 2 * i));
    }
    std::fill(samples.begin() + static_cast<ptrdiff_t>(read / 2), samples.end(), int16_t{0});
    bytesLeft_ = read < wanted ? 0 : bytesLeft_ - read;
    if (bytesLeft_ == 0)
    {
        track_.Close();
    }
}
