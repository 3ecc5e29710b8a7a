#pragma once

// Loading a shared library by the name the game was given, with the search the game's
// data expects: a name with '/' is used as given; a bare name is looked for in the working
// directory and then beside the executable; a name ending in ".dll" (any case) is tried
// again with ".so".

#include <string_view>

namespace dynlib
{
void* Open(std::string_view name);  // nullptr when no candidate loads; the reason goes to stderr
void* Symbol(void* library, const char* name);
void Close(void* library);
}  // namespace dynlib
