#pragma once

// The two menu text files, read whole from the data archive and kept until they are freed:
// "MainMenu/streckendaten.txt" fills the circuit text records, "MainMenu/MenuDaten.txt" is
// split into its sections. A missing file is not reported: the circuits then show the
// defaults, and there are no sections. Main thread only.

#include <span>

#include "frontend/toolkit/CircuitTexts.h"
#include "frontend/toolkit/MenuDataSections.h"

// Frees what an earlier call read, then reads both files.
void ReadMenuTexts();
// Frees both files; the circuit records show the defaults again.
void FreeMenuTexts();

// By CircuitId. The championship takes better lap records over into them.
std::span<CircuitTextRecord, kCircuitCount> CircuitTexts();
std::span<const MenuDataSection> MenuDataSections();
