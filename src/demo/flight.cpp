#include "demo/flight.h"

#include <cmath>
#include <cstdlib>

#include "core/errors.h"

namespace demo {

int16_t cint16(double v) {
    const double r = std::nearbyint(v);  // the default rounding mode: halves to even
    if (!(r >= -32768 && r <= 32767)) throw core::RuntimeError(core::ErrOverflow, "overflow");
    return static_cast<int16_t>(r);
}

void FlightSetup(Flight& f) {
    const double dx = double(f.targetX) - f.pointerX;
    const double dy = double(f.targetY) - f.pointerY;
    f.stepLen = std::sqrt(dx * dx + dy * dy) / 15;
    const double adx = std::fabs(dx), ady = std::fabs(dy);
    int16_t sdx = 0, sdy = 0;
    if (adx == 0 && ady == 0) {
        sdx = sdy = 0;
    } else if (ady >= adx) {
        sdx = cint16(adx * f.stepLen / ady);
        sdy = cint16(f.stepLen);
    } else {
        sdx = cint16(f.stepLen);
        sdy = cint16(ady * f.stepLen / adx);
    }
    if (f.targetX < f.pointerX) sdx = int16_t(-sdx);
    if (f.targetY < f.pointerY) sdy = int16_t(-sdy);
    f.stepDX = sdx;
    f.stepDY = sdy;
}

void FlightMove(Flight& f) {
    f.pointerX += f.stepDX;
    f.pointerY += f.stepDY;
}

bool ArrivalTest(const Flight& f, double scaleX) {
    const double dx = double(f.pointerX) - f.targetX, dy = double(f.pointerY) - f.targetY;
    const double d = std::sqrt(dx * dx + dy * dy);
    const bool away = (std::fabs(dx) > 1.2 * f.stepLen || std::fabs(dy) > 1.2 * f.stepLen) && d >= 1.5 * f.stepLen &&
                      d >= 120 * scaleX;
    return !away;
}

} // namespace demo
