#pragma once

// What the head-up display, the TV pages and the title pages draw on: the render library's 2D
// calls with the display's own fonts and pictures named instead of handed around as handles,
// so that every panel can be drawn from plain inputs and its calls read back. Main thread only.

#include <cstdint>

enum class HudFont
{
    Name,              // balmoral16, kerning
    Time,              // balmoral16, fixed
    Digital,           // digi3
    Tv1,               // tvfont1, proportional
    Tv3,               // tvfont3, proportional
    Tv3Fixed,          // tvfont3, fixed
    SmallYellow,       // tvkleingelb
    InstrumentDigits,  // Anzeigefont
    // The front end's race fonts.
    Balmoral,
    BigDigits,
    Tv,
    Zeichen,  // pictograms
};
inline constexpr int kHudFontCount = 12;

enum class HudPicture
{
    Logo,
    InstrumentCalm,     // a1
    InstrumentRedline,  // a2
    InstrumentDigits,   // the instrument digits' sheet
    StartLights,
    CurveSign,  // index 0..7
    KeyLamps,
    Portrait,  // index = rider
};

struct PictureRef
{
    HudPicture picture;
    int index = 0;
};

enum class TextAlign : int32_t
{
    Left = 1,
    Right = 2,
    Centre = 3,
};

// The texture number of a solid rectangle.
inline constexpr int32_t kSolidTexture = -1;
// Every translucent band and the pause dimming.
inline constexpr int32_t kBandAlpha = 120;

class HudCanvas
{
public:
    virtual ~HudCanvas() = default;

    virtual void SetFont(HudFont font) = 0;
    // Texts are Windows-1252 and zero-terminated.
    virtual void Text(int32_t x, int32_t y, const char* text, TextAlign align) = 0;
    virtual void ColourText(int32_t x, int32_t y, uint32_t colour, const char* text,
                            TextAlign align) = 0;
    // In the font set last.
    virtual int32_t TextWidth(const char* text) = 0;
    // 0 for a picture that is not loaded: it draws nothing.
    virtual int32_t PictureWidth(PictureRef picture) = 0;
    virtual int32_t PictureHeight(PictureRef picture) = 0;
    virtual void Picture(PictureRef picture, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                         int32_t width, int32_t height) = 0;
    // u, v, du, dv as fractions of the texture.
    virtual void Rect(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height, float u,
                      float v, float du, float dv, int32_t alpha) = 0;
    virtual void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) = 0;
    virtual void Clip(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;

    // A translucent dark band.
    void Band(int32_t x, int32_t y, int32_t width, int32_t height)
    {
        Rect(kSolidTexture, x, y, width, height, 0.0f, 0.0f, 0.0f, 0.0f, kBandAlpha);
    }
};
