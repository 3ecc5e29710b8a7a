// Polygons: convex fans (v0, vi, vi+1), set up now and drawn with the queue.

#include <cassert>

#include "glide/Board.h"
#include "glide/Glide.h"
#include "glide/TriangleSetup.h"

void grDrawPolygonVertexList(int count, const GrVertex* vertices)
{
    glide::Board& board = glide::TheBoard();
    assert(!board.lfbLocked && "drawing while the frame buffer is locked");
    if (vertices == nullptr || count < 3 || !board.buffers.IsOpen())
    {
        return;
    }
    const glide::Pipeline& pipeline = glide::CurrentPipeline();
    const glide::ClipWindow clip = glide::VisibleClip(board);
    glide::TriangleSetup triangle;
    for (int i = 1; i + 1 < count; ++i)
    {
        if (glide::SetUpTriangle(pipeline, clip, vertices[0], vertices[i], vertices[i + 1],
                                 triangle))
        {
            board.queue.Add(triangle);
        }
    }
}
