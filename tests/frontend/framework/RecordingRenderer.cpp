#include "tests/frontend/framework/RecordingRenderer.h"

#include <algorithm>
#include <initializer_list>

#include "app/device/RenderBindings.h"
#include "app/device/RenderDevice.h"

namespace
{
Texture g_picture;

std::string Numbers(std::initializer_list<int32_t> numbers)
{
    std::string text;
    for (const int32_t number : numbers)
    {
        text += (text.empty() ? "" : " ") + std::to_string(number);
    }
    return text;
}

bool IsMissing(const char* name)
{
    const auto& missing = RecordingRenderer::Missing();
    return std::find(missing.begin(), missing.end(), name) != missing.end();
}

Texture* Load(const char* name, int32_t /*unused*/)
{
    RecordingRenderer::Calls().push_back(std::string("load ") + name);
    return IsMissing(name) ? nullptr : &g_picture;
}

Texture* ReLoad(Texture* /*texture*/, const char* name, int32_t /*unused*/)
{
    RecordingRenderer::Calls().push_back(std::string("reload ") + name);
    return IsMissing(name) ? nullptr : &g_picture;
}

void Free(Texture* /*texture*/)
{
    RecordingRenderer::Calls().push_back("free");
}

void Clip(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    RecordingRenderer::Calls().push_back("clip " + Numbers({left, top, right, bottom}));
}

void Rect(int32_t /*texture*/, int32_t x, int32_t y, int32_t width, int32_t height, int32_t /*u*/,
          int32_t /*v*/, int32_t /*du*/, int32_t /*dv*/, int32_t alpha, float /*depth*/)
{
    RecordingRenderer::Calls().push_back("rect " + Numbers({x, y, width, height, alpha}));
}

int32_t Blit(Texture* /*source*/, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t width,
             int32_t height, int32_t /*keyed*/, int32_t /*unused*/, Texture* /*destination*/)
{
    RecordingRenderer::Calls().push_back("blit " + Numbers({sx, sy, dx, dy, width, height}));
    return 1;
}

void Text(int32_t x, int32_t y, const char* text, int32_t /*alignment*/, LfbInfo* /*target*/)
{
    RecordingRenderer::Calls().push_back("text " + Numbers({x, y}) + " " + text);
}

int32_t InitScreen(const RenderWindow* /*window*/, int32_t /*option*/, const char* /*text*/,
                   const ScreenMode* /*mode*/)
{
    return 1;
}
}  // namespace

RecordingRenderer::RecordingRenderer()
{
    Calls().clear();
    Missing().clear();
    g_renderSlots.rdll_InitScreen = InitScreen;
    g_renderSlots.rdll_LoadMemoryTexture = Load;
    g_renderSlots.rdll_ReLoadMemoryTexture = ReLoad;
    g_renderSlots.rdll_FreeMemoryTexture = Free;
    g_renderSlots.rdll_SetClipRect = Clip;
    g_renderSlots.rdll_DrawRect = Rect;
    g_renderSlots.rdll_DrawBitmapRect = Blit;
    g_renderSlots.rdll_DrawTextScreen = Text;
    const ScreenMode mode{640, 480, 16, 60, 0};
    g_renderDevice.InitScreen(nullptr, 0, "", &mode);
}

RecordingRenderer::~RecordingRenderer()
{
    ClearRenderDll();
}

std::vector<std::string>& RecordingRenderer::Calls()
{
    static std::vector<std::string> calls;
    return calls;
}

std::vector<std::string>& RecordingRenderer::Missing()
{
    static std::vector<std::string> missing;
    return missing;
}
