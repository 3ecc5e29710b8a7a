#include <gtest/gtest.h>

#include <string>

#include "core/files/Windows1252.h"
#include "tests/support/CaseNames.h"

namespace
{
struct Conversion
{
    std::string windows1252;
    std::string utf8;
};

class Windows1252Test : public ::testing::TestWithParam<Conversion>
{
};

TEST_P(Windows1252Test, ConvertsToUtf8)
{
    EXPECT_EQ(Windows1252ToUtf8(GetParam().windows1252), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    CodePage, Windows1252Test,
    ::testing::Values(
        Conversion{"", ""}, Conversion{"Zarvo 1.0", "Zarvo 1.0"},
        Conversion{std::string("a\0b", 3), std::string("a\0b", 3)},
        Conversion{"\x80", "\u20AC"},  // euro sign
        Conversion{"\x81", "\uFFFD"}, Conversion{"\x8D", "\uFFFD"}, Conversion{"\x8F", "\uFFFD"},
        Conversion{"\x90", "\uFFFD"}, Conversion{"\x9D", "\uFFFD"}, Conversion{"\x82", "\u201A"},
        Conversion{"\x83", "\u0192"}, Conversion{"\x8A", "\u0160"}, Conversion{"\x8C", "\u0152"},
        Conversion{"\x8E", "\u017D"}, Conversion{"\x93", "\u201C"}, Conversion{"\x96", "\u2013"},
        Conversion{"\x99", "\u2122"}, Conversion{"\x9F", "\u0178"}, Conversion{"\xA0", "\u00A0"},
        Conversion{"\xC4", "\u00C4"}, Conversion{"\xDF", "\u00DF"}, Conversion{"\xFF", "\u00FF"},
        Conversion{"Aufl\xF6sung \x84gut\x93", "Aufl\u00F6sung \u201Egut\u201C"}),
    [](const ::testing::TestParamInfo<Conversion>& info)
    { return case_names::Bytes(info.param.windows1252); });
TEST_P(Windows1252Test, ComesBackFromUtf8)
{
    if (GetParam().utf8.find("\uFFFD") == std::string::npos)
    {
        EXPECT_EQ(Utf8ToWindows1252(GetParam().utf8), GetParam().windows1252);
    }
}

TEST(Utf8ToWindows1252Test, RefusesWhatTheCodePageCannotSpell)
{
    for (const char* text : {"\u4E2D", "\U0001F600", "\uFFFD", "\xC3", "\xC0\xAF", "\xED\xA0\x80",
                             "\xF8\x88\x80\x80\x80", "\x80"})
    {
        EXPECT_EQ(Utf8ToWindows1252(text), std::nullopt) << text;
    }
}
}  // namespace
