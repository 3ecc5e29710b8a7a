#pragma once

// The demo installation's movies "Movies/Intro.mpg" and "Movies/racewon.mpg": two seconds of
// moving colour bars with a tone each, encoded when the installation is written.

#include <string>

namespace kit
{
bool WriteDemoMovies(const std::string& directory, std::string& error);
}  // namespace kit
