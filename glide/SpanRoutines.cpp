// Which span routines this build and processor offer, and the choice between them.

#include "glide/GlideOptions.h"
#include "glide/Pipeline.h"

bool SpanRoutinesAvailable(GlideSpanRoutines routines)
{
    switch (routines)
    {
        case GlideSpanRoutines::Fastest:
        case GlideSpanRoutines::OnePixel:
            return true;
        case GlideSpanRoutines::FourWide:
#if defined(__SSE2__)
            return true;
#else
            return false;
#endif
    }
    return false;
}

namespace glide
{

SpanFunction ChooseVectorSpanFunction([[maybe_unused]] GlideSpanRoutines routines,
                                      [[maybe_unused]] TexelKind texel, [[maybe_unused]] bool fog,
                                      [[maybe_unused]] BlendKind blend)
{
#if defined(__SSE2__)
    if (routines == GlideSpanRoutines::Fastest || routines == GlideSpanRoutines::FourWide)
    {
        return ChooseFourWideSpanFunction(texel, fog, blend);
    }
#endif
    return nullptr;
}

}  // namespace glide
