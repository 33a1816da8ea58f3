#pragma once
// The typing step's input box as both the practice and the demonstration
// window lay it out from the current step record.
#include <QString>
#include <functional>

#include "core/forms.h"

namespace engine {

// Runs one statement of a set-up; a failing one is skipped (each window
// passes its own runner).
using StatementRunner = std::function<void(const std::function<void()>&)>;

// The box's initial text: the text-table entry `reference` names, up to its
// first "|" ("000": the empty text).
QString initialInputText(const QString& reference);

// The 9-point default, then the format field of the current step record:
// alignment, size, style, font and colours, each scaled size by ScaleX. A
// value outside its table leaves that property as it was. Every statement
// reads the record afresh and goes through `run`.
void applyInputFormat(core::Control& box, const StatementRunner& run);

} // namespace engine
