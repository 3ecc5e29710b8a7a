#include "program/StartupMessages.h"

#include <array>

namespace
{
// Each text is the message as it always read, typing errors included.
constexpr std::array<std::string_view, kLanguageCount> kRenderLibraryFailed = {
    "Das Programm oder das System sind m\xF6glicherweise falsch konfiguriert.\n"
    "Bitte schauen sie nach, ob ihre 3D-Grafikkarte richtig installiert ist oder der Treiber\n"
    "aktualisiert werden mu\xDF.",
    "Program or system is probably wrong configured.\n"
    "Please check to see if your 3D-card and/or the newest drivers are installed properly.",
};
constexpr std::array<std::string_view, kLanguageCount> kErrorIn = {"Fehler in ", "Error in "};

constexpr std::array<std::string_view, kLanguageCount> kResolutionFailed = {
    "Fehler beim anfordern des Bildschirmaufl\xF6sung",
    "Requested resolution not available",
};

size_t Column(Language language)
{
    return language == Language::English ? 1 : 0;
}
}  // namespace

std::string RenderLibraryFailedMessage(Language language, std::string_view libraryName)
{
    const size_t column = Column(language);
    std::string text(kErrorIn[column]);
    text += libraryName;
    text += '\n';
    text += kRenderLibraryFailed[column];
    return text;
}

std::string_view ResolutionFailedMessage(Language language)
{
    return kResolutionFailed[Column(language)];
}
