#include "core/files/Windows1252.h"

#include <cstdint>
#include <iterator>

namespace
{
// 0x80..0x9F. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// become the replacement character.
constexpr char32_t kHighControlRange[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,  // 0x88
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,  // 0x98
};

char32_t CodePoint(uint8_t byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
    {
        return kHighControlRange[byte - 0x80];
    }
    return byte;  // ASCII and 0xA0..0xFF coincide with Unicode
}

void AppendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80)
    {
        out += static_cast<char>(codePoint);
    }
    else if (codePoint < 0x800)
    {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}
// The byte that stands for the character, if the code page has one.
std::optional<char> ByteOf(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
    {
        return static_cast<char>(codePoint);
    }
    for (size_t i = 0; i < std::size(kHighControlRange); ++i)
    {
        if (kHighControlRange[i] == codePoint && codePoint != 0xFFFD)
        {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// The next character of a UTF-8 text, or nothing for a malformed or overlong sequence.
std::optional<char32_t> NextCodePoint(std::string_view text, size_t& at)
{
    const auto lead = static_cast<uint8_t>(text[at++]);
    if (lead < 0x80)
    {
        return lead;
    }
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length - 1 > text.size())
    {
        return std::nullopt;
    }
    char32_t codePoint = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i)
    {
        const auto next = static_cast<uint8_t>(text[at++]);
        if ((next & 0xC0) != 0x80)
        {
            return std::nullopt;
        }
        codePoint = codePoint << 6 | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF)
    {
        return std::nullopt;
    }
    return codePoint;
}
}  // namespace

std::optional<std::string> Utf8ToWindows1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();)
    {
        const std::optional<char32_t> codePoint = NextCodePoint(text, at);
        const std::optional<char> byte = codePoint ? ByteOf(*codePoint) : std::nullopt;
        if (!byte)
        {
            return std::nullopt;
        }
        out += *byte;
    }
    return out;
}

std::string Windows1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (const char byte : text)
    {
        AppendUtf8(out, CodePoint(static_cast<uint8_t>(byte)));
    }
    return out;
}
