#include "session/option_box.h"

#include "core/ui.h"
#include "session/end_practice.h"

namespace session {

void OptionBox::show(bool storedOn) {
    storedOn_ = storedOn;
    box_.setValue(storedOn ? 1 : 0);
}

bool OptionBox::save(const std::function<bool(bool on)>& write) {
    if (restoring_) return false;
    const bool ticked = box_.value() == 1;
    if (write(ticked)) {
        storedOn_ = ticked;
        return true;
    }
    if (ticked == storedOn_) return true;
    restoring_ = true;
    box_.setValue(storedOn_ ? 1 : 0);
    restoring_ = false;
    core::MsgBox(QString::fromUtf8(kRecordsNotSaved), core::MbOkOnly | core::MbExclamation);
    return false;
}

} // namespace session
