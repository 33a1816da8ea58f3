#pragma once
// Helpers shared by the demonstration window's source files.
#include <QString>
#include <optional>

#include "core/pictures.h"
#include "core/state.h"
#include "core/text.h"
#include "engine/step_record.h"

namespace demo::detail {

inline double sx() { return core::config().ScaleX; }
inline double sy() { return core::config().ScaleY; }
// The step record as StepLine holds it now (a nested set-up may have
// replaced it).
inline engine::StepRecord rec() { return engine::StepRecord(core::session().StepLine); }
inline QString actionCode() { return rec().actionCode(); }
// A control's centre, in single precision, made whole halves to even.
inline int32_t centre(double pos, double size) {
    return int32_t(core::roundHalfEven(double(float(pos + size / 2))));
}
// Runs one statement; a failing one is skipped.
void st(const std::function<void()>& statement);
// A cursor or pointer picture of the program folder, read once per run.
std::optional<core::Picture> cachedPicture(const QString& path);

} // namespace demo::detail
