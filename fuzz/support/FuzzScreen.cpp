#include "fuzz/support/FuzzScreen.h"

#include <cstdlib>
#include <string_view>

#include "core/util/Message.h"
#include "render/RenderApi.h"

void OpenFuzzScreen()
{
    static const bool opened = []
    {
        const ScreenMode mode{640, 480, 16, 60, 0};
        return rdll_InitHardware() == 1 && rdll_InitScreen(nullptr, 0, "", &mode) == 1;
    }();
    if (!opened)
    {
        std::abort();
    }
}

void FinishFuzzFrame()
{
    rdll_Flip();
}

void SilenceMessages()
{
    SetMessageSink([](std::string_view) {});
}
