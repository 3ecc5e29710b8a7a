// The line splitter of the menu text files and their numbers.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "frontend/toolkit/TextLines.h"

namespace
{
using LineList = std::vector<std::string>;

// The lines of a text, split as the reader does it, with the zero byte after the text.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    TextLineReader reader(buffer.data(), buffer.data() + text.size());
    std::vector<std::string> lines;
    while (const char* line = reader.Next())
    {
        lines.emplace_back(line);
    }
    return lines;
}

TEST(TextLinesTest, LinesEndAtAnyRunOfCarriageReturnsAndLineFeeds)
{
    EXPECT_EQ(Lines("eins\r\nzwei\r\n"), (LineList{"eins", "zwei"}));
    EXPECT_EQ(Lines("eins\nzwei\rdrei"), (LineList{"eins", "zwei", "drei"}));
    EXPECT_EQ(Lines("eins\r\n\r\n\n\rzwei"), (LineList{"eins", "zwei"}));
    EXPECT_EQ(Lines("\r\neins"), (LineList{"", "eins"}));
    EXPECT_EQ(Lines("Gro\xDF"
                    "e \xC4nderung\r\n"),
              (LineList{"Gro\xDF"
                        "e \xC4nderung"}));
    EXPECT_EQ(Lines(""), (LineList{""}));
}

TEST(TextLinesTest, TheLastLineReportsTheEndWhetherItIsDelimitedOrNot)
{
    for (const std::string text : {"a\r\nletzte", "a\r\nletzte\r\n"})
    {
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back('\0');
        char* cursor = buffer.data();
        char* end = buffer.data() + text.size();
        char* line = nullptr;
        EXPECT_TRUE(NextTextLine(&line, &cursor, end));
        EXPECT_STREQ(line, "a");
        EXPECT_FALSE(NextTextLine(&line, &cursor, end));
        EXPECT_STREQ(line, "letzte");
        EXPECT_EQ(cursor, end);
    }
}

TEST(TextLinesTest, NumbersAreReadAsTheGameReadsThem)
{
    const struct
    {
        const char* line;
        std::optional<int32_t> number;
    } cases[] = {
        {"5403", 5403},
        {"  -12", -12},
        {"+7", 7},
        {"26023 ms", 26023},
        {"\t3", 3},
        {"", std::nullopt},
        {"Bruenn", std::nullopt},
        {"- 5", std::nullopt},
        {"+-5", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& test : cases)
    {
        EXPECT_EQ(ReadTextNumber(test.line), test.number) << '"' << test.line << '"';
    }
}
}  // namespace
