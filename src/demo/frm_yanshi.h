#pragma once
// The demonstration window: replays the current question's steps with a
// drawn pointer that flies to each step's target and clicks, types, drags
// or holds there, then hands the question back to the practice window. It
// writes nothing of the session but RunMode (1 at load) and DemoRunning
// (false at the end), and StepLine, which it reads its records into.
#include <QString>
#include <cstdint>

#include "chrome/layout.h"
#include "core/forms.h"
#include "demo/flight.h"

namespace demo {

// Members of the window that keep their values from one demonstration to
// the next, until the load, a set-up or a flight sets them again.
struct DemoMembers {
    int16_t DemoStep = 1;
    int16_t OpenMenu = 0;
    int16_t OpenItem = 0;
    int16_t OpenSubItem = 0;
    QString JumpStep = QStringLiteral("0");
    bool Dragging = false;
    Flight flight;  // PointerX/Y, TargetX/Y, StepLen, StepDX/DY
    int16_t TickCount = 0;
    int16_t StepCode = 0;
    int16_t DropX = 0;
    int16_t DropY = 0;
    QString TypeText;
    int16_t TypePos = 0;
    QString ActiveTabLayout;
    int16_t TabBaseX = 0;
    int16_t TabBaseY = 0;
    int16_t TabImageNo = 0;
    int16_t TargetTab = 0;
    int16_t TabFrontRow = 0;
    int16_t TabCount = 0;
    QString HintText;
    int16_t RedBoxW = 0;
    int16_t RedBoxH = 0;
    int16_t ContextMenuNo = 0;
    QString ExamDataPath;
};
DemoMembers& demoMembers();
// Back to the program-start values (tests).
void resetDemoMembers();

class FrmYanShi : public core::Form {
public:
    FrmYanShi();

    // ---- step cycle ----
    // Lays out step DemoStep and starts its flight, hold or end.
    void setData();
    // The next step, or the end at the end record. Nothing while no
    // demonstration runs.
    void doNext();
    // The step a branch code names ("0": nothing).
    void GoStep(const QString& code);
    // Chooses the step's target and starts its flight or hold.
    void MuBiaoWei();
    // Draws the pointer at its place and keeps the window on top.
    void pointMove();
    // The end timer on (a stop or the end record); a running end keeps
    // its count.
    void startEnd();

    // ---- calls of the menus, dialogs and context menus ----
    // Clears drawn menus and popups of the step before.
    void CSH();
    // The chrome bars and hot-spots; the step's extra area.
    void ToolCSH();
    void ElseToolCSH();
    // The drawn context menu at the pointer (arrival of a right-click step).
    void RightKeyMenu();
    // The click on main hot-spot OpenMenu (arrival of a menu step): its
    // pressed look, and the drop-down it opens with the flight to row
    // OpenItem; the step ends here when it names no row.
    void ClickZHU();
    // Rows of the open drop-down (submenu) laid over Pic1J (Pic2J), row
    // OpenItem (OpenSubItem) framed and flown to. No frame and no flight
    // to a submenu row 0.
    void Tool1JCSH();
    void Tool2JCSH();
    void flyToRow(const core::ControlArray& rows, int16_t row, core::Timer& timer);
    // The click on drop-down row `index`: its submenu and highlight; the
    // step ends here when it names no submenu row.
    void Click1J(int16_t index);
    // The click on submenu row OpenSubItem: the step ends.
    void Click2J();
    // Flights to the drop-down row and to the submenu row.
    void Timer6_Timer();
    void Timer7_Timer();

    // ---- drawn context menu, cascade, tab strips and lists ----
    // The cascade of the row the menu's flight reached, and its flight.
    void RightKeySub();
    // Hides and empties the drawn context menu and its cascade (part of CSH).
    void clearDrawnMenus();
    // Flights to the drawn menu's row and to the cascade's entry.
    void TimerRM_Timer();
    void TimerRS_Timer();
    // The two rows of a strip of more than nine tabs.
    void DoubleXXK();
    // Row r of the look-in list selected; the step ends on its row to choose.
    void ImgLiN_Click(int row);

    DemoMembers& m;

    // ---- controls ----
    // Chrome bars (images; their hot-spots lie on the window).
    core::Control& PicMenu;    // menu bar
    core::Control& PicTool;    // standard and formatting toolbars
    core::Control& PicHui;     // drawing bar
    core::Control& PicElse;    // the step's extra area
    // Pressed looks of a hot-spot, one per bar.
    core::Control& ImgMenu;
    core::Control& ImgTool;
    core::Control& ImgHui;
    core::Control& ImgElse;
    // Screenshot overlays (Image6 is a picture box).
    core::Control& Image1;
    core::Control& Image2;
    core::Control& Image3;
    core::Control& Image4;
    core::Control& Image5;
    core::Control& Image6;
    core::Control& Label1;       // the step's target
    core::Control& Label4;       // source box of a drag
    core::ControlArray& LblZHU;  // main hot-spots of the bars (0-88)
    core::ControlArray& LblXXK;  // tab hot-spots 1-13 and back hot-spot 0 of dialogs
    // Open drop-down and submenu with their rows.
    core::Control& Pic1J;
    core::Control& Img1J;        // highlight of the clicked drop-down row
    core::ControlArray& Lbl1J;   // 0-44
    core::Control& Pic2J;
    core::ControlArray& Lbl2J;   // 0-44
    core::Control& Text1;        // the step's input box
    core::Control& Text2;        // typed into in its place on "0021" steps
    core::Control& Text4;        // edit bar of "0028" steps
    core::Control& LstLA;        // list of list steps
    core::Control& PicList;      // look-in list (one row high when closed)
    core::ControlArray& LblADD;  // look-in rows (0-13)
    core::ControlArray& ImgLiN;  // their selected pictures (0-13)
    core::Control& ImgSelAD;     // chosen row shown in the closed look-in box
    core::Control& LblADDmyXZ;   // the closed look-in box
    core::Control& LHelp;        // the hint
    core::Control& ImgLogo;      // the question text, lower right
    core::Control& Shape1;       // red target frame
    core::Control& Shape4;       // green source frame; Left -100 marks the second leg
    core::Control& Shape6;       // drag outline
    core::Control& Shape5;       // click ring
    core::Control& ImgICO;       // drag cursor
    core::ControlArray& LPoint;  // 0-7, pointer outline
    core::ControlArray& LPoinB;  // 0-5, pointer fill

    // The drawn context menu: body, outline, the entries of groups 1-4
    // (rows 2, 4, 6, 9), the cascade captions and arrows (rows 1, 3, 5, 7,
    // 8) and the separators. CSH hides them all (clearDrawnMenus).
    core::Control& LRightMMenu;
    core::Control& ShapeRMain;
    core::ControlArray& LRM2;          // 0-9
    core::ControlArray& LRM4;          // 0-9
    core::ControlArray& LRM6;          // 0-9
    core::ControlArray& LRM9;          // 0-9
    core::ControlArray& LRMJL;         // 1, 3, 5, 7, 8
    core::ControlArray& ImgJLSanjiao;  // 1, 3, 5, 7, 8
    core::ControlArray& LRFGX;         // 0-9
    // Its cascade: body, outline, entries, separators.
    core::Control& LRightSub;
    core::Control& ShapeRSUB;
    core::ControlArray& LRS;     // 0-9
    core::ControlArray& LRSFgx;  // 0-5
    // The frame of the list box LstLA.
    core::Control& PicLeft;
    core::Control& PicRight;
    core::Control& PicTop;
    core::Control& PicBottom;

    core::Timer& Timer1;   // typing
    core::Timer& Timer2;   // flight
    core::Timer& Timer3;   // image drop
    core::Timer& Timer4;   // hold
    core::Timer& Timer5;   // ring blink
    core::Timer& Timer6;   // flight to a drop-down row
    core::Timer& Timer7;   // flight to a submenu row
    // Set with the others at the start; nothing enables them.
    core::Timer& Timer8;
    core::Timer& Timer9;
    core::Timer& Timer10;
    core::Timer& Timer11;
    core::Timer& TimerRM;  // flight to a drawn context-menu row
    core::Timer& TimEnd;   // end
    core::Timer& TimerRS;  // flight to a drawn cascade row
    core::Timer& TimTool;  // set with the others; nothing enables it

    // The fifteen playback timers in the order the start sets them, with
    // their base intervals (ms).
    struct TimerBase {
        core::Timer* timer;
        int base;
    };
    std::vector<TimerBase> playbackTimers();

    // The pointer's second leg: the green frame parked at Left -100.
    bool secondLeg() const;
    void setSecondLeg();
    // Ticks of the end timer since the first stop or end record.
    int16_t endTicks() const { return endTicks_; }

    // The ticks.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();
    void Timer5_Timer();
    void TimEnd_Timer();

private:
    void Form_Load();
    // Stages of setData.
    void readRecordStage();
    bool recordFound_ = false;
    void pictureStage();
    void inputBoxStage();
    void hintStage();
    void targetStage();
    void sourceStage();
    void wordingStage();
    void cursorStage();
    void barsStage();
    void menuPathStage();
    // The tab dialog and back hot-spot, and the lists (menus, dialogs and
    // context menus).
    void tabStage();
    void backHotSpotStage();
    void listStage();
    void listSetUp();
    // One step's set-up; setData lays steps out one after another when a
    // step completes itself inside its set-up.
    void layOutStep();
    bool settingUp_ = false;
    bool setupAgain_ = false;
    // Design look and stacking of the drawn menus' controls; the list frame.
    void styleDrawnMenus();
    void styleDialogs();
    // Sets the flight to (x, y) from where the pointer stands.
    void flyTo(double x, double y);
    void flyToCentre(const core::Control& c);
    // The control's centre as the flight's target (no flight started).
    void aimAt(const core::Control& c);
    // The ring placed at the pointer, its blink started.
    void ringAtPointer();
    // Ends a step like a completed click: doNext, or GoStep with the
    // target's branch.
    void completeClick();
    void typingSetUp();
    core::Control& overlay(int k) const;
    core::Picture dataPicture(const QString& code) const;

    // Menus: timers and rows wired; one tick of a row flight (true on
    // arrival, the ring started and `t` off); the end of a menu step.
    void wireMenus();
    bool rowFlightTick(core::Timer& t);
    void endMenuStep();

    chrome::ChromeWindow chrome_;
    int16_t endTicks_ = 0;
};

core::FormSlot<FrmYanShi>& frmYanShi();

// Loads the demonstration window, sets each playback timer to speed x its
// base interval, in order, and shows the window.
void showDemonstration(int16_t speed);

// Makes the demonstration reachable through core::windows().
void registerDemonstrationWindow();

} // namespace demo
