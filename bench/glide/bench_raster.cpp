// Frames per second of the reference scene through our board and, when it is built in, through
// Mesa's off-screen renderer, measured in the same run.
//
//   bench_raster [--seconds S] [--threads N] [--images DIR]
//
// --threads sets how many threads our board draws with (default: one per processor; Mesa's
// llvmpipe reads LP_NUM_THREADS). --images writes each renderer's last frame as a BMP into DIR,
// to compare the pictures.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/glide/GlideSceneRenderer.h"
#include "bench/glide/ReferenceScene.h"
#include "glide/GlideOptions.h"
#ifdef ZARVO_HAVE_OSMESA
#include "bench/glide/MesaSceneRenderer.h"
#endif

namespace
{

struct Options
{
    double seconds = 2.0;
    int threads = 0;
    std::string imageFolder;
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
        else if (std::strcmp(argv[i], "--threads") == 0)
        {
            options.threads = std::atoi(argv[i + 1]);
        }
        else if (std::strcmp(argv[i], "--images") == 0)
        {
            options.imageFolder = argv[i + 1];
        }
    }
    return options;
}

double MeasureFramesPerSecond(SceneRenderer& renderer, double seconds)
{
    using Clock = std::chrono::steady_clock;
    for (int i = 0; i < 3; ++i)
    {
        renderer.DrawFrame();
    }
    int frames = 0;
    const Clock::time_point start = Clock::now();
    double elapsed = 0.0;
    while (elapsed < seconds || frames < 10)
    {
        renderer.DrawFrame();
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return frames / elapsed;
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

}  // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);
    GlideOptions board;
    board.threads = options.threads;
    SetGlideOptions(board);
    const ReferenceScene scene = MakeReferenceScene();
    std::printf("reference scene: %d x %d, %zu quads in 3 layers, bilinear, fogged, depth-tested\n",
                ReferenceScene::kWidth, ReferenceScene::kHeight, scene.quads.size());

    std::vector<std::unique_ptr<SceneRenderer>> renderers;
    renderers.push_back(MakeGlideRenderer(scene));
#ifdef ZARVO_HAVE_OSMESA
    renderers.push_back(MakeMesaRenderer(scene));
#endif

    std::vector<double> rates;
    for (const auto& renderer : renderers)
    {
        const double rate = MeasureFramesPerSecond(*renderer, options.seconds);
        rates.push_back(rate);
        std::printf("%-48s %9.1f frames/s  %7.3f ms a frame\n", renderer->Name(), rate,
                    1000.0 / rate);
        if (!options.imageFolder.empty())
        {
            int pitch = 0;
            const uint16_t* pixels = renderer->Pixels(pitch);
            WriteBmp(options.imageFolder + "/" + std::to_string(rates.size()) + ".bmp", pixels,
                     pitch);
        }
    }
    if (rates.size() == 2)
    {
        std::printf("glide / mesa: %.2f\n", rates[0] / rates[1]);
    }
    else
    {
        std::printf("(Mesa's off-screen renderer was not found at build time)\n");
    }
    return 0;
}
