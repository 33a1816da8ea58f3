#include "session/frm_tm.h"

#include <QtGlobal>

#include "core/errors.h"
#include "core/keyboard_layout.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"
#include "session/bank.h"
#include "session/end_practice.h"
#include "session/frm_end.h"
#include "session/frm_ime.h"
#include "session/frm_picture.h"
#include "session/frm_tm_art.h"

namespace session {

using namespace core;

const char* const kTimeUp = "时间已到，自动交卷！";
const char* const kShowPicture = "显示图片";
const char* const kHidePicture = "隐藏图片";

namespace {


// The practice window; the first reference loads it.
Form& practiceWindow() {
    if (!windows().practiceWindow) throw RuntimeError(91, "the practice window is not available");
    return windows().practiceWindow();
}

// The practice window's calls; one that is not there fails like the window.
const Windows& practice() {
    if (!windows().practiceWindow) throw RuntimeError(91, "the practice window is not available");
    return windows();
}

// Entry q (1..40) of a per-question table; error 9 outside.
template <class T, size_t N>
auto& entry(std::array<T, N>& a, int q) {
    if (q < 1 || q > SessionState::MaxQuestions) throw RuntimeError(ErrSubscriptOutOfRange, "subscript out of range");
    return a[q];
}

} // namespace

// ---------------------------------------------------------------- texts

std::optional<QString> questionTitle(const SessionState& s, const QString& moduleName) {
    const int q = s.CurrentQuestion;
    if (q < 1 || q > SessionState::MaxQuestions) return std::nullopt;
    const QString n = QString::number(q);
    const QString count = QString::number(s.QuestionCount);
    const QString code = "(" + padDigits(s.QuestionId[q] + 100, 4) + ")";
    const QString mark = s.QuestionResult[q] == QStringLiteral("F") ? QStringLiteral("(未完成)") : QStringLiteral("(已完成)");
    switch (s.ListKind) {
    case ListPaper:
        return moduleName + " " + QString::number(s.SetNo + 1) + "套第" + n + "题" + code;
    case ListPaperWrong:
        return moduleName + " 错" + QString::number(s.ReviewUnit + 1) + "-" + n + "/" + count + code + mark;
    case ListUnitWrong:
        return moduleName + " 错" + n + "/" + count + code + mark;
    case ListFlagged:
        return moduleName + " 标" + n + "/" + count + code + mark;
    case ListUnit:
        return moduleName + " " + QString::number(s.SetNo + 1) + "单元" + n + "/" + count + "题" + mark;
    default:
        return std::nullopt;
    }
}

QString questionTextShown(const QString& text) {
    QString out = text;
    out.replace(u'|', QStringLiteral("\r\n"));
    return out;
}

QString functionFacePicture(const QString& kind, int index) {
    return joinPath(config().DataDir, kind + padDigits(index, 2) + ".rar");
}

HandInConfirmation& handInConfirmation() {
    static HandInConfirmation h;
    return h;
}

uint32_t gridColour(int16_t state) {
    uint32_t colour = (state & 1) ? 65280u : 0x8000000Fu;
    if (state == 2 || state == 3 || state == 6 || state == 7) colour = 255;
    return colour;
}

int16_t flagToggled(int16_t state) {
    return state >= 0 && state <= 7 ? static_cast<int16_t>(state ^ 2) : state;
}

// ---------------------------------------------------------------- the window

FrmTm::FrmTm()
    : Form("FrmTm"),
      TimKsModel(addTimer("TimKsModel", 500, true)),
      TimeKS(addTimer("TimeKS", 60000, true)),
      TimerREDO(addTimer("TimerREDO", 100, false)),
      TimStartYS(addTimer("TimStartYS", 100, false)),
      FrmZXH(add(Kind::PictureBox, "FrmZXH")),
      Label2(add(Kind::Label, "Label2", &FrmZXH)),
      Command2(add(Kind::Label, "Command2", &FrmZXH)),
      FrmSelect(add(Kind::Frame, "FrmSelect")),
      CmdSelFH(add(Kind::CommandButton, "CmdSelFH", &FrmSelect)),
      FrmKSXX(add(Kind::Frame, "FrmKSXX")),
      CmdKSFH(add(Kind::CommandButton, "CmdKSFH", &FrmKSXX)),
      KsName1(add(Kind::Label, "KsName1", &FrmKSXX)),
      KsZWH1(add(Kind::Label, "KsZWH1", &FrmKSXX)),
      KsCC1(add(Kind::Label, "KsCC1", &FrmKSXX)),
      KsDAH1(add(Kind::Label, "KsDAH1", &FrmKSXX)),
      KsKM1(add(Kind::Label, "KsKM1", &FrmKSXX)),
      KsSFZ1(add(Kind::Label, "KsSFZ1", &FrmKSXX)),
      Image1(add(Kind::Image, "Image1", &FrmKSXX)),
      FrmZhuYa(add(Kind::PictureBox, "FrmZhuYa")),
      CmdEn(add(Kind::CommandButton, "CmdEn", &FrmZhuYa)),
      PicUnit(add(Kind::PictureBox, "PicUnit", &FrmZhuYa)),
      LblUnit(add(Kind::Label, "LblUnit", &PicUnit)),
      Image2(add(Kind::CommandButton, "Image2", &FrmZhuYa)),
      PTime(add(Kind::PictureBox, "PTime", &FrmZhuYa)),
      LblTimeJD(add(Kind::Label, "LblTimeJD", &PTime)),
      RtbTM(add(Kind::TextBox, "RtbTM", &FrmZhuYa)),
      LblIME(add(Kind::Label, "LblIME", &FrmZhuYa)),
      LblName(add(Kind::Label, "LblName", &FrmZhuYa)),
      LblTime(add(Kind::Label, "LblTime", &FrmZhuYa)),
      ImgDown(add(Kind::Image, "ImgDown", &FrmZhuYa)),
      ImgMove(add(Kind::Image, "ImgMove", &FrmZhuYa)),
      LblZXH(add(Kind::Label, "LblZXH")),
      LblMove(add(Kind::Label, "LblMove")),
      LblBiao(add(Kind::Label, "LblBiao")),
      ImgZXH(add(Kind::Image, "ImgZXH")) {
    setBorderStyle(0);
    setShowInTaskbar(false);
    setPicture(art::titleStrip());

    // Minimised bar.
    FrmZXH.setVisible(false);
    FrmZXH.setBorderStyle(0);
    FrmZXH.setAppearance(0);
    FrmZXH.setBackColor(0x80000005);
    FrmZXH.setPicture(art::minimisedBar());
    FrmZXH.move(0, 0, 810, 870);
    Label2.setBackStyle(0);
    Label2.move(0, 0, 855, 255);
    Command2.setBackStyle(0);

    // Question grid.
    FrmSelect.setBorderStyle(0);
    for (int i = 1; i <= SessionState::MaxQuestions; ++i) {
        Control& b = addElement(Kind::CommandButton, "CmTNO", i, &FrmSelect);
        b.setGraphicalStyle(true);
    }
    CmdSelFH.setCaption("返回");
    CmdSelFH.setToolTipText("返回");
    CmdSelFH.setWidth(1215);
    CmdSelFH.setHeight(375);

    // Candidate panel.
    FrmKSXX.setBorderStyle(0);
    CmdKSFH.setCaption("返回");
    CmdKSFH.setToolTipText("返回");
    CmdKSFH.setWidth(1335);
    CmdKSFH.setHeight(435);
    const char* rowCaptions[] = {"姓    名：", "座 位 号：", "场    次：", "档 案 号：", "报考科目：", "身份证号："};
    for (int k = 0; k < 6; ++k) {
        Control& l = addElement(Kind::Label, "Label1", k, &FrmKSXX);
        l.setBackStyle(0);
        l.setAutoSize(true);
        l.setCaption(QString::fromUtf8(rowCaptions[k]));
    }
    for (Control* v : {&KsName1, &KsZWH1, &KsCC1, &KsDAH1, &KsKM1, &KsSFZ1}) {
        v->setBackStyle(0);
        v->setAutoSize(true);
    }
    Image1.setStretch(true);
    Image1.setPicture(art::photoPlaceholder());

    // Main panel.
    FrmZhuYa.setBorderStyle(0);
    FrmZhuYa.setAppearance(0);
    FrmZhuYa.setBackColor(rgbValue(240, 240, 240));
    FrmZhuYa.setHeight(4125);
    CmdEn.setCaption("?");
    PicUnit.setBorderStyle(1);
    LblUnit.setBackStyle(0);
    LblUnit.setAutoSize(true);
    LblUnit.move(0, 0);
    PTime.setBorderStyle(1);
    LblTimeJD.setBackStyle(1);
    LblTimeJD.setBackColor(rgbValue(0, 0, 255));
    LblTimeJD.move(0, 0, 0, 255);
    RtbTM.setMultiLine(true);
    RtbTM.setLocked(true);
    RtbTM.setScrollBars(2);  // vertical
    RtbTM.setFontName("宋体");
    for (int i = 0; i <= 10; ++i) {
        Control& c = addElement(Kind::Label, "CmdGN", i, &FrmZhuYa);
        c.setBackStyle(0);
    }
    LblIME.setCaption("EN");
    LblIME.setForeColor(rgbValue(255, 255, 255));
    LblIME.setBackColor(rgbValue(0, 0, 255));
    LblIME.setBackStyle(1);
    ImgDown.setPicture(art::facePlaceholder());
    ImgDown.move(ImgDown.left(), 1680, 945, 360);
    ImgMove.setPicture(art::facePlaceholder());
    ImgMove.move(ImgMove.left(), 2160, 945, 360);
    for (int i = 0; i <= 10; ++i) {
        Control& f = addElement(Kind::Image, "ImgGN", i, &FrmZhuYa);
        f.setStretch(false);
        f.setWidth(615);
        f.setHeight(375);
    }

    // Title strip.
    LblZXH.setBackStyle(0);
    LblZXH.setToolTipText("最小化");
    LblMove.setBackStyle(0);
    LblBiao.setBackStyle(0);
    LblBiao.setAutoSize(true);
    LblBiao.setForeColor(rgbValue(255, 255, 255));
    LblBiao.setFontBold(true);
    LblBiao.setFontName("宋体");
    ImgZXH.setVisible(false);
    ImgZXH.setPicture(art::minimiseHover());

    // Input-method menu (a popup only).
    Menu& ime = addMenu("mIme");
    ime.setCaption("输入法");
    ime.setVisible(false);
    addMenu("mEng", &ime).setCaption("英语（美国）");
    for (int k = 1; k <= 10; ++k) addMenu("mCn" + QString::number(k), &ime).setCaption("中文" + QString::number(k));
    menu("mEng").onClick = [this](Menu&) { chooseImeEntry(0); };
    for (int k = 1; k <= 10; ++k) menu("mCn" + QString::number(k)).onClick = [this, k](Menu&) { chooseImeEntry(k); };

    // Stacking: a control earlier in this list lies in front of a later one
    // of the same container.
    const char* stacking[] = {"FrmZXH", "Label2", "Command2", "FrmSelect", "CmTNO", "CmdSelFH", "FrmKSXX",
                              "CmdKSFH", "Label1", "KsName1", "KsZWH1", "KsCC1", "KsDAH1", "KsKM1", "KsSFZ1",
                              "Image1", "FrmZhuYa", "CmdEn", "PicUnit", "LblUnit", "Image2", "PTime",
                              "LblTimeJD", "RtbTM", "CmdGN", "LblIME", "LblName", "LblTime", "ImgDown",
                              "ImgMove", "ImgGN", "LblZXH", "LblMove", "LblBiao", "ImgZXH"};
    for (const char* name : stacking) {
        const QString n = QString::fromLatin1(name);
        if (n == "CmTNO" || n == "Label1" || n == "CmdGN" || n == "ImgGN") {
            for (auto& [i, c] : Form::array(n).elements()) c->zOrder(1);
        } else {
            control(n).zOrder(1);
        }
    }

    // Events.
    onLoad = [this] { Form_Load(); };
    TimerREDO.onTimer = [this](Timer&) { TimerREDO_Timer(); };
    TimeKS.onTimer = [this](Timer&) { TimeKS_Timer(); };
    TimKsModel.onTimer = [this](Timer&) { TimKsModel_Timer(); };
    TimStartYS.onTimer = [this](Timer&) { TimStartYS_Timer(); };

    onUnload = [](int& cancel) {
        if (!core::session().AllowCloseQuestion) cancel = 1;
    };
    onDesktopClose = [this] { desktopClose(); };
    onMouseMove = [this](const MouseArgs&) { ImgZXH.setVisible(false); };
    onKeyUp = [this](int&, int) { practiceForward(); };

    LblZXH.onClick = [this](Control&) { LblZXH_Click(); };
    LblZXH.onMouseMove = [this](Control&, const MouseArgs&) { ImgZXH.setVisible(true); };
    Command2.onClick = [this](Control&) { Command2_Click(); };
    Command2.onMouseMove = [this](Control&, const MouseArgs&) { Command2.setBorderStyle(1); };
    FrmZXH.onMouseMove = [this](Control&, const MouseArgs&) { Command2.setBorderStyle(0); };

    // Drags: the statements after the move run when it ends, as a handler of
    // this window if it is still the loaded one.
    auto afterMove = [self = this](const char* what, std::function<void(FrmTm&)> fn) {
        return [self, what, fn] {
            if (frmTm().peek() != self) return;
            self->dispatch(what, [self, fn] { fn(*self); });
        };
    };
    LblMove.onMouseDown = [this, afterMove](Control&, const MouseArgs& a) {
        resumeNext([&] {
            startMove(a.button, afterMove("LblMove_MouseDown", [](FrmTm& w) { resumeNext([&] { w.practiceForward(); }); }));
        });
    };
    FrmZXH.onMouseDown = [this, afterMove](Control&, const MouseArgs& a) {
        resumeNext([&] {
            startMove(a.button, afterMove("FrmZXH_MouseDown", [](FrmTm& w) { w.Command2.setBorderStyle(0); }));
        });
    };
    Label2.onMouseDown = [this, afterMove](Control&, const MouseArgs& a) {
        resumeNext([&] {
            startMove(a.button, afterMove("Label2_MouseDown", [](FrmTm& w) {
                w.Command2.setBorderStyle(0);
                resumeNext([&] { w.practiceForward(); });
            }));
        });
    };

    auto hideZxhAndPark = [this](Control&, const MouseArgs&) {
        ImgZXH.setVisible(false);
        parkFaces();
    };
    FrmZhuYa.onMouseMove = hideZxhAndPark;
    LblMove.onMouseMove = hideZxhAndPark;
    PicUnit.onMouseUp = [this](Control&, const MouseArgs&) { parkFaces(); };
    PTime.onMouseMove = [this](Control&, const MouseArgs&) { parkFaces(); };
    PicUnit.onKeyUp = [this](Control&, int&, int) { resumeNext([&] { practiceForward(); }); };

    // The question text never keeps a selection.
    auto clearSel = [this] { RtbTM.setSelLength(0); };
    RtbTM.onClick = [this, clearSel](Control&) {
        clearSel();
        practiceForward();
    };
    RtbTM.onDblClick = [clearSel](Control&) { clearSel(); };
    RtbTM.onKeyPress = [clearSel](Control&, int&) { clearSel(); };
    RtbTM.onKeyUp = [this, clearSel](Control&, int&, int) {
        clearSel();
        practiceForward();
    };
    RtbTM.onMouseDown = [clearSel](Control&, const MouseArgs&) { clearSel(); };
    RtbTM.onMouseUp = [clearSel](Control&, const MouseArgs&) { clearSel(); };
    RtbTM.onMouseMove = [this, clearSel](Control&, const MouseArgs&) {
        clearSel();
        parkFaces();
    };

    auto unitTip = [this] { LblUnit.setToolTipText(LblUnit.caption()); };
    LblUnit.onClick = [unitTip](Control&) { unitTip(); };
    LblUnit.onMouseMove = [unitTip](Control&, const MouseArgs&) { unitTip(); };

    Image2.onClick = [this](Control&) { Image2_Click(); };

    // Function buttons: faces on press, move and release, then the click
    // (of either mouse button).
    for (int i = 0; i <= 10; ++i) {
        Control& b = CmdGN(i);
        b.onMouseDown = [this](Control& c, const MouseArgs&) { CmdGN_MouseDown(c.index()); };
        b.onMouseMove = [this](Control& c, const MouseArgs&) { CmdGN_MouseMove(c.index()); };
        b.onMouseUp = [this](Control& c, const MouseArgs& a) { CmdGN_MouseUp(c.index(), a.button, a.shift); };
        b.onClick = [this](Control& c) { CmdGN_Click(c.index()); };
    }
    for (int i = 1; i <= SessionState::MaxQuestions; ++i)
        CmTNO(i).onClick = [this](Control& c) { CmTNO_Click(c.index()); };
    CmdSelFH.onClick = [this](Control&) { CmdSelFH_Click(); };
    CmdKSFH.onClick = [this](Control&) { CmdKSFH_Click(); };
    CmdEn.onClick = [this](Control&) { CmdEn_Click(); };
    LblIME.onClick = [this](Control&) { LblIME_Click(); };
}

void FrmTm::Form_Load() {
    // Every statement goes on after an error.
    auto st = [](const std::function<void()>& f) { resumeNext(f); };
    const double sx = config().ScaleX, sy = config().ScaleY;
    SessionState& s = core::session();

    DemoSpeed = 1;
    st([&] { setWidth(4980 * sx); });
    st([&] { setHeight(3630 * sy); });
    for (int i = std::max(1, s.QuestionCount + 1); i <= SessionState::MaxQuestions; ++i)
        st([&] { CmTNO(i).setVisible(false); });
    DemoStartTicks = 0;
    st([&] { setTopmost(true); });
    st([&] { setLeft(15360 * sx - width()); });
    st([&] { setTop(9000 * sy - height()); });

    // Title strip and panels.
    st([&] { LblBiao.move(510 * sx, 90 * sy); });
    st([&] { LblBiao.setFontSize(10 * sx); });
    st([&] { LblMove.move(0, 0, 3900 * sx, 450 * sy); });
    st([&] { LblZXH.move(3870 * sx, 30 * sy, 330 * sx, 330 * sy); });
    st([&] { ImgZXH.move(LblZXH.left(), LblZXH.top()); });
    st([&] { FrmSelect.move(0, 450 * sy, width(), height()); });
    st([&] { FrmKSXX.move(0, 450 * sy, width(), height()); });
    st([&] { FrmZhuYa.move(0, 450 * sy, width(), FrmZhuYa.height()); });
    st([&] { FrmZXH.move(0, 0); });
    st([&] { ImgDown.setLeft(6000 * sx); });
    st([&] { ImgMove.setLeft(6030 * sx); });

    // Function bar faces; the exam set lies where the practice set lies.
    for (int i = 0; i <= 10; ++i) {
        st([&] { ImgGN(i).setPicture(loadPictureOrThrow(functionFacePicture("l012", i))); });
        st([&] { ImgGN(i).setTop(15 * sy); });
    }
    for (int i = 5; i <= 10; ++i) st([&] { ImgGN(i).setTop(2355 * sy); });
    const int lefts[] = {90, 1020, 1950, 3030, 4110, 90, 2010, 3930};
    for (int i = 0; i <= 7; ++i) st([&] { ImgGN(i).setLeft(lefts[i] * sx); });
    for (int i = 8; i <= 10; ++i) st([&] { ImgGN(i).setLeft(ImgGN(i - 3).left()); });
    for (int i = 0; i <= 10; ++i)
        st([&] { CmdGN(i).move(ImgGN(i).left(), ImgGN(i).top(), ImgGN(i).width(), ImgGN(i).height()); });

    // Restore button of the minimised bar.
    st([&] { Command2.setWidth(645 * sx); });
    st([&] { Command2.setHeight(540 * sy); });
    st([&] { Command2.setLeft((FrmZXH.width() - Command2.width()) / 2); });
    st([&] { Command2.setTop(270 * sy); });

    // Question text, picture button and status row.
    st([&] { RtbTM.move(CmdGN(0).left(), 450 * sy, 4770 * sx, 1815 * sy); });
    st([&] { RtbTM.setFontSize(11 * sx); });
    st([&] { Image2.move(3720 * sx, 1800 * sy, 1065 * sx, 375 * sy); });
    st([&] { Image2.setFontSize(9 * sx); });
    st([&] { Image2.setCaption(QString::fromUtf8(kShowPicture)); });
    st([&] { LblTime.move(CmdGN(5).left(), 2760 * sy, 1215 * sx, 285 * sy); });
    st([&] { PTime.move(1365 * sx, LblTime.top(), 2055 * sx, LblTime.height()); });
    st([&] { LblName.move(3450 * sx, LblTime.top(), 735 * sx, LblTime.height()); });
    st([&] { LblIME.move(4230 * sx, LblTime.top(), 615 * sx, LblTime.height()); });
    st([&] { PicUnit.move(LblTime.left(), LblTime.top(), 4080 * sx, LblTime.height()); });
    st([&] { LblUnit.move(0, 0, PicUnit.width(), PicUnit.height()); });

    // Candidate panel.
    st([&] { Image1.move(120 * sx, 120 * sy, 1455 * sx, 1740 * sy); });
    st([&] { Label1(0).move(1680 * sx, 120 * sy); });
    for (int k = 1; k <= 5; ++k) st([&] { Label1(k).move(Label1(0).left(), Label1(k - 1).top() + 315 * sy); });
    Control* values[] = {&KsName1, &KsZWH1, &KsCC1, &KsDAH1, &KsKM1, &KsSFZ1};
    st([&] { KsName1.setLeft(2640 * sx); });
    st([&] { Label1(0).setFontSize(9 * sx); });
    for (int k = 0; k <= 5; ++k) {
        st([&] { values[k]->setLeft(KsName1.left()); });
        st([&] { values[k]->setTop(Label1(k).top()); });
        if (k > 0) st([&] { Label1(k).setFontSize(Label1(0).fontSize()); });
        st([&] { values[k]->setFontSize(Label1(k).fontSize()); });
    }
    st([&] { CmdKSFH.move(1680 * sx, 2400 * sy); });

    // Candidate values, one per row.
    KsName1.setCaption(s.CandidateName);
    KsZWH1.setCaption(s.SeatNo);
    KsCC1.setCaption(s.SessionNo);
    KsDAH1.setCaption(s.AdmissionNo);
    KsKM1.setCaption(config().ModuleName);
    KsSFZ1.setCaption(s.IdCardNo);

    // Help button, flush with the right end of the input-method indicator.
    st([&] { CmdEn.setTop(LblIME.top()); });
    st([&] { CmdEn.setWidth(240 * sx); });
    st([&] { CmdEn.setHeight(255 * sy); });
    st([&] { CmdEn.setLeft(LblIME.left() + LblIME.width() - CmdEn.width()); });

    // Clock and name.
    st([&] { LblTime.setCaption("剩余" + QString::number(s.MinutesLeft) + "分钟"); });
    st([&] { LblTimeJD.setWidth(std::max(0.0, (50 - s.MinutesLeft) * PTime.width() / 50)); });
    st([&] { LblName.setCaption(s.CandidateName); });

    // Question grid: ten columns by four rows of square buttons.
    const double cell = FrmSelect.width() / 10.15;
    for (int i = 1; i <= SessionState::MaxQuestions; ++i) {
        st([&] {
            Control& b = CmTNO(i);
            b.setCaption(QString::number(i));
            b.move(30 * sx + cell * ((i - 1) % 10), 150 * sy + cell * ((i - 1) / 10), cell, cell);
        });
    }
    st([&] { CmdSelFH.setLeft(CmTNO(34).left() + CmTNO(34).width() / 2); });
    st([&] { CmdSelFH.setTop(CmTNO(35).top() + CmTNO(35).height() + 240 * sy); });
    st([&] { FrmSelect.setVisible(false); });
    st([&] { FrmKSXX.setVisible(false); });

    // Question 1 is marked opened.
    if (!(s.QuestionState[1] & 1)) s.QuestionState[1] += 1;

    st([&] { buildImeMenu(); });
    st([&] { DqExam(); });
    st([&] { TimKsModel.setEnabled(true); });
}

void FrmTm::buildImeMenu() {
    NextImeItem = 1;
    ImeEntryLayout = {};
    ImeLayoutList = keyboardLayouts().installed();
    if (ImeLayoutList.size() > 16) ImeLayoutList.resize(16);
    // Each entry activates the layout whose description it shows; mEng the
    // first plain layout, or the first of the list when all have one.
    for (const KeyboardLayout& l : ImeLayoutList) {
        if (l.description.isEmpty()) {
            menu("mEng").setCaption(QStringLiteral("英语（美国）"));
            if (ImeEntryLayout[0].isEmpty()) ImeEntryLayout[0] = l.id;
            continue;
        }
        if (NextImeItem >= 1 && NextImeItem <= 10) {
            menu("mCn" + QString::number(NextImeItem)).setCaption(l.description);
            ImeEntryLayout[NextImeItem] = l.id;
        }
        NextImeItem += 1;
    }
    if (ImeEntryLayout[0].isEmpty() && !ImeLayoutList.empty()) ImeEntryLayout[0] = ImeLayoutList.front().id;
    for (int k = 10; k >= 2; --k)
        if (NextImeItem < k + 1) menu("mCn" + QString::number(k)).setVisible(false);
}

void FrmTm::LblIME_Click() {
    if (!core::session().ImeSimEnabled) return;
    resumeNext([&] {
        ui().popupMenu(*this, menu("mIme"), LblIME.left(), FrmZhuYa.top() + LblIME.top() - 300.0 * NextImeItem,
                       PopupRightAlign);
    });
}

void FrmTm::chooseImeEntry(int entry) {
    if (entry < 0 || entry > 10) return;
    core::session().ImeLayout = ImeEntryLayout[entry];
    resumeNext([&] { practiceForward(); });
    resumeNext([&] {
        if (windows().focusPracticeInput) windows().focusPracticeInput();
    });
}

void FrmTm::DqExam() {
    auto st = [](const std::function<void()>& f) { resumeNext(f); };
    SessionState& s = core::session();
    const int q = s.CurrentQuestion;

    // Navigation.
    st([&] { CmdGN(0).setEnabled(q > 1); });
    st([&] { CmdGN(1).setEnabled(q < s.QuestionCount); });

    // The question's line; empty when the list has none for it.
    st([&] {
        QString line;
        if (auto lines = readLines(s.QuestionFile); lines && q >= 1 && q <= lines->size()) line = (*lines)[q - 1];
        s.QuestionLine = line;
    });
    const QuestionListLine line(s.QuestionLine);
    st([&] { RtbTM.setText(questionTextShown(shownText(line.text()))); });

    // The picture offer: hidden, then shown for a picture question.
    st([&] { frmPicture()().hide(); });
    st([&] { Image2.setVisible(false); });
    if (line.hasPicture()) {
        st([&] { frmPicture()().Image1.setPicture(loadPictureOrThrow(config().dataFile(line.pictureNo()))); });
        st([&] { Image2.setCaption(QString::fromUtf8(kShowPicture)); });
        st([&] { RtbTM.setText(shownText(line.body())); });
        st([&] { Image2.setVisible(true); });
    }

    // The question's last scene in the practice window.
    for (int k = 0; k <= 6; ++k) {
        st([&] {
            const QString name = entry(s.QuestionPictures, q)[k];
            if (name.isEmpty()) throw RuntimeError(ErrFileNotFound, "no stored picture");
            Picture pic = loadPictureOrThrow(config().dataFile(name));
            practice().showPracticeScene(k, pic);
        });
    }
    st([&] { practice().armPracticeSetUp(); });

    st([&] {
        if (auto title = questionTitle(s, config().ModuleName)) LblBiao.setCaption(*title);
    });
    st([&] { LblUnit.setCaption(unsolvedList(s)); });
    st([&] {
        int16_t& state = entry(s.QuestionState, q);
        if (!(state & 1)) state += 1;
    });
    st([&] { s.CurrentStep = entry(s.QuestionStep, q); });
    if (s.RunMode != RunExam) s.RunMode = RunPractice;
    if (s.ListKind == ListPaper && s.RunMode == RunPractice) TimKsModel.setEnabled(true);
    st([&] { practiceForward(); });
}

void FrmTm::TimerREDO_Timer() {
    DqExam();
    TimerREDO.setEnabled(false);
}

void FrmTm::TimeKS_Timer() {
    SessionState& s = core::session();
    if (s.ListKind != ListPaper) {
        TimeKS.setEnabled(false);
        return;
    }
    // The clock stops at 0: the time-up message and the hand-in come once.
    if (s.MinutesLeft <= 0) return;
    s.MinutesLeft -= 1;
    auto st = [](const std::function<void()>& f) { resumeNext(f); };
    st([&] { LblTime.setCaption("剩余" + QString::number(s.MinutesLeft) + "分钟"); });
    st([&] { LblTimeJD.setWidth((50 - s.MinutesLeft) * PTime.width() / 50); });
    if (s.MinutesLeft != 0) return;
    HandInConfirmation& h = handInConfirmation();
    st([&] {
        if (h.begin) h.begin();
    });
    st([&] { MsgBox(QString::fromUtf8(kTimeUp), MbOkOnly, config().ModuleName); });
    st([&] {
        if (h.isOpen && h.isOpen()) return;
        if (h.open) h.open();
    });
}

void FrmTm::TimKsModel_Timer() {
    PicUnit.setVisible(core::session().RunMode != RunExam);
    for (int i = 5; i <= 10; ++i) {
        ImgGN(i).setVisible(PicUnit.visible());
        if (i > 7) ImgGN(i).setVisible(!PicUnit.visible());
        CmdGN(i).setVisible(ImgGN(i).visible());
    }
    TimKsModel.setEnabled(false);
}

// ---------------------------------------------------------------- chrome

void FrmTm::practiceForward() {
    Form& pw = practiceWindow();
    pw.setWindowState(StateNormal);
    pw.show();
}

void FrmTm::dockAtPracticeWindow() {
    Form& pw = practiceWindow();
    move(pw.left() + pw.width() - width(), pw.top() + pw.height() - height());
}

void FrmTm::showUnsolvedQuestions(const QString& list) { LblUnit.setCaption(list); }

void FrmTm::markQuestionCompleted() { LblBiao.setCaption(engine::completedTitle(LblBiao.caption())); }

void FrmTm::parkFaces() {
    ImgDown.setLeft(6000 * config().ScaleX);
    ImgMove.setLeft(6030 * config().ScaleX);
}

void FrmTm::startMove(int button, std::function<void()> afterMove) {
    if (button == LeftButton) {
        moveWindowWithMouse(*this, std::move(afterMove));
        return;
    }
    if (afterMove) afterMove();
}

void FrmTm::LblZXH_Click() {
    auto st = [](const std::function<void()>& f) { resumeNext(f); };
    st([&] { setWidth(FrmZXH.width()); });
    st([&] { setHeight(FrmZXH.height()); });
    st([&] { setLeft(practiceWindow().left()); });
    st([&] {
        Form& pw = practiceWindow();
        setTop(pw.top() + pw.height() - height());
    });
    st([&] { FrmZXH.setVisible(true); });
}

void FrmTm::Command2_Click() {
    auto st = [](const std::function<void()>& f) { resumeNext(f); };
    st([&] { practiceForward(); });
    st([&] { setWidth(4980 * config().ScaleX); });
    st([&] { setHeight(3630 * config().ScaleY); });
    st([&] { dockAtPracticeWindow(); });
    st([&] { FrmZXH.setVisible(false); });
}

void FrmTm::Image2_Click() {
    FrmPicture& pic = frmPicture()();
    if (Image2.caption() == QString::fromUtf8(kShowPicture)) {
        pic.show();
        pic.Timer1.setEnabled(true);
        Image2.setCaption(QString::fromUtf8(kHidePicture));
    } else {
        pic.hide();
        Image2.setCaption(QString::fromUtf8(kShowPicture));
    }
}

void FrmTm::closePicture() {
    if (Image2.caption() != QString::fromUtf8(kShowPicture))
        Image2_Click();
    else if (frmPicture().loaded())
        frmPicture()().hide();
}

// ---------------------------------------------------------------- function buttons

bool FrmTm::pressable(const Control& c) const {
    if (!visible() || !enabled() || windowState() != StateNormal || !c.shown() || !c.enabled()) return false;
    const double x = c.formX() + c.width() / 2, y = c.formY() + c.height() / 2;
    if (x < 0 || y < 0 || x >= scaleWidth() || y >= scaleHeight()) return false;
    return hitTest(x, y) == &c;
}

void FrmTm::desktopClose() {
    if (core::boxOpen()) return;
    const int end = core::session().RunMode == RunExam ? 8 : 5;
    if (pressable(CmdGN(end))) CmdGN_Click(end);
}

void FrmTm::CmdGN_Click(int index) {
    // Every statement goes on after an error.
    auto st = [](const std::function<void()>& f) { resumeNext(f); };
    SessionState& s = core::session();
    switch (index) {
    case 0:  // previous
        st([&] {
            s.CurrentQuestion -= 1;
            if (s.CurrentQuestion < 1) s.CurrentQuestion = 1;
        });
        st([&] { DqExam(); });
        break;
    case 1:  // next
        st([&] {
            s.CurrentQuestion += 1;
            if (s.CurrentQuestion > s.QuestionCount) s.CurrentQuestion = s.QuestionCount;
        });
        st([&] { DqExam(); });
        break;
    case 2:  // redo: back to step 1; an answered question stays answered
        st([&] { entry(s.QuestionStep, s.CurrentQuestion) = 1; });
        st([&] { DqExam(); });
        break;
    case 3:  // flag: the grid shows it when opened
        st([&] {
            int16_t& state = entry(s.QuestionState, s.CurrentQuestion);
            state = flagToggled(state);
        });
        break;
    case 4:
        colourGrid();
        st([&] { FrmSelect.setVisible(true); });
        break;
    case 5:
        st([&] { EndPractice(); });
        break;
    case 6:
        startHintMode();
        break;
    case 7:
        st([&] { startDemonstration(); });
        break;
    case 8:
        st([&] { openHandIn(); });
        break;
    case 9:
        st([&] { FrmKSXX.setVisible(true); });
        break;
    case 10:
        st([&] { frmPicture()().hide(); });
        st([&] { Image2.setCaption(QString::fromUtf8(kShowPicture)); });
        st([&] { openViewAnswer(); });
        break;
    default:
        break;
    }
}

void FrmTm::colourGrid() {
    const SessionState& s = core::session();
    for (int i = 1; i <= SessionState::MaxQuestions; ++i)
        resumeNext([&] { CmTNO(i).setBackColor(gridColour(s.QuestionState[i])); });
}

void FrmTm::startHintMode() {
    auto st = [](const std::function<void()>& f) { resumeNext(f); };
    core::session().RunMode = RunGuided;
    // The hint and frames the step set-up laid out, then the menu or toolbar
    // target frame.
    st([&] { practice().showPracticeHint(); });
    st([&] { practiceWindow().setWindowState(StateNormal); });
    st([&] { practiceWindow().show(); });
}

void FrmTm::CmdGN_MouseDown(int index) {
    // A face that cannot be loaded is not shown; the normal face stays.
    auto face = pictureStore().load(functionFacePicture("l010", index));
    if (face) ImgDown.setPicture(*face);
    ImgDown.setVisible(face.has_value());
    ImgDown.move(CmdGN(index).left(), CmdGN(index).top());
}

void FrmTm::CmdGN_MouseMove(int index) {
    auto face = pictureStore().load(functionFacePicture("l011", index));
    if (face) ImgMove.setPicture(*face);
    ImgMove.setVisible(face.has_value());
    // The pressed face goes once the hover face has left its button.
    if (ImgMove.left() != ImgDown.left() || ImgMove.top() != ImgDown.top()) ImgDown.setLeft(6000 * config().ScaleX);
    ImgMove.move(CmdGN(index).left(), CmdGN(index).top());
}

void FrmTm::CmdGN_MouseUp(int index, int button, int shift) {
    // Half speed: the demonstration button released with the right button or
    // with Shift, Ctrl or Alt held.
    DemoSpeed = 1;
    if (index == 7 && (button == RightButton || shift != 0)) DemoSpeed = 2;
}

void FrmTm::CmTNO_Click(int index) {
    core::session().CurrentQuestion = static_cast<int16_t>(index);
    resumeNext([&] { FrmSelect.setVisible(false); });
    resumeNext([&] { DqExam(); });
}

void FrmTm::CmdSelFH_Click() { FrmSelect.setVisible(false); }

void FrmTm::CmdKSFH_Click() { FrmKSXX.setVisible(false); }

void FrmTm::CmdEn_Click() {
    LblZXH_Click();
    openImeHelp();
}

void FrmTm::EndPractice() { endPractice(*this); }

// ---------------------------------------------------------------- windows of later steps

void FrmTm::startDemonstration() {
    auto st = [](const std::function<void()>& f) { resumeNext(f); };
    SessionState& s = core::session();
    st([&] { frmPicture()().hide(); });
    st([&] { Image2.setCaption(QString::fromUtf8(kShowPicture)); });
    s.DemoRunning = true;
    // The question's line again; an unreadable list leaves it as it was, a
    // shorter one gives its last line.
    st([&] {
        const auto lines = readLines(s.QuestionFile);
        if (!lines) return;
        for (int n = 0; n < lines->size(); ++n) {
            s.QuestionLine = (*lines)[n];
            if (n + 1 == s.CurrentQuestion) break;
        }
    });
    // The text as stored: "|" stays.
    const QuestionListLine line(s.QuestionLine);
    st([&] { RtbTM.setText(shownText(line.text())); });
    st([&] { Image2.setVisible(false); });
    if (line.hasPicture()) {
        st([&] { frmPicture()().Image1.setPicture(loadPictureOrThrow(config().dataFile(line.pictureNo()))); });
        st([&] { Image2.setCaption(QString::fromUtf8(kShowPicture)); });
        st([&] { RtbTM.setText(shownText(line.body())); });
        st([&] { Image2.setVisible(true); });
    }
    armDemonstrationStart();
}

void FrmTm::armDemonstrationStart() {
    core::session().DemoRunning = true;
    TimStartYS.setEnabled(true);
}

void FrmTm::TimStartYS_Timer() {
    auto st = [](const std::function<void()>& f) { resumeNext(f); };
    DemoStartTicks += 1;
    if (DemoStartTicks == 1) return;
    DemoStartTicks = 0;
    TimStartYS.setEnabled(false);
    // Without a demonstration window the practice goes on as it was.
    const auto& show = windows().showDemonstration;
    if (!show) {
        core::session().DemoRunning = false;
        qWarning("FrmTm: the demonstration is not available in this build");
        return;
    }
    st([&] { practiceWindow().hide(); });
    st([&] { hide(); });
    st([&] { show(DemoSpeed); });
    core::session().DemoRunning = true;
}

void FrmTm::openHandIn() {
    HandInConfirmation& h = handInConfirmation();
    // Without a confirmation window the question window would stay hidden.
    if (!h.open) {
        qWarning("FrmTm: the hand-in confirmation is not available in this build");
        return;
    }
    auto st = [](const std::function<void()>& f) { resumeNext(f); };
    st([&] {
        if (h.begin) h.begin();
    });
    st([&] { move(0, 0); });
    st([&] { hide(); });
    st([&] { h.open(); });
}

void FrmTm::openViewAnswer() { frmCZTS()().show(true); }

void FrmTm::openImeHelp() {
    FrmIME& help = frmIme()();
    help.show(true);
    // However the help was left, it goes now; its unload restores this window.
    if (frmIme().peek() == &help) help.unload();
}

core::FormSlot<FrmTm>& frmTm() {
    static core::FormSlot<FrmTm> slot;
    return slot;
}

} // namespace session
