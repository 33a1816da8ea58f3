#pragma once
// Small helpers shared by the practice window's source files.
#include "core/errors.h"
#include "core/forms.h"
#include "core/pictures.h"
#include "core/state.h"
#include "engine/step_record.h"

namespace engine::detail {

inline double sx() { return core::config().ScaleX; }
inline double sy() { return core::config().ScaleY; }
// The step record as it stands now: handlers that advance the step read the
// new record from then on, so every statement reads it afresh.
inline StepRecord rec() { return StepRecord(core::session().StepLine); }

// Index checks of the per-question tables: a statement that uses an index
// outside its table fails (and is skipped by the caller).
inline int questionIndex(int q, int upper) {
    if (q < 1 || q > upper) throw core::RuntimeError(core::ErrSubscriptOutOfRange, "question index out of range");
    return q;
}

// A picture of the data folder by its number; one that cannot be loaded fails.
inline core::Picture dataPicture(const QString& number) {
    return core::loadPictureOrThrow(core::config().dataFile(number));
}

} // namespace engine::detail

// Names every source file of the practice window uses.
namespace engine {
using core::Control;
using core::Kind;
using core::resumeNext;
using detail::dataPicture;
using detail::questionIndex;
using detail::rec;
using detail::sx;
using detail::sy;
} // namespace engine
