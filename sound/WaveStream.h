#pragma once

// A node that plays a 16-bit stereo PCM WAVE file from the disk as a stream, over and over: a
// fill thread reads the file in pieces into a 64 KiB ring, and the block processor mixes from
// the ring into the caller's block at the stream's pitch, volume and pan, which time-stamped
// commands change as the sampler's events do. Nothing in the game builds one.
//
// Threads: commands and opening from the main thread, Calculate on the output's thread, the
// ring filled on the stream's own thread; the stream's lock guards the ring and the file, and
// every block wakes the fill thread.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "sound/AudioNode.h"
#include "sound/WaveFile.h"

class WaveOutput;

enum WaveStreamOpcode : uint32_t
{
    kStreamTimeStamp = 0,  // stream ms
    kStreamVolume = 1,     // f32
    kStreamPitch = 2,      // f32 Hz
    kStreamPan = 3,        // f32, -1 left .. +1 right
};

class WaveStream final : public AudioNode
{
public:
    static constexpr uint32_t kRingBytes = 65536;
    static constexpr uint32_t kCommandWords = 4096;

    WaveStream() : AudioNode(AudioNodeType::WaveStream) {}
    ~WaveStream() override;

    // Starts the fill thread. False when the output is not initialised or the stream has one.
    bool Init(WaveOutput& output);
    // False, and nothing open, when a file is open already or this one is no 16-bit stereo
    // PCM WAVE file. Plays at the file's own rate, full volume, centred, from now on.
    bool OpenFile(std::string_view gamePath);
    void CloseFile();
    // A command at the output's play position; false when it does not fit or is unknown.
    bool PostCommand(uint32_t opcode, uint32_t operand);
    bool Calculate(const AudioBlock& block) override;
    // Leaves the graph, ends the fill thread and closes the file.
    void Close() override;

    // Frames in the ring not yet played.
    uint32_t BufferedFrames() const;

private:
    static constexpr uint32_t kRingFrames = kRingBytes / 4;

    void RunFillThread();
    void FillBuffer();
    void RunCommands(const AudioBlock& block, float* out, uint32_t& framesLeft);
    void MixFrames(float* out, uint32_t frames);
    void RunCommand(uint32_t opcode, uint32_t operand);
    void StopFillThread();

    WaveOutput* output_ = nullptr;
    std::thread fillThread_;
    std::condition_variable fillWanted_;
    bool fillSignalled_ = false;
    bool stopFilling_ = false;

    mutable std::mutex streamMutex_;
    WaveFile file_;
    std::vector<int16_t> ring_;  // stereo frames
    uint32_t fillFrame_ = 0;     // where the next frame read lands
    uint32_t buffered_ = 0;      // frames filled and not yet played
    uint32_t position_ = 0;      // 8.8 frames into the ring
    uint32_t step_ = 256;
    float rate_ = 0.0f;
    float volume_ = 1.0f;
    float pan_ = 0.0f;
    float leftGain_ = 0.5f;
    float rightGain_ = 0.5f;
    std::unique_ptr<uint32_t[]> commands_;
    uint32_t readIndex_ = 0;
    uint32_t pending_ = 0;
};
