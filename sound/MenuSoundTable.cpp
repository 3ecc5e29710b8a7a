#include "sound/MenuSoundTable.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/util/LittleEndian.h"

namespace
{
ButtonSound ReadButtonSound(const uint8_t* bytes, uint32_t soundCount)
{
    const uint32_t sound = LoadLe32(bytes);
    return {sound <= soundCount ? sound : 0, std::bit_cast<float>(LoadLe32(bytes + 4)),
            std::bit_cast<float>(LoadLe32(bytes + 8))};
}

void WriteButtonSound(std::vector<uint8_t>& bytes, const ButtonSound& sound)
{
    AppendLe32(bytes, sound.sound);
    AppendLe32(bytes, std::bit_cast<uint32_t>(sound.pitch));
    AppendLe32(bytes, std::bit_cast<uint32_t>(sound.volume));
}
}  // namespace

std::optional<MenuSoundTable> ParseMenuSoundTable(std::span<const uint8_t> bytes)
{
    if (bytes.size() < MenuSoundTable::kHeadSize)
    {
        return std::nullopt;
    }
    const uint32_t count = LoadLe32(bytes.data());
    if (count > MenuSoundTable::kMaxSounds ||
        bytes.size() < MenuSoundTable::kHeadSize + (count + 1) * MenuSoundTable::kFileRecordSize)
    {
        return std::nullopt;
    }
    MenuSoundTable table;
    for (size_t i = 0; i < MenuSoundTable::kButtonCount; ++i)
    {
        const uint8_t* entry = bytes.data() + 4 + i * MenuSoundTable::kEntrySize;
        table.buttons[i] = {ReadButtonSound(entry, count), ReadButtonSound(entry + 12, count)};
    }
    table.files.assign(count + 1, std::string());
    for (uint32_t i = 1; i <= count; ++i)
    {
        const auto* name = reinterpret_cast<const char*>(bytes.data() + MenuSoundTable::kHeadSize +
                                                         i * MenuSoundTable::kFileRecordSize);
        table.files[i].assign(name, strnlen(name, MenuSoundTable::kNameSize - 1));
    }
    return table;
}

std::vector<uint8_t> BuildMenuSoundTable(const MenuSoundTable& table)
{
    const uint32_t count = std::min(table.SoundCount(), MenuSoundTable::kMaxSounds);
    std::vector<uint8_t> bytes;
    bytes.reserve(MenuSoundTable::kHeadSize + (count + 1) * MenuSoundTable::kFileRecordSize);
    AppendLe32(bytes, count);
    for (const ButtonSoundEntry& entry : table.buttons)
    {
        WriteButtonSound(bytes, entry.highlighted);
        WriteButtonSound(bytes, entry.pressed);
    }
    for (uint32_t i = 0; i <= count; ++i)
    {
        const std::string& name = table.files[i];
        const size_t start = bytes.size();
        bytes.resize(start + MenuSoundTable::kFileRecordSize, 0);
        std::memcpy(bytes.data() + start, name.data(),
                    std::min(name.size(), MenuSoundTable::kNameSize - 1));
    }
    return bytes;
}
