#pragma once
// Calls between windows of different libraries. A window that another
// library calls registers its operations here when its library is set up;
// callers call them directly (synchronously, never queued). A window never
// reaches another window's controls or timers by name: what it asks of
// another window is one function here.
#include <QString>
#include <cstdint>
#include <functional>

namespace core {

class Form;
class Picture;

struct Windows {
    // Ends the program with an exit code (its own exit paths only).
    std::function<void(int)> exitProgram;
    // The cover: shows it, loading it afresh when it is not loaded.
    std::function<void()> showCover;
    // Decodes the cover's pictures ahead, in idle time (while the splash is
    // up); nothing becomes visible by it.
    std::function<void()> prefetchCoverPictures;
    // The question window and the practice window: the first reference
    // loads the window.
    std::function<Form&()> questionWindow;
    std::function<Form&()> practiceWindow;
    // Whether they are loaded (without loading them).
    std::function<bool()> questionWindowLoaded;
    std::function<bool()> practiceWindowLoaded;
    // Starts a session prepared by the cover (session start).
    std::function<void()> startLianXi;
    // Drags a borderless window with the mouse; afterMove runs when the move
    // ends (button released).
    std::function<void(Form&, std::function<void()> afterMove)> startWindowMove;
    // Row starters of the cover: paper exam, wrong questions of a paper,
    // unit practice, unsolved questions of a unit (index counted from 0).
    std::function<void(int)> startPaperExam, reviewPaperWrong, startUnit, reviewUnitWrong;

    // Demonstration. The question window's start: DemoRunning set and its
    // start timer armed; at the timer's second tick the practice and
    // question windows hide and the demonstration window shows.
    std::function<void()> startDemonstration;
    // The demonstration window: loads it (its load lays out step 1 of the
    // current question), sets each of its fifteen timers to speed x its base
    // interval and shows it.
    std::function<void(int16_t speed)> showDemonstration;
    // The question window's text box as it holds the question text now.
    std::function<QString()> questionText;
    // The question window reloads the current question 100 ms later.
    std::function<void()> reloadQuestionLater;
    // Stops a running demonstration at once, without handing back to the
    // practice and question windows (the mock exam was handed in). Not set:
    // no demonstration can run.
    std::function<void()> stopDemonstration;

    // Unloads the cover when it is loaded (a session starts).
    std::function<void()> unloadCover;

    // The desktop closed the practice or the question window: the question
    // window's end button (end of practice, or the hand-in of a mock exam)
    // as the candidate could press it now; nothing while it is hidden or
    // disabled or a box of the program is open.
    std::function<void()> sessionWindowClosed;

    // The practice window, as the question window uses it.
    // Shows picture k of a question's last scene: 0 the window's own
    // picture, 1-6 its overlays.
    std::function<void(int k, const Picture&)> showPracticeScene;
    // Arms the scene set-up of the current step (it runs on the next timer
    // turn).
    std::function<void()> armPracticeSetUp;
    // Shows the hint and the frames the step set-up laid out, and arms the
    // menu or toolbar target frame.
    std::function<void()> showPracticeHint;

    // The question window, as the practice window uses it at a question's
    // end: the list of unsolved questions, and the title marked completed.
    std::function<void(const QString&)> showUnsolvedQuestions;
    std::function<void()> markQuestionCompleted;
    // Puts the focus into the practice window's input box (whose focus
    // activates the chosen keyboard layout); nothing when the box cannot
    // take the focus.
    std::function<void()> focusPracticeInput;
};

Windows& windows();

} // namespace core
