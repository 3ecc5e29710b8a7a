#include "app/device/DirtyRectList.h"

#include <algorithm>

#include "app/debug/Trace.h"

namespace
{
bool OverlapsVertically(const ScreenRect& stored, int32_t top, int32_t bottom)
{
    return stored.top < bottom && stored.bottom > top;
}

bool OverlapsHorizontally(const ScreenRect& stored, int32_t left, int32_t right)
{
    return stored.right > left && stored.left < right;
}
}  // namespace

void DirtyRectList::Add(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (left >= right || top >= bottom)
    {
        return;
    }
    // Each pass either cuts a piece off the rectangle (added on its own) or stores what is
    // left; a cut never empties the rectangle, so the loop ends.
    for (;;)
    {
        if (count_ == kCapacity)
        {
            ReplaceByBounds({left, top, right, bottom});
            return;
        }
        bool cut = false;
        for (int32_t i = 0; i < count_ && !cut; ++i)
        {
            const ScreenRect stored = rects_[i];
            if (left < stored.right && stored.right < right &&
                OverlapsVertically(stored, top, bottom))
            {
                Add(stored.right, top, right, bottom);
                right = stored.right;
                cut = true;
            }
            else if (left < stored.left && stored.left < right &&
                     OverlapsVertically(stored, top, bottom))
            {
                Add(stored.left, top, right, bottom);
                right = stored.left;
                cut = true;
            }
            else if (top < stored.top && stored.top < bottom &&
                     OverlapsHorizontally(stored, left, right))
            {
                Add(left, stored.top, right, bottom);
                bottom = stored.top;
                cut = true;
            }
            else if (top < stored.bottom && stored.bottom < bottom &&
                     OverlapsHorizontally(stored, left, right))
            {
                Add(left, stored.bottom, right, bottom);
                bottom = stored.bottom;
                cut = true;
            }
            else if (stored.left <= left && left < stored.right && stored.top <= top &&
                     top < stored.bottom)
            {
                return;  // what is left lies inside the stored rectangle
            }
        }
        if (!cut)
        {
            Store({left, top, right, bottom});
            return;
        }
    }
}

void DirtyRectList::Store(const ScreenRect& rect)
{
    rects_[count_++] = rect;
}

void DirtyRectList::ReplaceByBounds(const ScreenRect& added)
{
    if (!overflowReported_)
    {
        Trace("Rect overflow\n");
        overflowReported_ = true;
    }
    ScreenRect bounds = added;
    for (int32_t i = 0; i < count_; ++i)
    {
        bounds.left = std::min(bounds.left, rects_[i].left);
        bounds.top = std::min(bounds.top, rects_[i].top);
        bounds.right = std::max(bounds.right, rects_[i].right);
        bounds.bottom = std::max(bounds.bottom, rects_[i].bottom);
    }
    count_ = 0;
    Store(bounds);
}

bool DirtyRectList::GetNext(ScreenRect* out, int32_t* index) const
{
    if (*index < 0 || *index >= count_)
    {
        return false;
    }
    *out = rects_[(*index)++];
    return true;
}
