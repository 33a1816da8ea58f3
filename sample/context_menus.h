#pragma once
// The context-menu file "sMenu.sys" of the sample module: Word 2003's
// context menus in four sets of nine 15-line blocks.
#include <QStringList>

namespace sample {

// The 540 lines of the file; unused rows and blocks hold "0".
QStringList contextMenuLines();

} // namespace sample
