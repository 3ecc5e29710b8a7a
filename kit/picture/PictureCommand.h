#pragma once

// zarvo-kit picture: shows what the render library makes of a picture file by decoding it with
// the library's own readers and writing the result as a 24-bit bitmap.

#include <string>

namespace kit
{

// False, with the reason, when the input cannot be read, the library would refuse it, or the
// output cannot be written.
bool DecodePictureToBmp(const std::string& input, const std::string& output, std::string& error);

}  // namespace kit
