#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/settings/MenuState.h"

namespace
{
void PutLe32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
    {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void PutText(std::vector<uint8_t>& bytes, size_t offset, const std::string& text)
{
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<ptrdiff_t>(offset));
}

// The defaults of a first start, written out byte by byte.
std::vector<uint8_t> DefaultImage()
{
    std::vector<uint8_t> bytes(5360, 0);
    PutLe32(bytes, 4, 1);
    PutLe32(bytes, 8, 20);
    PutLe32(bytes, 32, 25);
    for (size_t offset = 36; offset <= 42; ++offset)
    {
        bytes[offset] = 1;  // free choice, the five choices allowed, name display
    }
    bytes[50] = bytes[53] = bytes[54] = bytes[60] = 1;
    PutLe32(bytes, 68, 5);
    PutLe32(bytes, 72, 25);
    PutLe32(bytes, 76, 1);
    PutLe32(bytes, 88, 0x3F800000);  // 1.0
    PutLe32(bytes, 96, 600);
    bytes[100] = 2;
    bytes[110] = 1;
    bytes[111] = 2;
    bytes[112] = 3;
    bytes[118] = 1;
    bytes[119] = 1;
    std::fill(bytes.begin() + 152, bytes.begin() + 386, 0xFF);    // weekend best, order
    std::fill(bytes.begin() + 516, bytes.begin() + 2596, 0xFF);   // session times
    std::fill(bytes.begin() + 4676, bytes.begin() + 5144, 0xFF);  // championship places
    PutText(bytes, 5144, "Server1");
    PutText(bytes, 5164, "Spieler");
    PutLe32(bytes, 5184, 0xFFFFFFFF);
    PutLe32(bytes, 5196, 1);
    PutLe32(bytes, 5200, 1);
    PutLe32(bytes, 5212, 3);
    PutLe32(bytes, 5216, 2);
    PutLe32(bytes, 5228, 25);
    std::fill(bytes.begin() + 5323, bytes.begin() + 5341, 0xFF);
    const uint8_t controls[] = {'A', 'Y', 0x25, 0x27, 8, 0x26, 0x28, 'S', 'D', 0x32, 0x64, 0x50};
    std::copy(std::begin(controls), std::end(controls), bytes.begin() + 5347);
    return bytes;
}

std::vector<uint8_t> ImageOf(const MenuState& state)
{
    return {state.Bytes().begin(), state.Bytes().end()};
}

TEST(MenuStateTest, DefaultsAreThoseOfAFirstStart)
{
    EXPECT_EQ(ImageOf(MenuState()), DefaultImage());
    EXPECT_EQ(MenuState().Controls(), ControlMap());
}

TEST(MenuStateTest, ValuesLieLittleEndianAtTheirOffsetsAlignedOrNot)
{
    MenuState state;
    state.SetU32At(5341, 0x11223344);
    state.SetU16At(5345, 0xABCD);
    state.SetF32At(88, -2.5f);
    state.SetI8At(5330, -3);
    const std::vector<uint8_t> image = ImageOf(state);
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 5341, image.begin() + 5347),
              (std::vector<uint8_t>{0x44, 0x33, 0x22, 0x11, 0xCD, 0xAB}));
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 88, image.begin() + 92),
              (std::vector<uint8_t>{0x00, 0x00, 0x20, 0xC0}));
    EXPECT_EQ(image[5330], 0xFD);
    EXPECT_EQ(state.U32At(5341), 0x11223344u);
    EXPECT_EQ(state.U16At(5345), 0xABCD);
    EXPECT_EQ(state.F32At(88), -2.5f);
    EXPECT_EQ(state.I8At(5330), -3);
}

TEST(MenuStateTest, ControlMapIsTheTwelveBytesFrom5347)
{
    MenuState state;
    const ControlMap controls{.throttle = 1,
                              .brake = 2,
                              .left = 3,
                              .right = 4,
                              .clutchSelector = 5,
                              .shiftUp = 6,
                              .shiftDown = 7,
                              .wheelie = 8,
                              .lookBack = 9,
                              .throttleSensitivity = 10,
                              .brakeSensitivity = 11,
                              .steeringSensitivity = 12};
    state.SetControls(controls);
    const std::vector<uint8_t> image = ImageOf(state);
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 5347, image.begin() + 5360),
              (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0}));
    EXPECT_EQ(state.Controls(), controls);
}

// Names are read up to their first zero byte, never past their 20-byte field.
TEST(MenuStateTest, NamesStayWithinTheirFields)
{
    MenuState state;
    state.SetServerName(std::string(30, 's'));
    state.SetPlayerName("Fahrer \xE4");
    EXPECT_EQ(state.ServerName(), std::string(19, 's'));
    EXPECT_EQ(state.PlayerName(), "Fahrer \xE4");
    std::fill_n(state.Bytes().begin() + MenuState::kServerNameOffset, 40, uint8_t{'x'});
    EXPECT_EQ(state.ServerName(), std::string(20, 'x'));
    EXPECT_EQ(state.PlayerName(), std::string(20, 'x'));
    EXPECT_EQ(state.U32At(MenuState::kNetworkChoiceOffset), 0xFFFFFFFFu);
}
}  // namespace
