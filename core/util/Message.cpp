#include "core/util/Message.h"

#include <atomic>
#include <cstdio>
#include <string>

#include "core/files/Windows1252.h"

namespace
{
std::atomic<MessageSink> g_messageSink{nullptr};
}

void ShowMessage(std::string_view text)
{
    if (const MessageSink sink = g_messageSink.load(std::memory_order_acquire))
    {
        sink(text);
        return;
    }
    std::fprintf(stderr, "Zarvo: %s\n", Windows1252ToUtf8(text).c_str());
}

MessageSink SetMessageSink(MessageSink sink)
{
    return g_messageSink.exchange(sink, std::memory_order_acq_rel);
}
