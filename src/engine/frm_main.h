#pragma once
// The practice window: the simulated word-processor window in which the
// candidate performs the steps of the current question. Its picture is the
// step's whole-window screenshot; overlays, hot-spots, boxes and the chrome
// bars lie over it.
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>

#include "chrome/layout.h"
#include "core/errors.h"
#include "core/forms.h"

namespace engine {

class FrmMain : public core::Form {
public:
    FrmMain();

    // ---- public operations ----
    // Lays out the scene of step CurrentStep of question CurrentQuestion.
    // Skips any statement that fails.
    void setData();
    // Closes open drop-downs and submenus, clears the hover pictures and
    // collapses the look-in list.
    void frmCsh();
    // Places the bars and lays out their main hot-spots.
    void ToolCSH();
    // The step's extra area (hot-spots 32-40 and PicElse), or the drop-down
    // it shows pre-opened (its rows come with TimTool's tick).
    void ElseToolCSH();
    // Rows of drop-down OpenMenu (and the background of a SpecialItem row
    // of it); rows of the submenu of OpenMenu / OpenItem.
    void Tool1JCSH();
    void Tool2JCSH();
    // Puts the question window's bottom-right corner on this window's.
    // Nothing when no question window is registered.
    void dockQuestionWindow();
    // Calls of the question window (see core::Windows).
    void showScenePicture(int k, const core::Picture& picture);
    void armSetUp();
    void showHint();

    // Step advance: the next step, or at the end record the question marked
    // answered. Errors reach the caller.
    void doNext();
    // Jumps to the step a one-character branch code names ("0": nothing).
    // Skips any statement that fails.
    void GoStep(const QString& code);
    // Judges one key press (virtual-key code, modifier sum) against the
    // step's key code, its key slots and the shortcuts of its menu paths;
    // at most one doNext. Skips any statement that fails.
    void KeyClick(int keyCode, int shift);
    // Fills wm100 with menu ContextMenuNo of the set the step's context code
    // names, from the context-menu file; writes StepCode. Errors (a missing
    // file) reach the caller, with every item hidden.
    void systemMenu();
    // A caller's opening of the context menu: ContextMenuNo from the code's
    // hundreds digit, systemMenu, then the popup at the pointer (x, y in
    // this window's client twips). A chosen entry has been judged when this
    // returns.
    void openContextMenu(int16_t code, double x, double y);

    // Dialog tab strips: re-rows a two-row strip (the row of TabFrontRow
    // in front, 300 design twips lower); a click on tab hot-spot Index
    // (1-13) or on the back hot-spot (0).
    void DoubleXXK();
    void LblXXK_Click(int index);
    // Choice of look-in row Index (0-13): shown in the closed box; the
    // step's row advances.
    void ImgLiN_Click(int index);

    // The chrome as the shared layout sees it.
    const chrome::ChromeWindow& chromeWindow() const { return chrome_; }
    // Overlay k (1-6): Image1..Image5, Image6.
    core::Control& overlay(int k) const;

    // ---- controls ----
    // Chrome bars, hot-spots, highlight images and hint frames.
    core::Control& PicMenu;    // menu bar
    core::Control& PicTool;    // standard and formatting toolbars
    core::Control& PicHui;     // drawing bar
    core::Control& PicElse;    // the step's extra area
    core::Control& PicTuBiao;  // chart bar
    core::ControlArray& LblZHU;  // main hot-spots of the bars (0-99)
    // Hover and pressed looks of a hot-spot, one per bar.
    core::Control& ImgMenu;
    core::Control& ImgTool;
    core::Control& ImgHui;
    core::Control& ImgElse;
    core::Control& ImgTuBiao;
    // Target frames, one per bar.
    core::Control& ShapeMenu;
    core::Control& ShapeTool;
    core::Control& ShapeHui;
    core::Control& ShapeElse;
    core::Control& ShapeTuBiao;
    // Open drop-down and submenu with their rows.
    core::Control& Pic1J;
    core::Control& Img1jBK;    // highlight of the drop-down's hot row
    core::Control& Img1J;
    core::ControlArray& Lbl1J;  // 1-44
    core::Control& Pic2J;
    core::Control& Img2J;
    core::ControlArray& Lbl2J;  // 1-44
    // Screenshot overlays (Image6 is a picture box).
    core::Control& Image1;
    core::Control& Image2;
    core::Control& Image3;
    core::Control& Image4;
    core::Control& Image5;
    core::Control& Image6;
    // Target, source box, frames.
    core::Control& Label1;     // the step's target hot-spot
    core::Control& Shape1;     // its frame
    core::Control& Label4;     // source box of a drag
    core::Control& Shape4;     // its frame
    core::Control& Shape6;     // outline that follows a drag
    core::Control& Shape2;
    core::Control& LHelp;      // the hint
    core::Control& Text1;      // the step's input box
    core::Control& Text2;
    core::Control& Text3;
    core::ControlArray& LblXXK;  // tab and back hot-spots of dialogs (0-13)
    // Simulated lists.
    core::Control& LstLA;      // list of list steps
    // Edges drawn round the list.
    core::Control& PicLeft;
    core::Control& PicTop;
    core::Control& PicRight;
    core::Control& PicBottom;
    core::Control& PicList;    // open look-in list
    core::ControlArray& LblADD;  // look-in rows' hot-spots (0-13)
    core::ControlArray& ImgLiN;  // their highlighted pictures
    core::Control& ImgSelAD;   // closed look-in box
    core::Control& LblADDmyXZ; // opens and closes the look-in list
    core::Control& ImgFuGai;   // cover at the edge of the closed look-in box
    // Title bar, logo, success label.
    core::Control& LblMove;    // title bar: drags the window
    core::Control& ImgLogo;
    core::Control& LblSuccess;

    core::Timer& Timer2;      // one-shot scene set-up after a question loads
    core::Timer& Timer3;      // wait steps
    core::Timer& TimerDisFK;  // one-shot hint frame
    core::Timer& TimTool;     // rows of a pre-opened drop-down

    // Context menu: cascades sVemoMain1-5 with entry arrays sVemoSub1-5,
    // entry arrays sVemoInde1-4 (elements 0-10 after the load).
    core::Menu& wm100;
    core::Menu* sVemoMain[6] = {};      // 1-5
    core::MenuArray* sVemoSub[6] = {};  // 1-5
    core::MenuArray* sVemoInde[5] = {}; // 1-4
    core::Menu& mIme;

    // ---- window state ----
    QString ExamDataPath;
    int16_t StepCode = 0;
    QString HintText;
    int16_t RedBoxW = 0;
    int16_t RedBoxH = 0;
    int16_t OpenMenu = 0;
    int16_t OpenItem = 0;
    int16_t ContextMenuNo = 0;
    int32_t DragStartX = 0;
    int32_t DragStartY = 0;
    int16_t Dragging = 0;
    int32_t DragLeft = 0;
    int32_t DragTop = 0;
    int16_t DropX = 0;
    int16_t DropY = 0;
    QString ActiveTabLayout;
    int16_t DialogLeft = 0;
    int16_t DialogTop = 0;
    int16_t TabImageNo = 0;
    int16_t TargetTab = 0;
    QString TabPicture;
    int16_t TabFrontRow = 0;
    int16_t TabCount = 0;
    QString BackStepCode;
    // The drop-down that the step shows pre-opened, taken when TimTool was
    // armed.
    int16_t PreOpenedMenu = 0;

private:
    // Every statement of this window's procedures runs through resumeNext:
    // an error skips the statement. Once a check inside a set-up has changed
    // the step, the rest of that set-up is skipped (the new step is laid out
    // next).
    template <class F>
    void resumeNext(F&& statement) {
        if (setupCut()) return;
        core::resumeNext(std::forward<F>(statement));
    }
    bool setupCut() const { return settingUp_ && setupAgain_; }
    // The set-up of one step: the stages of setData.
    void layOutStep();
    // Reads the step's record into StepLine.
    void takeStepRecord();

    void Form_Load();
    // Target actions.
    void Label1_DblClick();
    void Label1_MouseMove();
    void Label1_MouseUp(const core::MouseArgs& a);
    void Image_Click(int k);
    // The step is accepted: doNext, or the jump to the target's branch.
    void acceptStep(const QString& branch);
    // The typed answer of a 22/26/28 step against its AnswerText.
    bool answerIsRight();
    // The target's pointer from the record's CursorCode.
    void setTargetPointer();
    // Entry j of a context-menu row group (1-9) was chosen.
    void contextEntry_Click(int rowDigit, int index);
    // Typed text and keys: the text boxes' checks and the key forwarding,
    // hooked up by wireTypingAndKeys.
    void wireTypingAndKeys();
    void Text1_Change();
    void Text1_KeyUp(int keyCode, int shift);
    void Text1_MouseUp();
    void Text2_Change();
    void Text3_Change();
    void Text1_GotFocus();
    void Text3_GotFocus();
    // The chosen keyboard layout, when the input-method option is on.
    void activateImeLayout();
    void Timer3_Timer();
    void TimerDisFK_Timer();
    // The end of the question, in the set-up of an end record.
    void questionEnd();
    void Form_MouseMove();
    void LblMove_MouseDown(int button);
    // Question window topmost, this window on top of the others.
    void orderWindows();
    // The screen's height in pixels of 15 twips.
    static double screenHeightPixels();

    // Stages of setData.
    void resetStage();
    void readRecordStage();
    void screenshotStage();
    void overlayStage();
    void inputBoxStage();
    void hintStage();
    void targetStage();
    // Later stages, each a slot for what the step still needs.
    // The "X" tab dialog: tab layout, shown and target tab, dialog picture,
    // target or tab frame.
    void setupTabDialogStage();
    // The back hot-spot of a "Q" step, or BackStepCode "NONO".
    void setupBackHotSpotStage();
    // The source box Label4 and its frame Shape4.
    void setupSourceBoxStage();
    // StepCode, the wait timer, drags of Image5, the end of the question.
    void setupActionStage();
    // Typing actions and the hint texts.
    void setupTypingStage();
    // The list of a list step and the look-in list.
    void setupListStage();
    // Frame visibility, the target's pointer and the bars of BarsCode.
    void setupFramesAndBarsStage();

    // Lists, tab strips and drags: handlers of their controls, hooked up
    // and given their design pictures by wireDialogControls.
    void wireDialogControls();
    void listSetUp();
    void lookInSetUp();
    void LstLA_Click();
    void LblADD_MouseMove(int index);
    void LblADDmyXZ_Click();
    void Label4_MouseDown(const core::MouseArgs& a);
    void Label4_MouseMove(const core::MouseArgs& a);
    void Label4_MouseUp(const core::MouseArgs& a);
    void Image5_MouseMove(const core::MouseArgs& a);
    void Image5_MouseUp(const core::MouseArgs& a);
    // Label4 takes the drag pointer of the record's CursorCode.
    void setDragPointer();
    // The hint's line breaks, window order, closing the chrome, the extra
    // area and the hint frame timer.
    void finishSceneStage();

    // Simulated menus: hover, press and rows, hooked up by wireMenus.
    void wireMenus();
    void LblZHU_MouseMove(int index);
    void LblZHU_MouseUp(int index, const core::MouseArgs& a);
    void PicTool_MouseUp(const core::MouseArgs& a);
    void Lbl1J_MouseMove(int index);
    void Lbl1J_Click(int index);
    void Lbl2J_MouseMove(int index);
    void Lbl2J_Click(int index);
    void TimTool_Timer();
    // The zone highlight image of a main hot-spot (none for 0 and 10).
    core::Control* zoneHighlight(int index);
    // Empties the zone highlight images (all but `except`).
    void clearHighlights(const core::Control* except = nullptr);
    // Look `code` of a main hot-spot on its zone's highlight image (the
    // extra area's variant "XX0" d + suffix replacing it); false when no
    // picture could be shown.
    bool showHotSpotLook(int index, const QString& code, const QString& variantSuffix);

    chrome::ChromeWindow chrome_;
    // The record this window's last set-up read: the wait timer acts only
    // while the shared StepLine is still this step's. With the question and
    // the step it was read for.
    QString ownStepLine_;
    // The script's line after this step's (empty at its end), whose
    // pictures are decoded ahead while the scene waits for the candidate.
    QString nextStepLine_;
    void prefetchStepPictures(const QString& stepLine);
    int16_t ownQuestion_ = 0;
    int16_t ownStep_ = 0;
    // A set-up is under way; a check inside it asked for the next set-up;
    // it lays out again the record the one before laid out, found past the
    // end of the script.
    bool settingUp_ = false;
    bool setupAgain_ = false;
    bool replaying_ = false;
};

// The one practice window.
core::FormSlot<FrmMain>& frmMain();

// Makes the practice window reachable through core::windows().
void registerPracticeWindow();

// The keyboard shortcut of menu row MMII (main hot-spot MM, drop-down row
// II) that performs a menu step as its clicks do, when it has one.
struct ShortcutKey {
    int keyCode = 0;
    int shift = 0;
};
std::optional<ShortcutKey> menuShortcut(const QString& mmii);

} // namespace engine
