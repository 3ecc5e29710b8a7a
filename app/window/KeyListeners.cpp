#include "app/window/KeyListeners.h"

#include <vector>

namespace
{
std::vector<KeyListener> g_keyListeners;
}

void AddKeyListener(KeyListener listener)
{
    g_keyListeners.push_back(listener);
}

void RemoveKeyListener(KeyListener listener)
{
    std::erase(g_keyListeners, listener);
}

void NotifyKeyListeners(uint32_t kind, uint32_t virtualKey)
{
    const std::vector<KeyListener> listeners = g_keyListeners;
    for (const KeyListener listener : listeners)
    {
        if (listener(kind, virtualKey) == 1)
        {
            return;
        }
    }
}
