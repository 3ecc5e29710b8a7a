// The nation tables: finding a nation by its German name, names and codes by language.

#include <gtest/gtest.h>

#include <string>

#include "app/game/CurrentRace.h"
#include "frontend/toolkit/NationTables.h"

namespace
{
TEST(NationTablesTest, NationsAreFoundByTheBeginningOfTheirGermanName)
{
    const struct
    {
        const char* name;
        int32_t nation;
    } cases[] = {
        {"Japan", 0},   {"Spanien", 1}, {"Deutschland", 3}, {"Grossbritannien", 7},
        {"Deutsch", 3}, {"Gross", 7},   {"Spain", -1},      {"Japaner", -1},
        {"", -1},       {"japan", -1},
    };
    for (const auto& test : cases)
    {
        EXPECT_EQ(FindNation(test.name), test.nation) << '"' << test.name << '"';
    }
}

class NationLanguageTest : public testing::Test
{
protected:
    ~NationLanguageTest() override { g_language = Language::German; }
};

TEST_F(NationLanguageTest, NamesAndCodesFollowTheLanguage)
{
    g_language = Language::German;
    EXPECT_STREQ(GetNationName(3), "Deutschland");
    EXPECT_STREQ(GetNationCode(0), "JPN");
    EXPECT_STREQ(GetNationCode(1), "SPA");
    EXPECT_STREQ(GetNationCode(2), "I");
    g_language = Language::English;
    EXPECT_STREQ(GetNationName(3), "Germany");
    EXPECT_STREQ(GetNationName(12), "Malaysia");
}

TEST_F(NationLanguageTest, ANumberThatIsNoNationHasNoTexts)
{
    for (const int32_t nation : {-1, 13, 255})
    {
        EXPECT_STREQ(GetNationName(nation), "") << nation;
        EXPECT_STREQ(GetNationCode(nation), "") << nation;
    }
}
}  // namespace
