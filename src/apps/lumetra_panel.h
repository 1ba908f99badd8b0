// The Lumetra panel: message 4024 and its one key map.
#pragma once

#include <cstdint>

#include "apps/app_record.h"

namespace rc {

struct System;

extern const AppRecord kLumetraPanelApp;

// What the panel and Lumetra Center share: their main windows' class, and
// the key of the product line both are found under when their own is missing.
constexpr const char* kLumetraClass = "OrvalixMainPanel_Class";
constexpr const char* kAmbrelKey = "Software\\Orvalix Multimedia\\Ambrel\\Sorvane";

void LumetraPanelKeyMap(System& sys, std::uint32_t keyCode);
void LumetraPanelCommand(System& sys, std::uint32_t code);

}  // namespace rc
