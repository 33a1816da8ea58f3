#pragma once
// The cover: the home window. It is rebuilt from the bank and record files at
// every load: exam papers and study units with their records, the flagged
// question list in pages, the update option, the command buttons and tabs.
#include <QString>
#include <array>
#include <cstdint>

#include "core/forms.h"
#include "session/option_box.h"

namespace cover {

// The program's own version, shown in the caption line.
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;

// Rows per page of the flagged list.
inline constexpr int FlaggedPageSize = 18;

// Cuts a text to at most nLen display columns (a double-byte character takes
// two), ending a cut text with "..." or, when a double-byte character would
// straddle the cut, with " ...".
QString subLen(const QString& ctxt, int16_t nLen);

// Progress lines 0..24 of the unit progress file normalised to the unit
// question counts: the stored line followed by 42 "F", cut to the count.
QStringList normalizedProgress(const QStringList& stored, const std::array<int16_t, 26>& counts);

class FrmFengmian : public core::Form {
public:
    FrmFengmian();

    // ---- public methods ----
    // Shows page ns of the flagged list (lowered to the last page); writes
    // the page shown back into ns and FlaggedPage.
    void InitSave(int16_t& ns);
    QString subLen(const QString& ctxt, int16_t nLen) const { return cover::subLen(ctxt, nLen); }
    // Hover reset: plain info menu, normal faces, no hovered button.
    void MouseMove();
    // The command buttons' dispatcher.
    void CmdReg_Click(int index);
    // Row selection of the flagged list.
    void LblSCmd_Click(int index);
    // Detection of the installed sibling modules (information pages).
    void kmSetupYN();
    // Shows page InfoPage in the information panel, with the launcher rows
    // on page 17 only.
    void LoadProPic();
    // Info menu: 0 the about box, 1-4 the sections at their first page.
    void LblPro_Click(int index);
    // Paging of the information panel.
    void LblLast_Click();
    void LblNext_Click();
    // Launcher row: starts the installed module or opens its download page.
    void LblKmLj_Click(int index);

    // ---- members ----
    int16_t FlaggedPage = 1;
    int16_t FlaggedRow = -1;             // -1: no page filled or the list is empty
    std::array<QString, 41> FlaggedTitles;  // 1..40, 1..18 used
    int16_t HoverButton = 0;
    int16_t PaperCount = 0;
    int16_t UnitCount = 0;
    int16_t InfoPage = 0;
    // Per launcher row: the program of an installed module, else the row's
    // download id.
    std::array<QString, 19> ModuleTargets;
    // ... and the folder of an installed module, which its program runs on.
    std::array<QString, 19> ModuleFolders;
    // The last page fill could read the page's questions from the bank.
    bool FlaggedPageReady = false;
    // ... and failed because the session files could not be written.
    bool FlaggedPageNotWritable = false;

    // ---- controls ----
    core::Control& LblCaption;   // caption line at the top; a drag handle of the window
    core::Control& LblKmMc1;     // module title: the silver copy under the red one
    core::Control& LblKmMc;      // module title in red
    // Unit tab: normal, hover and pressed faces, and the label that takes
    // the mouse.
    core::Control& ImgTiKu;
    core::Control& ImgTiKu1;
    core::Control& ImgTiKu2;
    core::Control& LblTiKu;
    // Paper tab, the same way.
    core::Control& ImgKaCH;
    core::Control& ImgKaCH1;
    core::Control& ImgKaCH2;
    core::Control& LblKaCH;
    // Link labels of the cover's frame.
    core::Control& LblWeb1;
    core::Control& LblWeb2;
    core::Control& LblQQ1;
    core::Control& LblQQ2;
    core::Control& LblAbout;
    core::Control& ImgClose;     // close button face, shown under the pointer
    core::Control& LblClose;     // the close button's click area
    // Panels, back to front.
    core::Control& PicPro;       // information pages
    core::Control& PicReg;       // update option
    core::Control& PicTiKu;      // unit rows
    core::Control& PicKaCH;      // paper rows
    core::Control& PicBiaoZhi;   // flagged questions
    // Paper panel.
    core::Control& ImgStartKsM;  // hover picture of a row's start label, moved to the row
    core::Control& ImgStartKsD;  // pressed picture, the same way
    // Unit panel.
    core::Control& ImgJinRuXXM;  // hover picture of a row's start label, moved to the row
    core::Control& ImgJinRuXXD;  // pressed picture, the same way
    // Flagged panel.
    core::Control& ImgSaveBiao;  // header strip over the rows
    core::Control& PicSave;      // row area
    core::Control& FramSave;     // frame that holds the rows
    core::Control& ImgSaveXiao;  // a label that draws the selection bar
    // Update option panel.
    core::Control& Check1;       // automatic update on or off (updata.txt)
    core::Control& Label2;       // its caption
    // Information panel.
    core::Control& LblLast;      // previous and next page areas
    core::Control& LblNext;

    core::ControlArray& imgReg;        // command button faces (0-15)
    core::ControlArray& CmdReg;        // command buttons' click labels, same indices
    core::ControlArray& LblPro;        // information menu entries
    // Paper rows (0-13).
    core::ControlArray& ImgShiJuan;    // row picture
    core::ControlArray& LblShiJuanNo;  // paper number
    core::ControlArray& LblKSInFo;     // last exam time and best score
    core::ControlArray& LblErr;        // review of the wrong questions
    core::ControlArray& LblStartKs;    // start label
    // Unit rows (0-20).
    core::ControlArray& ImgUnit;       // row picture
    core::ControlArray& LblUnitNo;     // unit number
    core::ControlArray& LblUnintSL;    // question count
    core::ControlArray& LblUnitWei;    // unsolved count
    core::ControlArray& LblJinRuXX;    // start label
    core::ControlArray& LblUWrong;     // review of the unsolved questions
    // Flagged list.
    core::ControlArray& LblSaveCAP;    // 0 the selected row's question text, 1 the empty-list notice
    core::ControlArray& LblSCmd;       // row backgrounds that take the clicks (1-18)
    core::ControlArray& LblXiaoSave;   // row captions
    core::ControlArray& LineSaveVS;    // column separators
    core::ControlArray& LineSaveBottom; // rules under the rows
    // Information pages: launcher grid squares and their click labels.
    core::ControlArray& ShapeKm;
    core::ControlArray& LblKmLj;

private:
    void buildControls();
    void wireInfoPanel();
    void LblPro_MouseMove(int index);
    void LblPro_MouseDown(int index);
    void Form_Load();
    void LayoutSaveList();
    void Form_MouseDown(const core::MouseArgs& a);
    void Form_MouseMove();
    void LblCaption_MouseDown(const core::MouseArgs& a);
    void LblClose_Click();
    void CmdReg_MouseMove(int index);
    void CmdReg_MouseDown(int index);
    void Check1_Click();
    void hideAllPanels();
    void setFace(int index, const QString& kind);
    // The unit and paper tabs' faces: tab `tab` shows `face`, the other one
    // its normal face.
    enum { UnitTab, PaperTab };
    enum { NormalFace, HoverFace, PressedFace };
    void showTabFace(int tab, int face);
    void placeFlaggedRules();
    bool layoutDone_ = false;
    session::OptionBox updateOption_{Check1};
};

core::FormSlot<FrmFengmian>& frmFengmian();

// Makes showCover show the cover (loaded afresh after an unload).
void registerCover();

// Texts of the cover.
extern const char* const kQuitQuestion;      // "确实要退出考试系统吗？"
extern const char* const kQuitTitle;         // "Tesmar软件"
extern const char* const kRemoveAllQuestion; // "您确定将全部标识题目移除吗？"
extern const char* const kRemoveAllTitle;    // "移除全部标识题"
extern const char* const kNoFlagged;         // "您还没有标识题目"
extern const char* const kFlaggedNotSaved;
extern const char* const kUpdaterMissing;
extern const char* const kUpdaterNotStarted;
extern const char* const kPageUnreadable;
extern const char* const kLastPage;          // "已经到最后一页"
extern const char* const kFirstInfoPage;     // "已经到第一页"
extern const char* const kSiblingNotStarted; // followed by the program's path

} // namespace cover
