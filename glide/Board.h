#pragma once

// The software board: everything the gr* calls act on. One instance for the process, as there
// is one board; main thread only.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "glide/Fog.h"
#include "glide/Glide.h"
#include "glide/GlideOptions.h"
#include "glide/GlidePresent.h"
#include "glide/Pipeline.h"
#include "glide/RenderQueue.h"
#include "glide/RenderState.h"
#include "glide/TextureUnit.h"

namespace glide
{

// Two page-flipped colour buffers and the depth buffer.
class FrameBuffers
{
public:
    void Open(int width, int height, int colourStrideBytes);
    void Close();
    bool IsOpen() const { return width_ > 0; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    int ColourStride() const { return colourStride_; }  // in pixels
    uint16_t* Back() { return colour_[back_].data(); }
    uint16_t* Front() { return colour_[1 - back_].data(); }
    uint16_t* Depth() { return depth_.data(); }
    void Swap() { back_ = 1 - back_; }

private:
    int width_ = 0;
    int height_ = 0;
    int colourStride_ = 0;
    int back_ = 0;
    std::vector<uint16_t> colour_[2];
    std::vector<uint16_t> depth_;
};

struct Board
{
    // Set by the host; kept across grGlideInit and grGlideShutdown.
    GlideOptions options;
    GlidePresentCallback present = nullptr;
    void* presentUser = nullptr;

    // The device, reset by grGlideInit.
    void* window = nullptr;
    bool presenting = true;
    bool lfbLocked = false;
    FrameBuffers buffers;
    RenderState state;
    TextureUnit textures;
    GlideSpanRoutines spanRoutines = GlideSpanRoutines::Fastest;  // from the options at init

    // What the drawing calls use: the last is the current state's, rebuilt after any change of
    // the above; queued triangles hold on to earlier ones until they are drawn.
    bool pipelineStale = true;
    // The fog of the state's fog table by depth value; made when a pipeline first needs it.
    std::shared_ptr<const FogByDepth> fogByDepth;
    std::deque<Pipeline> pipelines;
    RenderQueue queue;
};

Board& TheBoard();

// The clip window as far as it lies on the buffers; never min > max.
inline ClipWindow VisibleClip(Board& board)
{
    const ClipWindow& clip = board.state.clip;
    const int maxX = std::min(clip.maxX, board.buffers.Width());
    const int maxY = std::min(clip.maxY, board.buffers.Height());
    return {std::min(clip.minX, maxX), std::min(clip.minY, maxY), maxX, maxY};
}

// Every setter that changes what pixels the primitives produce calls this.
inline void StateChanged()
{
    TheBoard().pipelineStale = true;
}

// The pipeline for the current state and back buffer.
const Pipeline& CurrentPipeline();

// Draws all queued clears and triangles. Everything that reads or changes what they use (the
// buffers, texture memory, the palette) calls this first.
void FinishDrawing();

}  // namespace glide
