#pragma once
// A check box that shows an option kept in a file of its own (the cover's
// update option, the input-method option of the help).
#include <functional>

#include "core/forms.h"

namespace session {

class OptionBox {
public:
    explicit OptionBox(core::Control& box) : box_(box) {}

    // Sets the box to the option as its file holds it; a change of the value
    // runs the box's click, as every change does.
    void show(bool storedOn);
    // For the box's click: stores the box's value through `write` (true when
    // written). When that fails and the value differs from the stored one,
    // the candidate's choice is lost: the box goes back to the stored value
    // and the candidate is told. Returns false when the click has nothing to
    // apply (the value was not kept, or this is the box being set back).
    bool save(const std::function<bool(bool on)>& write);

private:
    core::Control& box_;
    bool storedOn_ = false;   // the option as the file holds it
    bool restoring_ = false;  // the box is set back after a failed write
};

} // namespace session
