#pragma once

// The names of the telemetry screen's own files in the menu archive, per circuit key (the
// circuit's file stem): the two views' backgrounds, the flat track object of the 3D view and
// its pictures, the slot label strip, the channel icons, the pull-downs and the buttons.

#include <string>
#include <string_view>

namespace telemetry_files
{
inline constexpr const char* kSlotLabels = "datarec/datatexte.bmp";
inline constexpr const char* kChannelIcons = "datarec/DataAnis.bmp";
inline constexpr const char* kPulldowns = "datarec/Pulldowns.bmp";
inline constexpr const char* kButtons = "datarec/ButtonsI.bmp";
inline constexpr const char* kLitButtons = "datarec/ButtonsA.bmp";

inline std::string GraphBackground(std::string_view circuit)
{
    return "datarec/BackGrounds/Dat" + std::string(circuit) + ".jpg";
}
inline std::string SceneBackground(std::string_view circuit)
{
    return "datarec/BackGrounds/Dat2" + std::string(circuit) + ".jpg";
}
inline std::string FlatTrackObject(std::string_view circuit)
{
    return "datarec/Objects/" + std::string(circuit) + "_flat_s.4do";
}
inline std::string TrackPictures(std::string_view circuit)
{
    return "datarec/tex/" + std::string(circuit) + ".tex";
}
}  // namespace telemetry_files
