#include "glide/RenderQueue.h"

#include <algorithm>
#include <cstring>

namespace glide
{
namespace
{

constexpr int kBandRows = 8;
constexpr int kMaxThreads = 64;
constexpr int64_t kPixelsWorthBanding = 32 * 1024;

// std::fill of 16-bit words stays one store a pixel at this optimisation level; four at a
// time through 64-bit words.
void FillRow(uint16_t* begin, uint16_t* end, uint16_t value)
{
    const uint64_t four = value * 0x0001000100010001ull;
    for (; end - begin >= 4; begin += 4)
    {
        std::memcpy(begin, &four, sizeof four);
    }
    std::fill(begin, end, value);
}

void DrawClearRows(const ClearSetup& clear, int rowBegin, int rowEnd)
{
    const int first = std::max(rowBegin, clear.area.minY);
    const int last = std::min(rowEnd, clear.area.maxY);
    for (int y = first; y < last; ++y)
    {
        if (clear.colour != nullptr)
        {
            uint16_t* row = clear.colour + static_cast<std::ptrdiff_t>(y) * clear.colourStride;
            FillRow(row + clear.area.minX, row + clear.area.maxX, clear.colourValue);
        }
        if (clear.depth != nullptr)
        {
            uint16_t* row = clear.depth + static_cast<std::ptrdiff_t>(y) * clear.depthStride;
            FillRow(row + clear.area.minX, row + clear.area.maxX, clear.depthValue);
        }
    }
}

}  // namespace

void RenderQueue::Add(const TriangleSetup& triangle)
{
    order_.push_back(static_cast<uint32_t>(triangles_.size()));
    triangles_.push_back(triangle);
    lastRow_ = std::max(lastRow_, triangle.lastRow);
    pixelEstimate_ +=
        int64_t{triangle.lastRow - triangle.firstRow + 1} * (triangle.maxX - triangle.minX);
}

void RenderQueue::Add(const ClearSetup& clear)
{
    if (clear.area.minX >= clear.area.maxX || clear.area.minY >= clear.area.maxY)
    {
        return;
    }
    order_.push_back(kClear | static_cast<uint32_t>(clears_.size()));
    clears_.push_back(clear);
    lastRow_ = std::max(lastRow_, clear.area.maxY - 1);
    pixelEstimate_ +=
        int64_t{clear.area.maxY - clear.area.minY} * (clear.area.maxX - clear.area.minX);
}

void RenderQueue::DrawEntry(uint32_t entry, int rowBegin, int rowEnd) const
{
    if ((entry & kClear) != 0)
    {
        DrawClearRows(clears_[entry & ~kClear], rowBegin, rowEnd);
    }
    else
    {
        DrawTriangleRows(triangles_[entry], rowBegin, rowEnd);
    }
}

void RenderQueue::DrawBand(int band) const
{
    for (const uint32_t entry : bands_[band])
    {
        DrawEntry(entry, band * kBandRows, (band + 1) * kBandRows);
    }
}

void RenderQueue::SetThreads(int threads)
{
    if (threads != threads_)
    {
        threads_ = threads;
        pool_.reset();
    }
}

void RenderQueue::Draw()
{
    if (order_.empty())
    {
        return;
    }
    if (pixelEstimate_ < kPixelsWorthBanding)
    {
        for (const uint32_t entry : order_)
        {
            DrawEntry(entry, 0, lastRow_ + 1);
        }
    }
    else
    {
        const int bandCount = lastRow_ / kBandRows + 1;
        if (static_cast<int>(bands_.size()) < bandCount)
        {
            bands_.resize(bandCount);
        }
        for (const uint32_t entry : order_)
        {
            int firstRow = 0, lastRow = 0;
            if ((entry & kClear) != 0)
            {
                firstRow = clears_[entry & ~kClear].area.minY;
                lastRow = clears_[entry & ~kClear].area.maxY - 1;
            }
            else
            {
                firstRow = triangles_[entry].firstRow;
                lastRow = triangles_[entry].lastRow;
            }
            for (int band = firstRow / kBandRows; band <= lastRow / kBandRows; ++band)
            {
                bands_[band].push_back(entry);
            }
        }
        if (!pool_)
        {
            const int threads = threads_ > 0 ? threads_ : UsableProcessors();
            pool_ = std::make_unique<WorkerPool>(std::clamp(threads, 1, kMaxThreads));
        }
        nextBand_.store(0, std::memory_order_relaxed);
        pool_->Run(
            [this, bandCount]
            {
                for (int band = nextBand_.fetch_add(1, std::memory_order_relaxed); band < bandCount;
                     band = nextBand_.fetch_add(1, std::memory_order_relaxed))
                {
                    DrawBand(band);
                }
            });
        for (std::vector<uint32_t>& band : bands_)
        {
            band.clear();
        }
    }
    triangles_.clear();
    clears_.clear();
    order_.clear();
    lastRow_ = -1;
    pixelEstimate_ = 0;
}

}  // namespace glide
