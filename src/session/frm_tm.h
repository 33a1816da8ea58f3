#pragma once
// The question window: a small borderless topmost window docked at the
// practice window's bottom-right corner. It shows the current question's
// title and text, the function bar, the exam clock and the list of unsolved
// questions, holds the question grid, the candidate panel and the minimised
// bar, and loads questions into itself and the practice window.
#include <QString>
#include <array>
#include <vector>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/forms.h"
#include "core/keyboard_layout.h"
#include "engine/question_captions.h"

namespace core {
struct SessionState;
}

namespace session {

// Caption of the title label for the current question; nullopt for a list
// kind that has no title (the caption then stays as it is).
std::optional<QString> questionTitle(const core::SessionState& s, const QString& moduleName);
// "未完成的题目" and, for every question not answered, a space and its number.
using engine::unsolvedList;
// The question text as shown: "|" becomes a line break.
QString questionTextShown(const QString& text);

// The first hand-in confirmation, opened modally when the exam time is up.
// Its window sets these; until then nothing opens.
struct HandInConfirmation {
    // The hand-in begins: the dialogs it makes moot close.
    std::function<void()> begin;
    std::function<void()> open;
    // True while a hand-in confirmation is open.
    std::function<bool()> isOpen;
};
HandInConfirmation& handInConfirmation();

// Colour of a question's grid button: red when flagged (states 2, 3, 6, 7),
// green when opened, the system button face otherwise.
uint32_t gridColour(int16_t state);
// The state with its flag bit toggled (0<->2, 1<->3, 4<->6, 5<->7); other
// values stay as they are.
int16_t flagToggled(int16_t state);

class FrmTm : public core::Form {
public:
    FrmTm();

    // Loads CurrentQuestion into this window and the practice window.
    void DqExam();
    // The minimise button (also used by the help button).
    void LblZXH_Click();
    // The restore button of the minimised bar.
    void Command2_Click();
    // Docks the window at the practice window's bottom-right corner.
    void dockAtPracticeWindow();
    // Calls of the practice window at a question's end (see core::Windows).
    void showUnsolvedQuestions(const QString& list);
    void markQuestionCompleted();

    // Function button i (0..10): previous, next, redo, flag, grid, end of
    // practice, hint, demonstration, hand in, candidate panel, view answer.
    void CmdGN_Click(int index);
    // Picks question `index` (1..40) from the grid.
    void CmTNO_Click(int index);
    // Return buttons of the grid and the candidate panel.
    void CmdSelFH_Click();
    void CmdKSFH_Click();
    // The "?" button: minimises the window and opens the input-method help.
    void CmdEn_Click();
    // End of practice: saves the records, closes both session windows and
    // shows the cover.
    void EndPractice();
    // The picture popup closed by the desktop: hidden as by the picture
    // button.
    void closePicture();
    // A close by the desktop of this window or the practice window: the end
    // button of the run mode, when the candidate could press it now.
    void desktopClose();

    // Windows that the function buttons open; each is one call so that the
    // window can be put behind it.
    // Button 7: the current question's text again, as stored, and the
    // demonstration start armed.
    void startDemonstration();
    // The demonstration start: DemoRunning set and the start timer on; its
    // second tick hides this window and the practice window and shows the
    // demonstration window. Also the view-answer confirmation's start.
    void armDemonstrationStart();
    // Button 8: moves the window to (0, 0), hides it and opens the hand-in
    // confirmation modally (through handInConfirmation()).
    void openHandIn();
    // Button 10: opens the view-answer warning modally.
    void openViewAnswer();
    // "?": opens the input-method help modally.
    void openImeHelp();

    // The input-method label "EN": opens the keyboard-layout menu while the
    // input-method option is on.
    void LblIME_Click();
    // Menu entry 0 (mEng) or k (mCn1..mCn10) chosen.
    void chooseImeEntry(int entry);
    // The installed layouts as read at load (at most 16), the number of the
    // next mCn entry to fill (1 + the layouts with a description), and the
    // layout each entry activates (0 mEng, 1..10 mCn1..mCn10).
    std::vector<core::KeyboardLayout> ImeLayoutList;
    int16_t NextImeItem = 1;
    std::array<QString, 11> ImeEntryLayout;

    // Multiplier of the demonstration's timer intervals (1 or 2).
    int16_t DemoSpeed = 1;
    // Ticks of the demonstration start timer.
    int16_t DemoStartTicks = 0;

    core::Timer& TimKsModel;  // once after the load: the buttons of the run mode (practice or exam)
    core::Timer& TimeKS;      // the exam clock, a minute a tick
    core::Timer& TimerREDO;   // loads the current question again
    core::Timer& TimStartYS;  // the demonstration start

    // Minimised bar.
    core::Control& FrmZXH;
    core::Control& Label2;    // its caption strip; a drag handle
    core::Control& Command2;  // the restore button
    // Question grid.
    core::Control& FrmSelect;
    core::Control& CmdSelFH;  // "返回"
    // Candidate panel: the return button, the values beside the row
    // captions Label1(0..5) and the photo.
    core::Control& FrmKSXX;
    core::Control& CmdKSFH;
    core::Control& KsName1;
    core::Control& KsZWH1;    // seat number
    core::Control& KsCC1;     // sitting
    core::Control& KsDAH1;    // file number
    core::Control& KsKM1;     // subject
    core::Control& KsSFZ1;    // identity number
    core::Control& Image1;
    // Main panel.
    core::Control& FrmZhuYa;
    core::Control& CmdEn;      // "?": the input-method help
    core::Control& PicUnit;    // frame of the unsolved-question list (practice)
    core::Control& LblUnit;    // the unsolved-question list
    core::Control& Image2;     // "显示图片"/"隐藏图片": the picture popup of a picture question
    core::Control& PTime;      // frame of the time bar (exam)
    core::Control& LblTimeJD;  // the time bar: the part of the 50 minutes used
    core::Control& RtbTM;      // the question text
    core::Control& LblIME;     // "EN": the keyboard-layout menu
    core::Control& LblName;    // the candidate's name
    core::Control& LblTime;    // "剩余N分钟"
    core::Control& ImgDown;    // pressed face, moved over the function button held down
    core::Control& ImgMove;    // hover face, moved over the function button under the pointer
    // Title strip.
    core::Control& LblZXH;    // the minimise button's click area
    core::Control& LblMove;   // drag handle of the window
    core::Control& LblBiao;   // the question's title
    core::Control& ImgZXH;    // minimise button face, shown under the pointer

    // Control arrays (an element that does not exist raises error 340).
    core::Control& CmTNO(int i) { return array("CmTNO")[i]; }   // grid buttons 1..40
    core::Control& CmdGN(int i) { return array("CmdGN")[i]; }   // click areas of the function buttons
    core::Control& ImgGN(int i) { return array("ImgGN")[i]; }   // the function buttons' normal faces
    core::Control& Label1(int i) { return array("Label1")[i]; } // row captions of the candidate panel

private:
    void Form_Load();
    void buildImeMenu();
    void TimerREDO_Timer();
    void TimeKS_Timer();
    void TimKsModel_Timer();
    void TimStartYS_Timer();
    void Image2_Click();
    void CmdGN_MouseDown(int index);
    void CmdGN_MouseMove(int index);
    void CmdGN_MouseUp(int index, int button, int shift);
    void colourGrid();
    void startHintMode();
    void parkFaces();
    void practiceForward();
    // The candidate could press c now: the window shown whole and c the
    // enabled control under its centre.
    bool pressable(const core::Control& c) const;
    void startMove(int button, std::function<void()> afterMove);
};

core::FormSlot<FrmTm>& frmTm();

// Path of a function-button face: kind "l010" pressed, "l011" hover, "l012"
// normal; the extension is always ".rar".
QString functionFacePicture(const QString& kind, int index);

// Texts of the question window.
extern const char* const kTimeUp;
extern const char* const kShowPicture;
extern const char* const kHidePicture;

} // namespace session
