// Board, window, buffers and presentation.

#include <algorithm>
#include <cassert>

#include "glide/Board.h"
#include "glide/Colour.h"
#include "glide/Glide.h"
#include "glide/GlideOptions.h"
#include "glide/GlidePresent.h"

namespace
{

struct ScreenSize
{
    int width;
    int height;
};
constexpr ScreenSize kResolutions[] = {{512, 384}, {640, 480},  {800, 600},   {960, 720},
                                       {856, 480}, {1024, 768}, {1280, 1024}, {1600, 1200}};
constexpr int kRefreshRates = 9;

// The four- and eight-pixel span routines never reach past a row's last pixel because of this.
constexpr bool WidthsAreMultiplesOfEight()
{
    for (const ScreenSize& size : kResolutions)
    {
        if (size.width % 8 != 0)
        {
            return false;
        }
    }
    return true;
}
static_assert(WidthsAreMultiplesOfEight());

void ResetDevice(glide::Board& board, uint32_t textureMemoryMin, uint32_t textureMemoryMax)
{
    glide::FinishDrawing();
    board.queue.SetThreads(board.options.threads);
    board.spanRoutines = board.options.spanRoutines;
    board.pipelines.clear();
    board.window = nullptr;
    board.presenting = true;
    board.lfbLocked = false;
    board.buffers.Close();
    board.state = glide::RenderState{};
    board.fogByDepth = nullptr;
    board.textures.Reset(textureMemoryMin, textureMemoryMax);
    glide::StateChanged();
}

bool QueryBoards(GrHwConfiguration* hw)
{
    const GlideOptions& options = glide::TheBoard().options;
    if (hw == nullptr || options.queryFails)
    {
        return false;
    }
    hw->num_sst = options.boardCount;
    return true;
}

}  // namespace

void SetGlideOptions(const GlideOptions& options)
{
    glide::TheBoard().options = options;
}

void SetPresentCallback(GlidePresentCallback callback, void* user)
{
    glide::Board& board = glide::TheBoard();
    board.present = callback;
    board.presentUser = user;
}

void grGlideInit()
{
    glide::Board& board = glide::TheBoard();
    ResetDevice(board, board.options.textureMemoryMin, board.options.textureMemoryMax);
}

bool grSstQueryBoards(GrHwConfiguration* hw)
{
    return QueryBoards(hw);
}

bool grSstQueryHardware(GrHwConfiguration* hw)
{
    return QueryBoards(hw);
}

void grSstSelect(int /*which: there is one board*/) {}

bool grSstWinOpen(void* window, GrScreenResolution resolution, GrScreenRefresh refresh,
                  GrColorFormat format, GrOriginLocation origin, int colourBuffers, int auxBuffers)
{
    glide::Board& board = glide::TheBoard();
    const int mode = static_cast<int>(resolution);
    const int rate = static_cast<int>(refresh);
    if (board.options.boardCount < 1 || mode < 0 ||
        mode >= static_cast<int>(std::size(kResolutions)) || rate < 0 || rate >= kRefreshRates ||
        format != GrColorFormat::Abgr || origin != GrOriginLocation::UpperLeft ||
        colourBuffers != 2 || auxBuffers != 1)
    {
        return false;
    }
    glide::FinishDrawing();
    const ScreenSize size = kResolutions[mode];
    board.window = window;
    board.presenting = true;
    board.lfbLocked = false;
    board.buffers.Open(
        size.width, size.height,
        static_cast<int>(std::min<uint32_t>(board.options.colourStrideBytes, 1u << 20)));
    board.state.clip = {0, 0, size.width, size.height};
    glide::StateChanged();
    return true;
}

void grSstWinClose()
{
    glide::FinishDrawing();
    glide::Board& board = glide::TheBoard();
    board.window = nullptr;
    board.lfbLocked = false;
    board.buffers.Close();
    glide::StateChanged();
}

void grSstControl(GrControl code)
{
    glide::TheBoard().presenting = code != GrControl::Deactivate;
}

void grGlideShutdown()
{
    ResetDevice(glide::TheBoard(), 0, 0);
}

void grSstIdle() {}

void grBufferClear(GrColor colour, GrAlpha /*alpha: there is no alpha buffer*/, uint16_t depth)
{
    glide::Board& board = glide::TheBoard();
    assert(!board.lfbLocked && "drawing while the frame buffer is locked");
    if (!board.buffers.IsOpen())
    {
        return;
    }
    glide::ClearSetup clear;
    clear.area = glide::VisibleClip(board);
    if (board.state.colourWrite)
    {
        clear.colour = board.buffers.Back();
        clear.colourStride = board.buffers.ColourStride();
        clear.colourValue = glide::Pack565(glide::AbgrToArgb(colour));
    }
    if (board.state.depthWrite)
    {
        clear.depth = board.buffers.Depth();
        clear.depthStride = board.buffers.Width();
        clear.depthValue = depth;
    }
    board.queue.Add(clear);
}

void grBufferSwap(int /*swapInterval: the host's presentation keeps to the retrace*/)
{
    glide::Board& board = glide::TheBoard();
    if (!board.buffers.IsOpen())
    {
        return;
    }
    glide::FinishDrawing();
    board.buffers.Swap();
    glide::StateChanged();
    if (board.presenting && board.present != nullptr)
    {
        GlideFrame frame;
        frame.pixels = board.buffers.Front();
        frame.width = board.buffers.Width();
        frame.height = board.buffers.Height();
        frame.pitchBytes = board.buffers.ColourStride() * 2;
        frame.gamma = board.state.gamma;
        board.present(frame, board.presentUser);
    }
}

void grClipWindow(uint32_t minX, uint32_t minY, uint32_t maxX, uint32_t maxY)
{
    const auto toInt = [](uint32_t value) { return static_cast<int>(std::min(value, 0xFFFFu)); };
    glide::TheBoard().state.clip = {toInt(minX), toInt(minY), toInt(maxX), toInt(maxY)};
}
