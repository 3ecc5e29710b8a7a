// Typing into the lobby's name and port fields.

#include <gtest/gtest.h>

#include <initializer_list>

#include "app/window/KeyListeners.h"
#include "frontend/netlobby/LobbyTextField.h"
#include "platform/VirtualKeys.h"

namespace
{
// Presses and releases each key; true when one of them was an Enter that ended the editing.
bool Type(LobbyTextField& field, std::initializer_list<uint32_t> keys)
{
    bool entered = false;
    for (const uint32_t key : keys)
    {
        entered = field.OnKey(kKeyWentDown, key) || entered;
        field.OnKey(kKeyWentUp, key);
    }
    return entered;
}

constexpr uint32_t Letter(char c)
{
    return vk::LetterA + static_cast<uint32_t>(c - 'A');
}
}  // namespace

TEST(LobbyTextField, NamesTakeLettersDigitsAndBlanksUpToSixteen)
{
    LobbyTextField field(LobbyTextField::Kind::Name);
    EXPECT_FALSE(Type(field, {Letter('A')})) << "not being edited";
    EXPECT_EQ(field.Text(), "");

    field.BeginEditing("");
    field.OnKey(kKeyWentDown, vk::Shift);
    Type(field, {Letter('R')});
    field.OnKey(kKeyWentUp, vk::Shift);
    Type(field, {Letter('O'), Letter('B'), vk::Space, vk::Digit0 + 7, 0xBA /* ; */, vk::Escape});
    EXPECT_EQ(field.Text(), "Rob 7");
    Type(field, {vk::Back, vk::Back});
    EXPECT_EQ(field.Text(), "Rob");
    for (int i = 0; i < 20; ++i)
    {
        Type(field, {Letter('Z')});
    }
    EXPECT_EQ(field.Text(), "Robzzzzzzzzzzzzz") << "the seventeenth character is ignored";
    EXPECT_TRUE(Type(field, {vk::Return}));
    EXPECT_FALSE(field.IsEditing());
}

TEST(LobbyTextField, PortsTakeFourHexDigits)
{
    LobbyTextField field(LobbyTextField::Kind::Port);
    field.BeginEditing("");
    Type(field, {Letter('G'), vk::Digit0 + 4, Letter('F'), vk::Digit0 + 5, Letter('A')});
    EXPECT_EQ(field.Text(), "4f5a") << "G is no hex digit";
    Type(field, {vk::Digit0 + 1});
    EXPECT_EQ(field.Text(), "4f5a") << "a fifth digit is ignored";
    EXPECT_TRUE(Type(field, {vk::Return}));
}

TEST(LobbyTextField, AnEmptyOrZeroPortKeepsThePreviousChoice)
{
    EXPECT_EQ(ParsePortText("4752", -1), 0x4752);
    EXPECT_EQ(ParsePortText(" 4 f", -1), 0x4F);
    EXPECT_EQ(ParsePortText("", 0x4751), 0x4751);
    EXPECT_EQ(ParsePortText("  ", -1), -1);
    EXPECT_EQ(ParsePortText("0000", 0x4751), 0x4751);
}
