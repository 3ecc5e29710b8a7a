#pragma once

// Clears and triangles wait here until something needs their pixels: a swap, a frame-buffer
// lock, a line, a texture or palette download, or the screen closing. Then they are drawn band
// by band: the screen is cut into bands of 8 rows, which the worker pool takes one after the
// other, and each band gets all the queued work that reaches it, in order, while its rows are
// in the cache. Each pixel thus sees the clears and triangles in the order they came, and the
// picture does not depend on the number of workers or on which worker draws which band.

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "glide/RenderState.h"
#include "glide/TriangleSetup.h"
#include "glide/WorkerPool.h"

namespace glide
{

// A buffer clear inside a window: colour and depth each written or not.
struct ClearSetup
{
    ClipWindow area;
    uint16_t* colour = nullptr;  // null: colour kept
    int colourStride = 0;        // in pixels
    uint16_t colourValue = 0;
    uint16_t* depth = nullptr;  // null: depth kept
    int depthStride = 0;
    uint16_t depthValue = 0;
};

class RenderQueue
{
public:
    void Add(const TriangleSetup& triangle);
    void Add(const ClearSetup& clear);
    bool Empty() const { return order_.empty(); }

    // Threads to draw with, the caller's included; 0 = one per processor. The workers start
    // when there is first enough work to share.
    void SetThreads(int threads);

    // Draws everything queued and empties the queue. Little work is drawn on the calling
    // thread alone, in order, as cutting it up would cost more.
    void Draw();

private:
    // An entry of the drawing order: a triangle, or with kClear set a clear, by index.
    static constexpr uint32_t kClear = 0x80000000u;

    void DrawEntry(uint32_t entry, int rowBegin, int rowEnd) const;
    void DrawBand(int band) const;

    std::vector<TriangleSetup> triangles_;
    std::vector<ClearSetup> clears_;
    std::vector<uint32_t> order_;
    int lastRow_ = -1;           // of all queued work
    int64_t pixelEstimate_ = 0;  // bounding rows x width, summed
    // Per band, the entries that reach it, in order (filled when drawing).
    std::vector<std::vector<uint32_t>> bands_;
    std::atomic<int> nextBand_{0};
    int threads_ = 0;
    std::unique_ptr<WorkerPool> pool_;
};

}  // namespace glide
