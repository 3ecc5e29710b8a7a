#include "kit/settings/MenuStateWriter.h"

#include <algorithm>
#include <span>
#include <vector>

#include "core/files/FileSystem.h"

namespace kit
{
namespace
{
bool WriteFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error)
{
    if (!files::ReplaceAtomically(path, bytes))
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
}  // namespace

bool WriteMenuState(const std::string& path, const MenuState& state, std::string& error)
{
    return WriteFile(path, state.Bytes(), error);
}

bool WriteOldMenuState(const std::string& path, const MenuState& state, const OldControlKeys& keys,
                       std::string& error)
{
    std::vector<uint8_t> bytes(MenuState::kOldSize, 0);
    std::copy_n(state.Bytes().begin(), MenuState::kControlMapOffset, bytes.begin());
    std::ranges::copy(keys, bytes.begin() + MenuState::kOldControlKeysOffset);
    return WriteFile(path, bytes, error);
}
}  // namespace kit
