#pragma once
// The question window: a small borderless topmost window docked at the
// practice window's bottom-right corner. It shows the current question's
// title and text, the function bar, the exam clock and the list of unsolved
// questions, holds the question grid, the candidate panel and the minimised
// bar, and loads questions into itself and the practice window.
#include <QString>
#include <functional>
#include <optional>

#include "core/forms.h"

namespace core {
struct SessionState;
}

namespace session {

// Caption of the title label for the current question; nullopt for a list
// kind that has no title (the caption then stays as it is).
std::optional<QString> questionTitle(const core::SessionState& s, const QString& moduleName);
// "未完成的题目" and, for every question not answered, a space and its number.
QString unsolvedList(const core::SessionState& s);
// The question text as shown: "|" becomes a line break.
QString questionTextShown(const QString& text);

// The first hand-in confirmation, opened modally when the exam time is up.
// Its window sets these; until then nothing opens.
struct HandInConfirmation {
    std::function<void()> open;
    // True while a hand-in confirmation is open.
    std::function<bool()> isOpen;
};
HandInConfirmation& handInConfirmation();

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

    // Multiplier of the demonstration's timer intervals (1 or 2).
    int16_t DemoSpeed = 1;
    // Ticks of the demonstration start timer.
    int16_t DemoStartTicks = 0;

    core::Timer& TimKsModel;
    core::Timer& TimeKS;
    core::Timer& TimerREDO;
    core::Timer& TimStartYS;

    core::Control& FrmZXH;
    core::Control& Label2;
    core::Control& Command2;
    core::Control& FrmSelect;
    core::Control& CmdSelFH;
    core::Control& FrmKSXX;
    core::Control& CmdKSFH;
    core::Control& KsName1;
    core::Control& KsZWH1;
    core::Control& KsCC1;
    core::Control& KsDAH1;
    core::Control& KsKM1;
    core::Control& KsSFZ1;
    core::Control& Image1;
    core::Control& FrmZhuYa;
    core::Control& CmdEn;
    core::Control& PicUnit;
    core::Control& LblUnit;
    core::Control& Image2;
    core::Control& PTime;
    core::Control& LblTimeJD;
    core::Control& RtbTM;
    core::Control& LblIME;
    core::Control& LblName;
    core::Control& LblTime;
    core::Control& ImgDown;
    core::Control& ImgMove;
    core::Control& LblZXH;
    core::Control& LblMove;
    core::Control& LblBiao;
    core::Control& ImgZXH;

    // Control arrays (an element that does not exist raises error 340).
    core::Control& CmTNO(int i) { return array("CmTNO")[i]; }
    core::Control& CmdGN(int i) { return array("CmdGN")[i]; }
    core::Control& ImgGN(int i) { return array("ImgGN")[i]; }
    core::Control& Label1(int i) { return array("Label1")[i]; }

private:
    void Form_Load();
    void buildImeMenu();
    void TimerREDO_Timer();
    void TimeKS_Timer();
    void TimKsModel_Timer();
    void Image2_Click();
    void parkFaces();
    void practiceForward();
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
