#pragma once
// Small helpers shared by the practice window's source files.
#include "core/state.h"
#include "engine/step_record.h"

namespace engine::detail {

inline double sx() { return core::config().ScaleX; }
inline double sy() { return core::config().ScaleY; }
// The step record as it stands now: handlers that advance the step read the
// new record from then on, so every statement reads it afresh.
inline StepRecord rec() { return StepRecord(core::session().StepLine); }

} // namespace engine::detail
