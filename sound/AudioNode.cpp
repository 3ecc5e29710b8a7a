#include "sound/AudioNode.h"

#include <algorithm>

bool AudioNode::Calculate(const AudioBlock& block)
{
    const std::lock_guard lock(nodeMutex_);
    if (childCount_ == 0 || ownBlock_.samples == nullptr)
    {
        noInput_ = true;
        return false;
    }
    ownBlock_.frames = block.frames;
    ownBlock_.timeMs = block.timeMs;
    ownBlock_.clear = true;
    children_[0]->Calculate(ownBlock_);
    ownBlock_.clear = false;
    for (int i = 1; i < childCount_; ++i)
    {
        children_[i]->Calculate(ownBlock_);
    }
    noInput_ = false;
    return true;
}

void AudioNode::Reset()
{
    const std::lock_guard lock(nodeMutex_);
    for (int i = 0; i < childCount_; ++i)
    {
        children_[i]->Reset();
    }
}

void AudioNode::Close()
{
    // Leaving the parent first waits for a mix that runs through it and keeps every later
    // one away, without holding this node's lock inside the parent's.
    if (parent_ != nullptr)
    {
        parent_->Detach(this);
    }
    const std::lock_guard lock(nodeMutex_);
    const std::array<AudioNode*, kMaxChildren> children = children_;
    const int count = childCount_;
    children_.fill(nullptr);
    childCount_ = 0;
    for (int i = 0; i < count; ++i)
    {
        children[i]->parent_ = nullptr;
        children[i]->Close();
    }
}

bool AudioNode::Attach(AudioNode* child)
{
    if (child == nullptr || !IsAttachable(child->Type()))
    {
        return false;
    }
    const std::lock_guard lock(nodeMutex_);
    if (childCount_ == kMaxChildren)
    {
        return false;
    }
    children_[childCount_++] = child;
    child->parent_ = this;
    return true;
}

bool AudioNode::Detach(AudioNode* child)
{
    if (child == nullptr || !IsAttachable(child->Type()))
    {
        return false;
    }
    const std::lock_guard lock(nodeMutex_);
    const auto end = children_.begin() + childCount_;
    const auto found = std::find(children_.begin(), end, child);
    if (found == end)
    {
        return false;
    }
    std::copy(found + 1, end, found);
    children_[--childCount_] = nullptr;
    child->parent_ = nullptr;
    return true;
}

bool AudioNode::Lock()
{
    nodeMutex_.lock();
    lockOwner_.store(std::this_thread::get_id(), std::memory_order_relaxed);
    ++lockDepth_;
    return true;
}

bool AudioNode::Unlock()
{
    if (lockOwner_.load(std::memory_order_relaxed) != std::this_thread::get_id())
    {
        return false;
    }
    if (--lockDepth_ == 0)
    {
        lockOwner_.store(std::thread::id(), std::memory_order_relaxed);
    }
    nodeMutex_.unlock();
    return true;
}

void AudioNode::ClearChildren()
{
    const std::lock_guard lock(nodeMutex_);
    for (int i = 0; i < childCount_; ++i)
    {
        children_[i]->parent_ = nullptr;
        children_[i] = nullptr;
    }
    childCount_ = 0;
}

int AudioNode::ChildCount() const
{
    const std::lock_guard lock(nodeMutex_);
    return childCount_;
}

AudioNode* AudioNode::Child(int index) const
{
    const std::lock_guard lock(nodeMutex_);
    return index >= 0 && index < childCount_ ? children_[index] : nullptr;
}

bool AudioNode::HasNoInput() const
{
    const std::lock_guard lock(nodeMutex_);
    return noInput_;
}

bool AudioNode::IsAttachable(AudioNodeType type)
{
    return type != AudioNodeType::PcmOutput;
}

void AudioNode::SetInputBlock(float* samples)
{
    const std::lock_guard lock(nodeMutex_);
    ownBlock_.samples = samples;
}
