#pragma once

// Screenshots: the 640 x 480 screen as a 24-bit bitmap file below "graps/".

#include <cstdint>
#include <string>
#include <vector>

#include "render/RenderApi.h"

inline constexpr int32_t kScreenshotWidth = 640;
inline constexpr int32_t kScreenshotHeight = 480;

// "graps/Grap_000.bmp" for 0: the number with at least three digits.
std::string ScreenshotFileName(uint32_t number);

// The whole bitmap file of a locked 640 x 480 frame buffer of 5-6-5 pixels.
std::vector<uint8_t> ScreenshotFile(const LfbInfo& frameBuffer);
