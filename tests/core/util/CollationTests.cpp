#include "core/util/Collation.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

struct NameOrder
{
    const char* a;
    const char* b;
    int32_t expected;
};

TEST(CollationTest, ComparesNamesFromTheirEnds)
{
    const NameOrder cases[] = {
        {"dach.bmp", "DACH.BMP", 0},
        {"xbild", "bild", 1},  // a name that ends in the other is the greater
        {"", "", 0},
        {"a", "", 1},
        {"ab", "ba", 1},              // the last character decides first
        {"b.tga", "a.bmp", -1},       // whatever the first characters say
        {"Z", "[", 1},                // folded to 'z' (0x7A) before comparing with 0x5B
        {"\xC4rger", "\xE4rger", 0},  // umlaut capitals fold
        {"\xD6l", "\xF6L", 0},
        {"gro\xDF", "GRO\xDF", 0},
        {"\xC9t\xE9", "\xE9t\xE9", -1},  // other accented capitals do not fold
        {"z", "\xE4", -1},               // bytes compare unsigned
        {"rider\xFC", "riderz", 1},
    };
    for (const NameOrder& c : cases)
    {
        SCOPED_TRACE(std::string(c.a) + " <> " + c.b);
        EXPECT_EQ(CompareNamesFromEnd(c.a, c.b), c.expected);
        EXPECT_EQ(CompareNamesFromEnd(c.b, c.a), -c.expected);
    }
}

TEST(CollationTest, FoldsOnlyAsciiCapitalsAndTheGermanUmlauts)
{
    InitCaseFoldTable();
    ASSERT_TRUE(g_caseFoldTable.built.load());
    for (int byte = 0; byte < 256; ++byte)
    {
        const bool folds =
            (byte >= 'A' && byte <= 'Z') || byte == 0xC4 || byte == 0xD6 || byte == 0xDC;
        EXPECT_EQ(g_caseFoldTable.folded[byte], folds ? byte + 0x20 : byte) << "byte " << byte;
    }
}

TEST(CollationTest, LowerCaseInPlaceFoldsEveryByte)
{
    std::string name = "Texturen/\xC4RGER_\xD6L_\xDC_Gro\xDF_\xC9T\xC9.BMP";
    LowerCaseInPlace(name.data());
    EXPECT_EQ(name, "texturen/\xE4rger_\xF6l_\xFC_gro\xDF_\xC9t\xC9.bmp");
}

}  // namespace
