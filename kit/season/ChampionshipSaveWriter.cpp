#include "kit/season/ChampionshipSaveWriter.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "core/files/FileSystem.h"
#include "core/util/LittleEndian.h"
#include "setup/SetupStream.h"

namespace kit
{
namespace
{
constexpr size_t kHeadSize = 520;
}

bool WriteChampionshipSave(const std::string& path, const MenuState& state, const BikeSetup& setup,
                           SaveForm form, std::string& error)
{
    const bool older = form == SaveForm::Older;
    const size_t recordSize = older ? MenuState::kOldSize : MenuState::kSize;
    std::vector<uint8_t> bytes(kHeadSize + recordSize, 0);
    StoreLe32(&bytes[0], static_cast<uint32_t>(recordSize));
    StoreLe32(&bytes[4], older ? 1 : 2);
    std::copy_n(state.Bytes().begin(), older ? MenuState::kControlMapOffset : recordSize,
                bytes.begin() + kHeadSize);
    const SetupStream stream = StoreSetupStream(setup);
    bytes.insert(bytes.end(), stream.begin(), stream.end());

    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if ((!folder.empty() && !files::MakeDirectories(folder.string())) ||
        !files::ReplaceAtomically(path, bytes))
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
}  // namespace kit
