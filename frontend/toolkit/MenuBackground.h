#pragma once

// The full-screen picture behind the menu screens, kept loaded from screen to screen so that
// a screen with the same picture loads nothing. Main thread only.

#include <string>

struct Texture;

class MenuBackground
{
public:
    MenuBackground() = default;
    ~MenuBackground();
    MenuBackground(const MenuBackground&) = delete;
    MenuBackground& operator=(const MenuBackground&) = delete;

    // A ".jpg" or ".bmp" of the current archive. Names are compared from their ends, case
    // folded, so "a/B.jpg" and "A/b.JPG" are one picture.
    void Set(const char* name);
    const std::string& Name() const { return name_; }
    void Free();
    // The whole picture, clipped to the active repaint list.
    void Draw() const;
    Texture* Picture() const { return picture_; }

private:
    Texture* picture_ = nullptr;
    std::string name_;
};

extern MenuBackground g_menuBackground;

void SetMenuBackground(const char* name);
const char* GetMenuBackgroundName();
void FreeMenuBackground();
