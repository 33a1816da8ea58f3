#pragma once
// Small helpers shared by the cover's source files.
#include <QString>
#include <cstdint>

#include "core/forms.h"
#include "core/state.h"

namespace cover::detail {

// Colour of the information page's links when the pointer is not on them.
constexpr uint32_t kPlainInfoColour = 0x7C5C2B;

inline QString tr8(const char* s) { return QString::fromUtf8(s); }

// Design measures scaled to the screen.
inline double X(double v) { return v * core::config().ScaleX; }
inline double Y(double v) { return v * core::config().ScaleY; }

// A command button's face picture: kind "l020" normal, then the button's
// number in two digits.
QString faceFile(int index, const QString& kind);

inline void setCaptionFit(core::Control& c, const QString& text) {
    c.setCaption(text);
    c.fitToCaption();
}

} // namespace cover::detail
