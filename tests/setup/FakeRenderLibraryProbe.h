#pragma once

// Render libraries as the 3D-device dialog's tests see them, with the loads and releases
// recorded.

#include <string>
#include <vector>

#include "setup/DeviceSetupDialog.h"

// Two libraries: the software one with one device, and a second with two devices.
class FakeProbe : public RenderLibraryProbe
{
public:
    std::vector<RenderDeviceChoice> Devices(const std::string& library) override
    {
        loaded.push_back(library);
        if (library == "ZarvoGlide2.so")
        {
            return {
                {"Software",
                 {{640, 480, 16, {60, 75}}, {800, 600, 32, {60}}, {1024, 768, 16, {60, 70, 85}}}}};
        }
        if (library == "other.so")
        {
            return {{"First", {{320, 240, 16, {}}}}, {"Second", {{640, 480, 16, {72}}}}};
        }
        return {};
    }
    void Release() override { ++releases; }

    std::vector<std::string> loaded;
    int releases = 0;
};
