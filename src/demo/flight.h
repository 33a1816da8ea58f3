#pragma once
// The one flight rule of the demonstration's drawn pointer, shared by every
// flight: the main flight, second legs, the image drop, the rows of the
// drawn menus and context menus. Pure functions of the flight's fields.
#include <cstdint>

namespace demo {

struct Flight {
    int32_t pointerX = 0, pointerY = 0;  // the pointer's reference point, twips
    int32_t targetX = 0, targetY = 0;
    double stepLen = 0;                  // twips per tick along the major axis
    int16_t stepDX = 0, stepDY = 0;      // signed move per tick
};

// Nearest whole number, halves to even, as a 16-bit integer; a value
// outside the 16-bit range raises RuntimeError 6.
int16_t cint16(double v);

// From the pointer to the target: StepLen one fifteenth of the distance,
// the major axis (the vertical one on an exact diagonal) moving
// CInt(StepLen) per tick and the minor one in proportion. A flight of
// length 0 gets both steps 0, so it arrives at its first tick.
void FlightSetup(Flight& f);

// One tick's move of the pointer.
void FlightMove(Flight& f);

// The pointer counts as arrived when it is within 1.2 x StepLen of the
// target on both axes, or closer than 1.5 x StepLen, or closer than
// 120 x scaleX twips.
bool ArrivalTest(const Flight& f, double scaleX);

} // namespace demo
