#pragma once

// What the motion tests share: a scripted platform that records message boxes, and a fresh
// working folder from which clips are read as plain files (no menu archive is mounted).

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/files/FileSystem.h"
#include "kit/motion/MotionCacheWriter.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/support/TestDirectory.h"

class MotionTest : public ::testing::Test
{
protected:
    // path is a game path (Windows-1252).
    static void WriteGameFile(const std::string& path, const std::vector<uint8_t>& bytes)
    {
        const size_t slash = path.rfind('/');
        ASSERT_TRUE(slash == std::string::npos || files::MakeDirectories(path.substr(0, slash)));
        ASSERT_TRUE(files::ReplaceAtomically(path, bytes));
    }

    static std::vector<uint8_t> ReadGameFile(const std::string& path)
    {
        return files::ReadAll(path).value_or(std::vector<uint8_t>{});
    }

    ScriptedPlatform platform_;
    ScopedPlatform scopedPlatform_{platform_};
    TestDirectory directory_;
};

// A clip of frameCount frames whose every track holds its frame's number times the step
// given for the track and component: track t (0 the root, 1 + p part p, 14 and 15 the bike's
// positions and angles), component c.
kit::ClipSlots NumberedClip(int32_t frameCount);
int16_t NumberedValue(int32_t track, int32_t component, int32_t frame);
