#pragma once

// One typed field of the lobby: the server name, the player name or the port. Keys come from
// the window's key listeners; a field that is not being edited takes none.

#include <cstdint>
#include <string>
#include <string_view>

class LobbyTextField
{
public:
    enum class Kind
    {
        Name,  // letters (lower case unless Shift is held), digits and blanks
        Port,  // hex digits and blanks
    };
    static constexpr size_t kMaxNameLength = 16;
    static constexpr size_t kMaxPortLength = 4;

    explicit LobbyTextField(Kind kind) : kind_(kind) {}

    void BeginEditing(std::string_view text);
    void EndEditing() { editing_ = false; }
    bool IsEditing() const { return editing_; }
    const std::string& Text() const { return text_; }
    void SetText(std::string_view text) { text_ = text; }

    // A key went down or up (kKeyWentDown / kKeyWentUp). True when Enter ended the editing:
    // the caller then takes the text.
    bool OnKey(uint32_t kind, uint32_t key);

private:
    size_t MaxLength() const { return kind_ == Kind::Port ? kMaxPortLength : kMaxNameLength; }
    char Typed(uint32_t key) const;

    Kind kind_;
    std::string text_;
    bool editing_ = false;
    bool shift_ = false;
};

// The hex value of a typed port text (blanks ignored); nothing when it holds no digit or
// gives port 0, which no session can use.
int32_t ParsePortText(std::string_view text, int32_t previous);
