#include "frontend/toolkit/TextLines.h"

#include <cctype>
#include <charconv>
#include <cstring>

namespace
{
bool IsLineEnd(char character)
{
    return character == '\r' || character == '\n';
}
}  // namespace

bool NextTextLine(char** line, char** cursor, char* end)
{
    *line = *cursor;
    while (*cursor < end && !IsLineEnd(**cursor))
    {
        ++*cursor;
    }
    while (*cursor < end && IsLineEnd(**cursor))
    {
        **cursor = '\0';
        ++*cursor;
    }
    return *cursor < end;
}

char* TextLineReader::Next()
{
    if (done_)
    {
        return nullptr;
    }
    char* line = nullptr;
    done_ = !NextTextLine(&line, &cursor_, end_);
    return line;
}

std::optional<int32_t> ReadTextNumber(const char* line)
{
    while (std::isspace(static_cast<unsigned char>(*line)) != 0)
    {
        ++line;
    }
    if (*line == '+' && line[1] != '-')
    {
        ++line;  // from_chars takes only a minus
    }
    int32_t number = 0;
    const char* end = line + std::strlen(line);
    const std::from_chars_result result = std::from_chars(line, end, number);
    if (result.ec != std::errc())
    {
        return std::nullopt;
    }
    return number;
}
