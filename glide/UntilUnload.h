#pragma once

// The render library's long-lived objects, made on first use and destroyed only when the
// library unloads, in the reverse order of their making.
//
// A function-local static would not do: a process that ends through exit() while the host
// still holds the library (a display library's fatal-error exit, say) destroys those before
// the host's own globals, whose destructors then call into the library to clean up. The
// objects here are destroyed by the library's unload, which at the end of a process comes after
// every exit handler.

#include <new>

namespace glide
{
namespace detail
{
struct UnloadLink
{
    void (*destroy)(UnloadLink*) = nullptr;
    UnloadLink* next = nullptr;
};

// Adds the link to those destroyed at unload, before every link added earlier.
void DestroyAtUnload(UnloadLink& link);
}  // namespace detail

template <typename T>
T& UntilUnload()
{
    struct Holder : detail::UnloadLink
    {
        T object;
    };
    static Holder* const holder = []
    {
        auto* made = new Holder();
        made->destroy = [](detail::UnloadLink* link) { delete static_cast<Holder*>(link); };
        detail::DestroyAtUnload(*made);
        return made;
    }();
    return holder->object;
}

}  // namespace glide
