#pragma once

// The menu toolkit's part of the demo installation: the circuit texts and menu data in the
// data archive, the toolkit's pictures in the menu archive. German and English texts,
// Windows-1252.

#include <string>
#include <vector>

#include "kit/DemoInstallation.h"
#include "kit/menu/MenuTextWriter.h"

namespace kit
{
// One record per circuit, in CircuitId order.
std::vector<CircuitText> DemoCircuitTexts();
// One section per class.
std::vector<MenuDataText> DemoMenuData();

bool AddDemoMenu(DemoArchives& archives, std::string& error);
}  // namespace kit
