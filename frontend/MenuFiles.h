#pragma once

// Folders and scratch files that the menus look after.

#include <string_view>

// Creates every folder along the path ('/' or '\' separated); true when the path is a folder
// afterwards.
bool MakeDirectoryPath(std::string_view path);

// Deletes the lap files "Tempdaten/Daten_Runde1.fhr" to "Tempdaten/Daten_Runde99.fhr" of an
// earlier session.
void DeleteLapFiles();
