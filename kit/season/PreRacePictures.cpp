#include "kit/season/PreRacePictures.h"

#include <array>

#include "kit/menu/MenuCanvas.h"
#include "kit/picture/BmpWriter.h"

namespace kit
{
namespace
{
constexpr int kSheetWidth = 66;
constexpr int kSheetHeight = 103;

struct SheetButton
{
    int top;
    int height;
    const char* label;
};
constexpr std::array<SheetButton, 3> kButtons = {{
    {0, 29, "BACK"},
    {29, 36, "SETUP"},
    {65, 38, "START"},
}};

RgbaPicture ButtonSheet(bool lit)
{
    const uint32_t face = lit ? 0xDCB43C : 0x50648C;
    const uint32_t label = lit ? 0x282828 : 0xFFFFFF;
    MenuCanvas canvas(kSheetWidth, kSheetHeight, 0x101010);
    for (const SheetButton& button : kButtons)
    {
        const Box box{0, button.top, kSheetWidth, button.top + button.height};
        canvas.Bevel(box, face, false);
        canvas.Label(box, button.label, 1, label);
    }
    return canvas.Picture();
}
}  // namespace

bool AddPreRacePictures(CprWriter& menuArchive, std::string& error)
{
    return menuArchive.Add("streckeninfo/ButtonsA.bmp", WriteBmp24(ButtonSheet(false)),
                           MemberStorage::Stored, error) &&
           menuArchive.Add("streckeninfo/ButtonsH.bmp", WriteBmp24(ButtonSheet(true)),
                           MemberStorage::Stored, error);
}
}  // namespace kit
