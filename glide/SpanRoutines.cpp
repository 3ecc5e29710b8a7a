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
        case GlideSpanRoutines::EightWide:
#if defined(__x86_64__)
            return glide::EightWideSpansRun();
#else
            return false;
#endif
    }
    return false;
}

namespace glide
{

SpanFunction ChooseVectorSpanFunction(GlideSpanRoutines routines, [[maybe_unused]] TexelKind texel,
                                      [[maybe_unused]] bool fog, [[maybe_unused]] BlendKind blend)
{
    if (routines == GlideSpanRoutines::Fastest)
    {
        routines =
            SpanRoutinesAvailable(GlideSpanRoutines::EightWide)  ? GlideSpanRoutines::EightWide
            : SpanRoutinesAvailable(GlideSpanRoutines::FourWide) ? GlideSpanRoutines::FourWide
                                                                 : GlideSpanRoutines::OnePixel;
    }
    if (!SpanRoutinesAvailable(routines))
    {
        return nullptr;
    }
    switch (routines)
    {
        case GlideSpanRoutines::EightWide:
#if defined(__x86_64__)
            return ChooseEightWideSpanFunction(texel, fog, blend);
#else
            return nullptr;
#endif
        case GlideSpanRoutines::FourWide:
#if defined(__SSE2__)
            return ChooseFourWideSpanFunction(texel, fog, blend);
#else
            return nullptr;
#endif
        default:
            return nullptr;
    }
}

}  // namespace glide
