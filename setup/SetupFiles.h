#pragma once

// The player's named set-ups: one file per set-up in the folder of its class,
// "save/setup/Klasse%i" with the class number, each file one set-up stream. The player's last
// set-up, "setup.tmp", has the same form. Set-ups of one class are not offered for another.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/game/GameEnums.h"
#include "race/BikeRecord.h"

inline constexpr size_t kMaxSetupNameLength = 31;

std::string SetupClassDirectory(BikeClass bikeClass);

// The file of the named set-up of the class. Nothing for a name that is empty, longer than
// 31 bytes, or that would reach out of the class's folder ("." and "..", or a path separator).
std::optional<std::string> SetupFilePath(BikeClass bikeClass, std::string_view name);

// Replaces the file with the set-up's stream; an existing file stays whole until the new one
// is complete. False when it cannot be written.
bool WriteSetupFile(std::string_view path, const BikeSetup& setup);

// Takes the file's stream into the set-up (see LoadSetupStream). False, with the set-up
// unchanged, when the file is missing, unreadable or shorter than a stream.
bool ReadSetupFile(std::string_view path, BikeSetup& setup);
