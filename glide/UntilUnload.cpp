#include "glide/UntilUnload.h"

#include <atomic>

namespace glide::detail
{
namespace
{
// Newest first. Has no destructor of its own, so exit() leaves it alone.
constinit std::atomic<UnloadLink*> g_newest{nullptr};

// Run by the library's unload: at dlclose, or at the end of the process after every exit
// handler.
[[gnu::destructor]] void DestroyAll()
{
    UnloadLink* link = g_newest.exchange(nullptr);
    while (link != nullptr)
    {
        UnloadLink* const next = link->next;
        link->destroy(link);
        link = next;
    }
}
}  // namespace

void DestroyAtUnload(UnloadLink& link)
{
    link.next = g_newest.load();
    while (!g_newest.compare_exchange_weak(link.next, &link))
    {
    }
}

}  // namespace glide::detail
