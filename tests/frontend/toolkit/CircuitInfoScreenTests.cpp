// The circuit information page's choices that do not need a screen: the weather slot of a
// session and the record holders' names cut to the column.

#include <gtest/gtest.h>

#include <string>

#include "app/settings/MenuState.h"
#include "frontend/toolkit/CircuitInfoScreen.h"

namespace
{
int32_t SevenPixelsACharacter(const char* text)
{
    return static_cast<int32_t>(std::string(text).size()) * 7;
}
}  // namespace

TEST(CircuitInfoScreen, SessionsShareTheirWeekendsWeatherSlots)
{
    const MenuState settings;
    GadgetList owner;
    const int32_t expected[] = {0, 0, 1, 1, 2, 2, 2, 2, 2};
    for (int32_t session = 0; session < 9; ++session)
    {
        owner.head = nullptr;
        CircuitInfoScreen::Open(owner, settings, session);
        EXPECT_EQ(CircuitInfoScreen::WeatherSlot(), expected[session]) << session;
        EXPECT_EQ(owner.head, &CircuitInfoScreen::OkGadget());
    }
    CircuitInfoScreen::Close();
}

TEST(CircuitInfoScreen, ANameWiderThanTheColumnBecomesInitialPointAndSurname)
{
    const auto shorten = [](const std::string& name)
    { return CircuitInfoScreen::ShortenedName(name, SevenPixelsACharacter); };
    EXPECT_EQ(shorten("Hanno Wummelbach"), "Hanno Wummelbach");          // 112 pixels
    EXPECT_EQ(shorten("Friedhelm Wummelbach"), "F.Wummelbach");          // 140 pixels
    EXPECT_EQ(shorten("Friedhelm von Wummelbach"), "F.von Wummelbach");  // from the surname on
    EXPECT_EQ(shorten("Friedhelmwummelbachhausen"), "Friedhelmwummelbachhausen");
    EXPECT_EQ(shorten("A " + std::string(40, 'x')).size(), 32u);
}
