#pragma once

// A node of the software sound graph. Once per output buffer the output asks its root for
// the next block; every node first lets its children produce into its own float block (the
// first child overwrites, the others add) and then does its own work on the caller's block.
//
// Samples are floats on the 16-bit scale (full scale 32767), stereo interleaved.
//
// Threads: Calculate runs on the thread that pumps the output; Attach, Detach, Reset and
// Close belong to the main thread. The node lock serialises them and is always taken parent
// before child: Close leaves the parent before it takes its own lock.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

enum class AudioNodeType : uint32_t
{
    Sampler = 1,
    Echo = 2,
    PcmOutput = 3,
    Mixer = 4,
    WaveStream = 5,
};

// What a node is asked to produce.
struct AudioBlock
{
    float* samples = nullptr;  // frames x 2 floats
    int16_t* pcm = nullptr;    // the root's block only: frames x 2 output samples
    uint32_t frames = 0;
    bool clear = true;    // overwrite the block, or add into it
    uint32_t timeMs = 0;  // stream time of the block's start
};

class AudioNode
{
public:
    static constexpr int kMaxChildren = 4;

    explicit AudioNode(AudioNodeType type) : type_(type) {}
    virtual ~AudioNode() = default;
    AudioNode(const AudioNode&) = delete;
    AudioNode& operator=(const AudioNode&) = delete;

    // Runs the children into the node's own block. False when there are none, or no block
    // for them yet.
    virtual bool Calculate(const AudioBlock& block);
    virtual void Reset();
    // Leaves the parent and closes every child.
    virtual void Close();

    // Refuses an output node and a fifth child.
    bool Attach(AudioNode* child);
    bool Detach(AudioNode* child);
    // Forgets the children without closing them.
    void ClearChildren();
    // Names the parent without joining its children; Close then leaves it as it leaves any.
    void SetParent(AudioNode* parent) { parent_ = parent; }
    // Holds the node lock across calls, nesting on one thread; true. Unlock gives up one Lock
    // and is false on a thread that holds none.
    bool Lock();
    bool Unlock();
    int LockDepth() const { return lockDepth_; }

    AudioNodeType Type() const { return type_; }
    AudioNode* Parent() const { return parent_; }
    int ChildCount() const;
    AudioNode* Child(int index) const;
    // Whether the latest Calculate found no children.
    bool HasNoInput() const;

protected:
    static bool IsAttachable(AudioNodeType type);

    // Where the children produce; set by nodes that have children.
    void SetInputBlock(float* samples);

    mutable std::recursive_mutex nodeMutex_;

private:
    const AudioNodeType type_;
    AudioBlock ownBlock_;
    bool noInput_ = false;
    AudioNode* parent_ = nullptr;  // main thread only
    std::array<AudioNode*, kMaxChildren> children_{};
    int childCount_ = 0;
    // Of Lock alone: changed only by the thread that holds the lock.
    std::atomic<std::thread::id> lockOwner_{};
    int lockDepth_ = 0;
};
