#include "tests/support/CaseNames.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace case_names
{
namespace
{
bool IsAlphaNumeric(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
}  // namespace

std::string Words(std::string_view text)
{
    std::string name;
    bool wordStart = true;
    for (const char c : text)
    {
        if (!IsAlphaNumeric(c))
        {
            wordStart = true;
            continue;
        }
        name += wordStart ? Upper(c) : c;
        wordStart = false;
    }
    return name.empty() ? "Unnamed" : name;
}

std::string Number(float value)
{
    if (std::isnan(value))
    {
        return "NaN";
    }
    std::string name = std::signbit(value) ? "Minus" : "";
    if (std::isinf(value))
    {
        return name + "Infinity";
    }
    std::array<char, 32> digits{};
    const auto result =
        std::to_chars(digits.data(), digits.data() + digits.size(), std::fabs(value));
    for (const char* c = digits.data(); c != result.ptr; ++c)
    {
        if (IsAlphaNumeric(*c))
        {
            name += *c;
        }
        else if (*c == '.')
        {
            name += '_';
        }
    }
    return name;
}

std::string Bytes(std::string_view bytes)
{
    if (bytes.empty())
    {
        return "Empty";
    }
    std::string name;
    for (const char c : bytes)
    {
        if (IsAlphaNumeric(c))
        {
            name += c;
            continue;
        }
        std::array<char, 4> hex{};
        std::snprintf(hex.data(), hex.size(), "_%02X", static_cast<unsigned char>(c));
        name += hex.data();
    }
    return name;
}
}  // namespace case_names
