#pragma once
// The picture popup: a borderless topmost window showing the picture of a
// picture question, centred on the screen.
#include <functional>

#include "core/forms.h"

namespace session {

// Starts moving a borderless window with the mouse (the button is down);
// afterMove runs when the move ends, at once when no mover is installed.
void moveWindowWithMouse(core::Form& form, std::function<void()> afterMove = {});

class FrmPicture : public core::Form {
public:
    FrmPicture();

    core::Control& Image1;  // the question's picture; a drag handle of the window
    core::Timer& Timer1;    // fits the window to the picture and centres it

private:
    void Form_Load();
    void Timer1_Timer();
};

core::FormSlot<FrmPicture>& frmPicture();

} // namespace session
