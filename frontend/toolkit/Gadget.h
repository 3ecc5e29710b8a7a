#pragma once

// Gadgets: the clickable rectangles of the menu screens, usually static data of the screen
// that owns them, registered on an owner (a menu frame) whose list they join newest first.
// Main thread only.

#include <cstdint>

class DirtyRectList;

struct Gadget
{
    uint32_t soundEvent = 0;  // entry of the menu-sound table
    // Pictures in the owner's picture table, -1 for none; each screen maps them itself.
    int8_t normalPicture = -1;
    int8_t hoverPicture = -1;
    int8_t pressedPicture = -1;
    uint8_t spare = 0;
    // Where the gadget's picture lies inside its picture sheet.
    uint16_t sourceX = 0;
    uint16_t sourceY = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t screenX = 0;
    uint16_t screenY = 0;
    uint8_t hover = 0;
    uint8_t pressed = 0;
    uint8_t drawFlag = 0;  // handed to the bitmap drawing: non-zero skips black pixels
    // A gadget that is not visible is neither drawn nor hit: it is the enabled switch too.
    uint8_t visible = 0;
    uint8_t kind = 0;
    Gadget* next = nullptr;  // the owner's list
};

// A visible gadget without pictures covering the rectangle: a click area that its owner draws.
Gadget VisibleGadget(int32_t x, int32_t y, int32_t width, int32_t height);

// Kind bit 0: the gadget lights up, with the hover sound, while the pointer is over it.
inline constexpr uint8_t kGadgetHighlight = 0x01;

// The gadgets of one owner, newest first.
struct GadgetList
{
    Gadget* head = nullptr;
};

// Pushes the gadget onto the owner's list with the kind and clears its hover and pressed
// states. A gadget must be on one list at most.
void AddGadget(GadgetList& owner, Gadget& gadget, uint8_t kind);
void AddPlainGadget(GadgetList& owner, Gadget& gadget);

bool ContainsPoint(const Gadget& gadget, int32_t x, int32_t y);

// The first visible gadget of the list (newest first) under the point, or null.
Gadget* FindGadgetAt(const GadgetList& owner, int32_t x, int32_t y);

// The highlight follows the hit gadget (null: none) among the owner's gadgets of kind bit 0;
// each gadget that lights up or goes dark is marked in both lists. Returns the gadget that
// has just lit up, for its hover sound, or null.
Gadget* UpdateGadgetHover(GadgetList& owner, const Gadget* hit, DirtyRectList& first,
                          DirtyRectList& second);

// Marks the gadget's rectangle for repainting in both lists.
void MarkGadgetDirty(const Gadget& gadget, DirtyRectList& first, DirtyRectList& second);
