// Preloaded into the game by bench_startup: notes when the first frame that shows something
// (not all black) reaches the screen, writes that moment (CLOCK_MONOTONIC, nanoseconds, as
// text) to the descriptor named by ZARVO_BENCH_FRAME_FD, and then asks the game to end as
// Ctrl+C does. It wraps two SDL calls and changes nothing they do.

#include <SDL.h>
#include <dlfcn.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{
bool g_frameHasPicture = false;
bool g_reported = false;

bool ShowsSomething(SDL_Texture* texture, const void* pixels, int pitchBytes)
{
    int width = 0;
    int height = 0;
    if (pixels == nullptr || SDL_QueryTexture(texture, nullptr, nullptr, &width, &height) != 0)
    {
        return false;
    }
    const auto* rows = static_cast<const uint8_t*>(pixels);
    for (int y = 0; y < height; ++y)
    {
        const auto* row =
            reinterpret_cast<const uint16_t*>(rows + static_cast<size_t>(y) * pitchBytes);
        for (int x = 0; x < width; ++x)
        {
            if (row[x] != 0)
            {
                return true;
            }
        }
    }
    return false;
}

void Report()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* descriptor = std::getenv("ZARVO_BENCH_FRAME_FD");
    if (descriptor != nullptr)
    {
        char line[32];
        const int length =
            std::snprintf(line, sizeof line, "%lld\n",
                          static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        if (write(std::atoi(descriptor), line, static_cast<size_t>(length)) != length)
        {
            std::perror("first frame");
        }
    }
    raise(SIGINT);
}
}  // namespace

extern "C" int SDL_UpdateTexture(SDL_Texture* texture, const SDL_Rect* rect, const void* pixels,
                                 int pitch)
{
    using Update = int (*)(SDL_Texture*, const SDL_Rect*, const void*, int);
    static const auto next = reinterpret_cast<Update>(dlsym(RTLD_NEXT, "SDL_UpdateTexture"));
    g_frameHasPicture = g_frameHasPicture || ShowsSomething(texture, pixels, pitch);
    return next(texture, rect, pixels, pitch);
}

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer)
{
    using Present = void (*)(SDL_Renderer*);
    static const auto next = reinterpret_cast<Present>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
    next(renderer);
    if (g_frameHasPicture && !g_reported)
    {
        g_reported = true;
        Report();
    }
}
