#include "app/config/ConfigBlock.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/util/LittleEndian.h"

namespace
{
constexpr size_t kDisplayModeWords = 5;
}

ConfigBlock::ConfigBlock()
{
    SetI32At(kSoundRateIndexOffset, 1);
    SetI32At(kSoundBufferIndexOffset, 2);
    SetI32At(kUnreadWordOffset, 16);
    SetU8At(kDisplayOptionOffset, 1);
}

int32_t ConfigBlock::I32At(size_t offset) const
{
    assert(offset + 4 <= kSize);
    return static_cast<int32_t>(LoadLe32(&bytes_[offset]));
}

void ConfigBlock::SetI32At(size_t offset, int32_t value)
{
    assert(offset + 4 <= kSize);
    StoreLe32(&bytes_[offset], static_cast<uint32_t>(value));
}

std::string_view ConfigBlock::TextAt(size_t offset) const
{
    const auto field = std::span(bytes_).subspan(offset, kTextSize);
    const auto end = std::ranges::find(field, 0);
    return {reinterpret_cast<const char*>(field.data()), static_cast<size_t>(end - field.begin())};
}

void ConfigBlock::SetTextAt(size_t offset, std::string_view text)
{
    const size_t length = std::min(text.size(), kTextSize - 1);
    std::fill_n(&bytes_[offset], kTextSize, uint8_t{0});
    std::memcpy(&bytes_[offset], text.data(), length);
}

DisplayModeRecord ConfigBlock::DisplayMode() const
{
    std::array<int32_t, kDisplayModeWords> words;
    for (size_t i = 0; i < kDisplayModeWords; ++i)
    {
        words[i] = I32At(kDisplayModeOffset + 4 * i);
    }
    return {words[0], words[1], words[2], words[3], words[4]};
}

void ConfigBlock::SetDisplayMode(const DisplayModeRecord& mode)
{
    const std::array<int32_t, kDisplayModeWords> words = {
        mode.width, mode.height, mode.bitsPerPixel, mode.refreshHz, mode.reserved};
    for (size_t i = 0; i < kDisplayModeWords; ++i)
    {
        SetI32At(kDisplayModeOffset + 4 * i, words[i]);
    }
}
