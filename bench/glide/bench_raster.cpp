// Frames per second of the reference scene through our board and, when it is built in, through
// Mesa's off-screen renderer, measured in the same run with the same work on both sides (the
// same blend state, the same number of drawing threads, inside the process's CPU mask): once on
// one thread of one processor, once on every processor of the mask.
//
//   bench_raster [--seconds S] [--images DIR] [--spans one-pixel|four-wide|eight-wide]
//                [--filter bilinear|point]
//
// --spans has our board draw with those span routines (default: the fastest this processor runs).
// --images writes each renderer's last all-core frame as a BMP into DIR, to compare the
// pictures. Each measurement runs in a child process of its own, as llvmpipe reads its thread
// count (LP_NUM_THREADS) once per process.

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/glide/GlideSceneRenderer.h"
#include "bench/glide/ReferenceScene.h"
#include "glide/GlideOptions.h"
#include "glide/WorkerPool.h"
#ifdef ZARVO_HAVE_OSMESA
#include "bench/glide/MesaSceneRenderer.h"
#endif

namespace
{

struct Options
{
    double seconds = 2.0;
    std::string imageFolder;
    GlideSpanRoutines spans = GlideSpanRoutines::Fastest;
    bool bilinear = true;
};

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2)
    {
        if (std::strcmp(argv[i], "--seconds") == 0)
        {
            options.seconds = std::atof(argv[i + 1]);
        }
        else if (std::strcmp(argv[i], "--images") == 0)
        {
            options.imageFolder = argv[i + 1];
        }
        else if (std::strcmp(argv[i], "--spans") == 0)
        {
            const std::string name = argv[i + 1];
            options.spans = name == "one-pixel"    ? GlideSpanRoutines::OnePixel
                            : name == "four-wide"  ? GlideSpanRoutines::FourWide
                            : name == "eight-wide" ? GlideSpanRoutines::EightWide
                                                   : GlideSpanRoutines::Fastest;
        }
        else if (std::strcmp(argv[i], "--filter") == 0)
        {
            options.bilinear = std::strcmp(argv[i + 1], "point") != 0;
        }
    }
    return options;
}

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Frames per second of wall time, and per second of the process's processor time: on one
// thread the second holds on a loaded machine, where the first counts the other loads' turns.
struct Rate
{
    double wall = 0.0;
    double processor = 0.0;
};

Rate MeasureFramesPerSecond(SceneRenderer& renderer, double seconds)
{
    using Clock = std::chrono::steady_clock;
    for (int i = 0; i < 3; ++i)
    {
        renderer.DrawFrame();
    }
    int frames = 0;
    const Clock::time_point start = Clock::now();
    const double processorStart = ProcessCpuSeconds();
    double elapsed = 0.0;
    while (elapsed < seconds || frames < 10)
    {
        renderer.DrawFrame();
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return {frames / elapsed, frames / (ProcessCpuSeconds() - processorStart)};
}

void WriteBmp(const std::string& path, const uint16_t* pixels, int pitchPixels)
{
    const int width = ReferenceScene::kWidth;
    const int height = ReferenceScene::kHeight;
    const int rowBytes = width * 3;
    std::vector<uint8_t> file(54 + static_cast<size_t>(rowBytes) * height, 0);
    const auto put = [&file](size_t at, uint32_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
        {
            file[at + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, static_cast<uint32_t>(file.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, width, 4);
    put(22, height, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
    {
        uint8_t* out = &file[54 + static_cast<size_t>(height - 1 - y) * rowBytes];
        for (int x = 0; x < width; ++x)
        {
            const uint16_t p = pixels[static_cast<size_t>(y) * pitchPixels + x];
            *out++ = static_cast<uint8_t>((p & 0x1F) << 3);
            *out++ = static_cast<uint8_t>(((p >> 5) & 0x3F) << 2);
            *out++ = static_cast<uint8_t>((p >> 11) << 3);
        }
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
}

// Draws with every renderer and returns their rates; the images of the run go to
// imageFolder when it is not empty.
std::vector<Rate> MeasureRenderers(const Options& options, int threads,
                                   const std::string& imageFolder)
{
    GlideOptions board;
    board.threads = threads;
    board.spanRoutines = options.spans;
    SetGlideOptions(board);
    ReferenceScene scene = MakeReferenceScene();
    scene.bilinear = options.bilinear;
    std::vector<std::unique_ptr<SceneRenderer>> renderers;
    renderers.push_back(MakeGlideRenderer(scene));
#ifdef ZARVO_HAVE_OSMESA
    renderers.push_back(MakeMesaRenderer(scene));
#endif
    std::vector<Rate> rates;
    for (const auto& renderer : renderers)
    {
        const Rate rate = MeasureFramesPerSecond(*renderer, options.seconds);
        rates.push_back(rate);
        std::printf("  %-40s %7.1f frames/s %7.3f ms a frame, %7.1f per processor second\n",
                    renderer->Name(), rate.wall, 1000.0 / rate.wall, rate.processor);
        if (!imageFolder.empty())
        {
            int pitch = 0;
            const uint16_t* pixels = renderer->Pixels(pitch);
            WriteBmp(imageFolder + "/" + std::to_string(rates.size()) + ".bmp", pixels, pitch);
        }
    }
    std::fflush(stdout);
    return rates;
}

// The first processor of the process's mask.
cpu_set_t FirstProcessor()
{
    cpu_set_t mask;
    CPU_ZERO(&mask);
    sched_getaffinity(0, sizeof mask, &mask);
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
    {
        if (CPU_ISSET(cpu, &mask))
        {
            CPU_SET(cpu, &one);
            break;
        }
    }
    return one;
}

// Runs the measurement in a child process: pinned to one processor with one thread on each
// side, or with `threads` on each side inside the mask. Returns the rates (empty on failure).
std::vector<Rate> MeasureInChild(const Options& options, bool singleProcessor, int threads,
                                 const std::string& imageFolder)
{
    int channel[2];
    if (pipe(channel) != 0)
    {
        return {};
    }
    const pid_t child = fork();
    if (child == 0)
    {
        close(channel[0]);
        if (singleProcessor)
        {
            const cpu_set_t one = FirstProcessor();
            sched_setaffinity(0, sizeof one, &one);
        }
        // llvmpipe's 0 draws on the calling thread alone, as our 1 does.
        setenv("LP_NUM_THREADS", std::to_string(threads > 1 ? threads : 0).c_str(), 1);
        const std::vector<Rate> rates = MeasureRenderers(options, threads, imageFolder);
        const auto bytes = static_cast<ssize_t>(rates.size() * sizeof(Rate));
        const bool written = write(channel[1], rates.data(), rates.size() * sizeof(Rate)) == bytes;
        _exit(written ? 0 : 1);
    }
    close(channel[1]);
    std::vector<Rate> rates(2);
    const ssize_t got =
        child > 0 ? read(channel[0], rates.data(), rates.size() * sizeof(Rate)) : -1;
    close(channel[0]);
    if (child > 0)
    {
        waitpid(child, nullptr, 0);
    }
    rates.resize(got > 0 ? static_cast<size_t>(got) / sizeof(Rate) : 0);
    return rates;
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);
    const int processors = glide::UsableProcessors();
    std::printf(
        "reference scene: %d x %d, %zu quads in 3 layers, %s, fogged, "
        "source-over blended, depth-tested\n",
        ReferenceScene::kWidth, ReferenceScene::kHeight, MakeReferenceScene().quads.size(),
        options.bilinear ? "bilinear" : "point-sampled");
    std::fflush(stdout);

    std::printf("one thread on one processor:\n");
    std::fflush(stdout);
    const std::vector<Rate> single = MeasureInChild(options, true, 1, "");
    std::printf("%d threads on the %d processors of the CPU mask:\n", processors, processors);
    std::fflush(stdout);
    const std::vector<Rate> all = MeasureInChild(options, false, processors, options.imageFolder);

    if (single.size() == 2 && all.size() == 2)
    {
        std::printf("glide / mesa: %.2f on one thread (%.2f by processor time), %.2f on %d\n",
                    single[0].wall / single[1].wall, single[0].processor / single[1].processor,
                    all[0].wall / all[1].wall, processors);
    }
    else if (single.empty() || all.empty())
    {
        std::printf("a measurement failed\n");
        return 1;
    }
    else
    {
        std::printf("(Mesa's off-screen renderer was not found at build time)\n");
    }
    return 0;
}
