#include "render/RenderMessages.h"

#include "core/util/Message.h"
#include "render/RenderLibrary.h"

namespace render
{

void ShowRenderMessage(const std::string& text)
{
    const RenderWindow* window = TheLibrary().screen.Window();
    if (window != nullptr && window->showMessage != nullptr)
    {
        window->showMessage(text.c_str(), window->user);
        return;
    }
    ShowMessage(text);
}

}  // namespace render
