#include "platform/DatagramNetwork.h"

#include <array>
#include <charconv>

std::optional<uint32_t> ParseIpv4(std::string_view text)
{
    std::array<uint8_t, 4> parts{};
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    for (size_t part = 0; part < parts.size(); ++part)
    {
        if (part > 0)
        {
            if (at == end || *at != '.')
            {
                return std::nullopt;
            }
            ++at;
        }
        unsigned value = 0;
        const auto [next, error] = std::from_chars(at, end, value);
        if (error != std::errc() || next == at || next - at > 3 || value > 255)
        {
            return std::nullopt;
        }
        parts[part] = static_cast<uint8_t>(value);
        at = next;
    }
    if (at != end)
    {
        return std::nullopt;
    }
    return MakeIpv4(parts[0], parts[1], parts[2], parts[3]);
}

std::string FormatIpv4(uint32_t address)
{
    std::string text;
    for (int part = 0; part < 4; ++part)
    {
        if (part > 0)
        {
            text += '.';
        }
        text += std::to_string((address >> (8 * part)) & 0xFF);
    }
    return text;
}
