#pragma once

// The circuit information page: the chosen circuit's picture, name, length, rain prognosis and
// grip, the weather of the coming session and the lap records of the three classes. The main
// menu shows it as a page; the pre-race, set-up and pit-box screens draw it too. Main thread
// only.

#include <cstdint>
#include <string>

#include "frontend/toolkit/Gadget.h"

class MenuState;

class CircuitInfoScreen
{
public:
    // Loads the pictures that are not loaded yet, remembers the settings and the weather slot
    // of the session (min(session / 2, 2)), and registers the OK button on the owner.
    static void Open(GadgetList& owner, const MenuState& settings, int32_t session);
    // Frees the button and headline pictures.
    static void Close();
    // Clipped to the active repaint list.
    static void Draw();
    static Gadget& OkGadget();
    static int32_t WeatherSlot();

    // The record holder's name as the page shows it: a name wider than the column becomes its
    // initial, a point and the surname.
    static std::string ShortenedName(const std::string& name, int32_t (*width)(const char*));

    // The circuit's picture name (by CircuitId), "" for none.
    static const char* PictureName(int32_t circuit);
};
