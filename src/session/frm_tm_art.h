#pragma once
// Pictures that belong to the question window's design, drawn once.
#include "core/pictures.h"

namespace session::art {

core::Picture titleStrip();         // 330 x 25, with the minimise symbol
core::Picture minimisedBar();       // 54 x 58
core::Picture minimiseHover();      // 21 x 21
core::Picture photoPlaceholder();   // 138 x 188
core::Picture facePlaceholder();    // 63 x 24

} // namespace session::art
