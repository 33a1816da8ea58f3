#include "engine/frm_main.h"
#include "engine/frm_main_util.h"

#include "chrome/design_pictures.h"
#include "chrome/zones.h"
#include "context_menu/context_menu_file.h"
#include "core/errors.h"
#include "core/pictures.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"
#include "engine/question_captions.h"
#include "engine/step_record.h"
#include "engine/text_table.h"

namespace engine {

using core::Control;
using core::Kind;
using core::resumeNext;

namespace {

using detail::rec;
using detail::sx;
using detail::sy;

constexpr uint32_t kRed = 255;
constexpr uint32_t kGreen = 65280;
constexpr uint32_t kYellow = 0xFFFF;



// Index checks of the per-question tables: a statement that uses an index
// outside its table fails (and is skipped by the caller).
int questionIndex(int q, int upper) {
    if (q < 1 || q > upper) throw core::RuntimeError(core::ErrSubscriptOutOfRange, "question index out of range");
    return q;
}

core::Picture dataPicture(const QString& number) { return core::loadPictureOrThrow(core::config().dataFile(number)); }

Control& addLabel(core::Form& f, const QString& name, Control* in = nullptr) {
    Control& c = f.add(Kind::Label, name, in);
    c.setBackStyle(0);
    return c;
}

Control& addBar(core::Form& f, const QString& name, const QImage& design) {
    Control& c = f.add(Kind::PictureBox, name);
    c.setBorderStyle(0);
    c.setAutoSize(true);
    if (!design.isNull()) c.setPicture(core::Picture(design));
    return c;
}

Control& addShape(core::Form& f, const QString& name, uint32_t colour, Control* in = nullptr) {
    Control& c = f.add(Kind::Shape, name, in);
    c.setBorderColor(colour);
    c.setBorderWidth(2);
    c.setVisible(false);
    return c;
}

Control& addImage(core::Form& f, const QString& name, Control* in = nullptr, bool visible = true) {
    Control& c = f.add(Kind::Image, name, in);
    c.setVisible(visible);
    return c;
}

Control& addPictureBox(core::Form& f, const QString& name, bool visible = false) {
    Control& c = f.add(Kind::PictureBox, name);
    c.setBorderStyle(0);
    c.setVisible(visible);
    return c;
}

Control& addTextBox(core::Form& f, const QString& name) {
    Control& c = f.add(Kind::TextBox, name);
    c.setFontName(QStringLiteral("宋体"));
    c.setFontSize(9);
    c.setVisible(false);
    return c;
}

} // namespace

FrmMain::FrmMain()
    : Form("FrmMain"),
      PicMenu(addBar(*this, "PicMenu", chrome::menuBarPicture())),
      PicTool(addBar(*this, "PicTool", chrome::toolbarPicture())),
      PicHui(addBar(*this, "PicHui", chrome::drawingBarPicture())),
      PicElse(addBar(*this, "PicElse", QImage())),
      PicTuBiao(addBar(*this, "PicTuBiao", chrome::chartBarPicture())),
      LblZHU(array("LblZHU")),
      ImgMenu(addImage(*this, "ImgMenu", &PicMenu)),
      ImgTool(addImage(*this, "ImgTool", &PicTool)),
      ImgHui(addImage(*this, "ImgHui", &PicHui)),
      ImgElse(addImage(*this, "ImgElse", &PicElse)),
      ImgTuBiao(addImage(*this, "ImgTuBiao", &PicTuBiao)),
      ShapeMenu(addShape(*this, "ShapeMenu", kRed, &PicMenu)),
      ShapeTool(addShape(*this, "ShapeTool", kRed, &PicTool)),
      ShapeHui(addShape(*this, "ShapeHui", kRed, &PicHui)),
      ShapeElse(addShape(*this, "ShapeElse", kRed, &PicElse)),
      ShapeTuBiao(addShape(*this, "ShapeTuBiao", kRed, &PicTuBiao)),
      Pic1J(addPictureBox(*this, "Pic1J")),
      Img1jBK(addImage(*this, "Img1jBK", &Pic1J)),
      Img1J(addImage(*this, "Img1J", &Pic1J)),
      Lbl1J(array("Lbl1J")),
      Pic2J(addPictureBox(*this, "Pic2J")),
      Img2J(addImage(*this, "Img2J", &Pic2J)),
      Lbl2J(array("Lbl2J")),
      Image1(addImage(*this, "Image1", nullptr, false)),
      Image2(addImage(*this, "Image2", nullptr, false)),
      Image3(addImage(*this, "Image3", nullptr, false)),
      Image4(addImage(*this, "Image4", nullptr, false)),
      Image5(addImage(*this, "Image5", nullptr, false)),
      Image6(addPictureBox(*this, "Image6")),
      Label1(addLabel(*this, "Label1")),
      Shape1(addShape(*this, "Shape1", kRed)),
      Label4(addLabel(*this, "Label4")),
      Shape4(addShape(*this, "Shape4", kGreen)),
      Shape6(addShape(*this, "Shape6", 0)),
      Shape2(addShape(*this, "Shape2", kYellow)),
      LHelp(add(Kind::Label, "LHelp")),
      Text1(addTextBox(*this, "Text1")),
      Text2(addTextBox(*this, "Text2")),
      Text3(addTextBox(*this, "Text3")),
      LblXXK(array("LblXXK")),
      LstLA(add(Kind::ListBox, "LstLA")),
      PicLeft(addPictureBox(*this, "PicLeft")),
      PicTop(addPictureBox(*this, "PicTop")),
      PicRight(addPictureBox(*this, "PicRight")),
      PicBottom(addPictureBox(*this, "PicBottom")),
      PicList(addPictureBox(*this, "PicList")),
      LblADD(array("LblADD")),
      ImgLiN(array("ImgLiN")),
      ImgSelAD(addImage(*this, "ImgSelAD", &PicList)),
      LblADDmyXZ(addLabel(*this, "LblADDmyXZ", &PicList)),
      ImgFuGai(addImage(*this, "ImgFuGai", &PicList)),
      LblMove(addLabel(*this, "LblMove")),
      ImgLogo(addImage(*this, "ImgLogo")),
      LblSuccess(addLabel(*this, "LblSuccess")),
      Timer2(addTimer("Timer2", 100, false)),
      Timer3(addTimer("Timer3", 1000, false)),
      TimerDisFK(addTimer("TimerDisFK", 100, false)),
      TimTool(addTimer("TimTool", 100, false)),
      wm100(addMenu("wm100")),
      mIme(addMenu("mIme")) {
    setBorderStyle(0);
    setBackColor(0xF9D9C3);
    move(0, 0, 12000, 9000);

    // Main hot-spots, each inside the bar of its zone.
    for (int i = 0; i <= 99; ++i) {
        Control* bar = &PicElse;
        switch (chrome::zoneOf(i)) {
        case chrome::Zone::MenuBar: bar = &PicMenu; break;
        case chrome::Zone::DrawingBar: bar = &PicHui; break;
        case chrome::Zone::Toolbar: bar = &PicTool; break;
        case chrome::Zone::ChartBar: bar = &PicTuBiao; break;
        default: bar = i == 10 ? &PicMenu : &PicElse; break;
        }
        Control& h = addElement(Kind::Label, "LblZHU", i, bar);
        h.setBackStyle(0);
        h.move(0, 0, 495, 375);
    }
    LblZHU[0].move(3720, 720, 495, 375);
    LblZHU[10].move(8250, 120, 15, 15);
    // Hint frames lie above the hot-spots of their bar.
    for (Control* s : {&ShapeMenu, &ShapeTool, &ShapeHui, &ShapeElse, &ShapeTuBiao}) s->zOrder(0);
    PicElse.move(0, 0, 8100, 6000);
    PicElse.setVisible(false);  // shown only with a step's extra picture

    // Drop-down and submenu rows.
    for (int i = 1; i <= 44; ++i) {
        addElement(Kind::Label, "Lbl1J", i, &Pic1J).setBackStyle(0);
        addElement(Kind::Label, "Lbl2J", i, &Pic2J).setBackStyle(0);
        Lbl1J[i].move(0, 0, 0, 0);
        Lbl2J[i].move(0, 0, 0, 0);
    }
    for (Control* p : {&Pic1J, &Pic2J}) p->setAutoSize(true);
    for (Control* img : {&Img1J, &Img1jBK, &Img2J}) img->setVisible(false);

    Image6.setAutoSize(true);

    // Target and frames.
    Label1.setCaption(QString());
    Label4.setCaption(QString());
    Shape6.setBorderStyle(3);
    Shape6.setBorderWidth(1);
    Shape2.move(16200, 5520, 975, 375);

    // Hint label.
    LHelp.setBackColor(0xC0FFFF);
    LHelp.setForeColor(kRed);
    LHelp.setFontName(QStringLiteral("宋体"));
    LHelp.setFontBold(true);
    LHelp.setAutoSize(true);
    LHelp.setVisible(false);
    LHelp.move(600, 7800, 1500, 255);

    // Tab hot-spots.
    for (int i = 0; i <= 13; ++i) {
        Control& t = addElement(Kind::Label, "LblXXK", i);
        t.setBackStyle(0);
        t.move(-15, -15, 1, 1);
    }

    // Simulated lists.
    LstLA.setVisible(false);
    for (Control* e : {&PicLeft, &PicTop, &PicRight, &PicBottom}) {
        e->setBackColor(0);
        e->move(0, 0, 15, 15);
    }
    PicList.move(0, 0, 3900, 330);
    PicList.setBackColor(0x80000005);
    for (int i = 0; i <= 13; ++i) {
        addElement(Kind::Image, "ImgLiN", i, &PicList).setVisible(false);
        addElement(Kind::Label, "LblADD", i, &PicList).setBackStyle(0);
    }
    ImgFuGai.setPicture(core::Picture(chrome::lookInCoverPicture()));
    ImgFuGai.move(3900 - 75, 0);

    // Logo and success label.
    ImgLogo.setStretch(true);
    LblSuccess.setCaption(QString::fromUtf8("操作成功！"));
    LblSuccess.setForeColor(kRed);
    LblSuccess.setFontName(QString::fromUtf8("华文行楷"));
    LblSuccess.setAutoSize(true);
    LblSuccess.setVisible(false);

    // Windowed stacking: overlay picture lowest, open menus highest.
    Image6.zOrder(1);
    Pic1J.zOrder(0);
    Pic2J.zOrder(0);

    // Context menu: rows in their order, element 0 of each entry array.
    wm100.setVisible(false);
    wm100.setCaption(QStringLiteral("wm100"));
    auto cascade = [this](int n) {
        core::Menu& m = addMenu(QStringLiteral("sVemoMain%1").arg(n), &wm100);
        m.setCaption(m.name());
        sVemoMain[n] = &m;
        addMenu(QStringLiteral("sVemoSub%1").arg(n), &m, 0).setCaption(QStringLiteral("sVemoSub%1").arg(n));
        sVemoSub[n] = &menuArray(QStringLiteral("sVemoSub%1").arg(n));
    };
    auto entries = [this](int n) {
        addMenu(QStringLiteral("sVemoInde%1").arg(n), &wm100, 0).setCaption(QStringLiteral("sVemoInde%1").arg(n));
        sVemoInde[n] = &menuArray(QStringLiteral("sVemoInde%1").arg(n));
    };
    cascade(1);
    entries(1);
    cascade(2);
    entries(2);
    cascade(3);
    entries(3);
    cascade(4);
    cascade(5);
    entries(4);

    mIme.setCaption(QString::fromUtf8("输入法"));
    mIme.setVisible(false);
    addMenu("mEng", &mIme).setCaption(QString::fromUtf8("英语（美国）"));
    for (int i = 1; i <= 10; ++i) addMenu(QStringLiteral("mCn%1").arg(i), &mIme).setCaption(QString::fromUtf8("中文%1").arg(i));

    chrome_.picMenu = &PicMenu;
    chrome_.picTool = &PicTool;
    chrome_.picHui = &PicHui;
    chrome_.picElse = &PicElse;
    chrome_.picTuBiao = &PicTuBiao;
    chrome_.hotSpots = &LblZHU;
    chrome_.imgMenu = &ImgMenu;
    chrome_.imgTool = &ImgTool;
    chrome_.imgHui = &ImgHui;
    chrome_.imgElse = &ImgElse;
    chrome_.imgTuBiao = &ImgTuBiao;
    chrome_.pic1J = &Pic1J;
    chrome_.pic2J = &Pic2J;
    chrome_.picList = &PicList;
    chrome_.drawingBarTop = 8295;
    chrome_.hotSpotsOnWindow = false;
    chrome_.resumeAfterErrors = true;

    onLoad = [this] { Form_Load(); };
    // One-shot set-up of the step reached, after a question load.
    Timer2.onTimer = [this](core::Timer& t) {
        setData();
        t.setEnabled(false);
    };
    Timer3.onTimer = [this](core::Timer&) { Timer3_Timer(); };
    TimerDisFK.onTimer = [this](core::Timer&) { TimerDisFK_Timer(); };
    onMouseMove = [this](const core::MouseArgs&) { Form_MouseMove(); };

    // Target and overlays.
    Label1.onDblClick = [this](Control&) { Label1_DblClick(); };
    Label1.onMouseMove = [this](Control&, const core::MouseArgs&) { Label1_MouseMove(); };
    Label1.onMouseUp = [this](Control&, const core::MouseArgs& a) { Label1_MouseUp(a); };
    for (int k = 1; k <= 5; ++k) overlay(k).onClick = [this, k](Control&) { Image_Click(k); };
    for (int k = 1; k <= 4; ++k) overlay(k).onMouseMove = [this](Control&, const core::MouseArgs&) { frmCsh(); };

    // Context-menu entries; the elements made at load copy the handler.
    const struct {
        core::MenuArray* entries;
        int row;
    } groups[] = {{sVemoSub[1], 1},  {sVemoInde[1], 2}, {sVemoSub[2], 3}, {sVemoInde[2], 4}, {sVemoSub[3], 5},
                  {sVemoInde[3], 6}, {sVemoSub[4], 7},  {sVemoSub[5], 8}, {sVemoInde[4], 9}};
    for (const auto& g : groups) {
        const int row = g.row;
        (*g.entries)[0].onClick = [this, row](core::Menu& m) { contextEntry_Click(row, m.index()); };
    }

    LblMove.onMouseDown = [this](Control&, const core::MouseArgs& a) { LblMove_MouseDown(a.button); };

    wireDialogControls();
    wireTypingAndKeys();
}

Control& FrmMain::overlay(int k) const {
    switch (k) {
    case 1: return Image1;
    case 2: return Image2;
    case 3: return Image3;
    case 4: return Image4;
    case 5: return Image5;
    case 6: return Image6;
    default: throw core::RuntimeError(core::ErrSubscriptOutOfRange, "no such overlay");
    }
}

double FrmMain::screenHeightPixels() { return core::platform().screen().heightTwips / 15; }

// ------------------------------------------------------------------ load

void FrmMain::Form_Load() {
    const core::ScreenInfo scr = core::platform().screen();

    // 1-2. Maximised, or 800 x 600 pixels centred on a screen higher than
    // 650 pixels. A maximised window covers the screen, and the docking
    // below uses that size.
    setWindowState(core::StateMaximized);
    move(0, 0, scr.widthTwips, scr.heightTwips);
    if (screenHeightPixels() > 650 * sy()) {
        setWindowState(core::StateNormal);
        setWidth(12000 * sx());
        setHeight(9000 * sy());
        move((scr.widthTwips - width()) / 2, (scr.heightTwips - height()) / 2);
    }

    // 3. The question window sits at the bottom-right corner.
    dockQuestionWindow();

    // 4-5. Target caption and logo; a missing logo leaves the image empty.
    Label1.setCaption(QString());
    ImgLogo.move(10200 * sx(), 8235 * sy(), 1740 * sx(), 345 * sy());
    if (auto logo = core::pictureStore().load(core::config().dataFile("l62009"))) ImgLogo.setPicture(*logo);

    // 6. Fonts.
    LHelp.setFontSize(11 * sx());
    LstLA.setFontSize(9 * sx());
    LblXXK[0].setFontSize(9 * sx());

    // 7. Every question of a new run starts at its first step.
    for (int q = 1; q <= 40; ++q) core::session().QuestionStep[q] = 1;

    // 8. Context-menu entries 1-10, row by row for each i.
    for (int i = 1; i <= 10; ++i) {
        for (int n = 1; n <= 4; ++n) sVemoInde[n]->load(i);
        for (int n = 1; n <= 5; ++n) sVemoSub[n]->load(i);
    }

    // 9. Folder of the chrome pictures.
    ExamDataPath = core::normalizePath(core::config().ProgramDir + QStringLiteral("/examdata/"));

    // 10-11. Look-in list rows and the closed list.
    for (int i = 0; i <= 13; ++i) {
        Control& row = LblADD[i];
        row.setTop((345 + 240 * i) * sy());
        row.setLeft(0);
        row.setWidth(3900 * sx());
        row.setHeight(240 * sy());
        row.setCaption(QString());
        Control& pic = ImgLiN[i];
        pic.setVisible(false);
        pic.setLeft(0);
        pic.setTop(row.top());
    }
    ImgSelAD.move(-120 * sx(), 45 * sy());
    LblADDmyXZ.move(0, 0, 3900 * sx(), 330 * sy());
    PicList.setHeight(330 * sy());
    PicList.setVisible(false);

    // 12. Tooltips of the toolbars, then of the drawing bar.
    for (int i = 41; i <= 88; ++i) LblZHU[i].setToolTipText(chrome::hotSpotToolTip(i));
    for (int i = 14; i <= 31; ++i) LblZHU[i].setToolTipText(chrome::hotSpotToolTip(i));

    // 13-14. Title bar and success label.
    LblMove.move(1440 * sx(), 0, 9495 * sx(), 375 * sy());
    LblSuccess.setFontSize(72 * sx());
    LblSuccess.move(2640 * sx(), 3840 * sy());
    LblSuccess.setVisible(false);

    // 15. The bars and their hot-spots.
    ToolCSH();
}

void FrmMain::dockQuestionWindow() {
    auto& w = core::windows();
    if (!w.questionWindow) return;
    core::Form& tm = w.questionWindow();
    tm.setLeft(left() + width() - tm.width());
    tm.setTop(top() + height() - tm.height());
}

void FrmMain::Form_MouseMove() { frmCsh(); }

void FrmMain::LblMove_MouseDown(int button) {
    if (screenHeightPixels() < 650 * sy()) return;
    if (button == core::LeftButton) {
        releaseCapture();
        auto& move = core::windows().startWindowMove;
        if (move) {
            // The move ends later; re-dock then, if this window is still
            // the practice window.
            FrmMain* self = this;
            move(*this, [self] {
                if (frmMain().peek() != self) return;
                self->dispatch("LblMove_MouseDown", [self] { self->dockQuestionWindow(); });
            });
            return;
        }
    }
    dockQuestionWindow();
}

// ------------------------------------------------------------------ chrome

void FrmMain::frmCsh() { chrome::frmCsh(chrome_, OpenMenu); }
void FrmMain::ToolCSH() { chrome::ToolCSH(chrome_); }
void FrmMain::ElseToolCSH() { chrome::ElseToolCSH(chrome_); }

void FrmMain::orderWindows() {
    auto& w = core::windows();
    if (w.questionWindow) resumeNext([&] { w.questionWindow().setTopmost(true); });
    // On top of the other windows (a request to raise it when shown).
    resumeNext([&] {
        if (visible()) show();
    });
}

// ------------------------------------------------------------------ step set-up

void FrmMain::setData() {
    resetStage();
    readRecordStage();
    screenshotStage();
    overlayStage();
    resumeNext([&] { DropX = rec().dropX(); });
    resumeNext([&] { DropY = rec().dropY(); });
    inputBoxStage();
    hintStage();
    targetStage();
    resumeNext([&] { setupTabDialogStage(); });
    resumeNext([&] { setupBackHotSpotStage(); });
    resumeNext([&] { setupSourceBoxStage(); });
    resumeNext([&] { setupActionStage(); });
    resumeNext([&] { setupTypingStage(); });
    resumeNext([&] { setupListStage(); });
    resumeNext([&] { setupFramesAndBarsStage(); });
    resumeNext([&] { finishSceneStage(); });
}

void FrmMain::resetStage() {
    resumeNext([&] { LblSuccess.setVisible(false); });
    orderWindows();
    resumeNext([&] { Pic1J.move(30000 * sx(), 30000 * sy()); });
    for (Control* c : {&PicMenu, &PicTool, &PicHui, &PicElse, &Shape6, &PicTuBiao})
        resumeNext([&] { c->setVisible(false); });
    resumeNext([&] { Text1.setFontSize(9 * sx()); });
    resumeNext([&] { Text2.setFontSize(9 * sx()); });
    resumeNext([&] { Label4.setMousePointer(core::PtrDefault); });
}

void FrmMain::readRecordStage() {
    core::SessionState& s = core::session();
    // The step script is read from its top at every step.
    resumeNext([&] {
        const int q = questionIndex(s.CurrentQuestion, 45);
        const long t = long(s.StepStart[q]) + s.CurrentStep - 1;
        if (t < -32768 || t > 32767) throw core::RuntimeError(core::ErrOverflow, "overflow");
        const auto lines = core::readLines(s.ScriptFile);
        if (!lines) throw core::RuntimeError(core::ErrFileNotFound, "step script not found");
        long n = 0;
        for (const QString& line : *lines) {
            s.StepLine = line;
            if (++n == t) break;
        }
    });
    ownStepLine_ = s.StepLine;

    // Tab hot-spots are parked until a tab step places them.
    for (int i = 0; i <= 13; ++i) {
        resumeNext([&] { LblXXK[i].setHeight(1); });
        resumeNext([&] { LblXXK[i].setWidth(1); });
        resumeNext([&] { LblXXK[i].setLeft(-1 * sx()); });
        resumeNext([&] { LblXXK[i].setTop(-1 * sy()); });
        resumeNext([&] { LblXXK[i].setCaption(QString()); });
    }

    if (s.CurrentStep == 1)
        for (int k = 1; k <= 6; ++k) resumeNext([&] { overlay(k).clearPicture(); });

    resumeNext([&] { s.QuestionStep[questionIndex(s.CurrentQuestion, 40)] = s.CurrentStep; });
}

void FrmMain::screenshotStage() {
    core::SessionState& s = core::session();
    const QString code = rec().formPicture();
    if (code == QStringLiteral("888888")) {
        if (s.CurrentStep != 1) return;  // the background stays
        resumeNext([&] { s.QuestionPictures[questionIndex(s.CurrentQuestion, 40)][0] = QStringLiteral("310001"); });
        resumeNext([&] { setPicture(dataPicture(QStringLiteral("310001"))); });
        return;
    }
    resumeNext([&] { s.QuestionPictures[questionIndex(s.CurrentQuestion, 40)][0] = code; });
    resumeNext([&] { setPicture(dataPicture(code)); });
}

void FrmMain::overlayStage() {
    core::SessionState& s = core::session();
    for (int k = 1; k <= 6; ++k) {
        Control& img = overlay(k);
        const PictureUse use = rec().imagePictureUse(k);
        if (use == PictureHide) {
            resumeNext([&] { img.setVisible(false); });
            continue;
        }
        resumeNext([&] { img.setLeft(rec().imageX(k) * sx()); });
        resumeNext([&] { img.setTop(rec().imageY(k) * sy()); });
        if (k == 5) {
            // Where the image stands: scaled, as the drop point is.
            resumeNext([&] { DragLeft = int32_t(core::roundHalfEven(rec().imageX(5) * sx())); });
            resumeNext([&] { DragTop = int32_t(core::roundHalfEven(rec().imageY(5) * sy())); });
        }
        if (use == PictureShow) {
            const QString code = rec().imagePicture(k);
            resumeNext([&] { s.QuestionPictures[questionIndex(s.CurrentQuestion, 40)][k] = code; });
            resumeNext([&] { img.setPicture(dataPicture(code)); });
        }
        resumeNext([&] { img.setVisible(true); });
    }
}

void FrmMain::inputBoxStage() {
    if (!rec().hasInputBox()) {
        resumeNext([&] { Text1.setVisible(false); });
        resumeNext([&] { Text2.setVisible(false); });
        return;  // the box keeps the format of an earlier step
    }
    resumeNext([&] { Text1.setVisible(true); });
    resumeNext([&] { Text1.setLeft(rec().inputX() * sx()); });
    resumeNext([&] { Text1.setTop(rec().inputY() * sy()); });
    resumeNext([&] { Text1.setWidth(rec().inputW() * sx()); });
    resumeNext([&] { Text1.setHeight(rec().inputH() * sy()); });

    // Initial text: the text-table entry up to its first "|", all selected.
    // Assigning it runs the box's own checks.
    resumeNext([&] {
        const QString ref = rec().inputTextLine();
        if (ref == QStringLiteral("000")) {
            Text1.setText(QString());
            return;
        }
        const QString entry = TextTableLookup(ref);
        const qsizetype bar = entry.indexOf(u'|');
        Text1.setText(bar < 0 ? entry : entry.left(bar));
    });
    resumeNext([&] { Text1.setFocus(); });
    resumeNext([&] { Text1.setSelStart(0); });
    resumeNext([&] { Text1.setSelLength(int(Text1.text().size())); });
    resumeNext([&] { Text1.setFontSize(9 * sx()); });

    // Format; a value outside its table leaves that property as it was.
    resumeNext([&] {
        Text1.setAlignment(0);
        const InputFormat::Align a = rec().inputFormat().align;
        if (a == InputFormat::AlignRight) Text1.setAlignment(1);
        if (a == InputFormat::AlignCenter) Text1.setAlignment(2);
    });
    resumeNext([&] { Text1.setFontSize(rec().inputFormat().fontPoints() * sx()); });
    resumeNext([&] {
        const InputFormat f = rec().inputFormat();
        if (auto b = f.bold()) Text1.setFontBold(*b);
        if (auto i = f.italic()) Text1.setFontItalic(*i);
        if (auto u = f.underline()) Text1.setFontUnderline(*u);
    });
    resumeNext([&] {
        if (auto n = rec().inputFormat().fontName()) Text1.setFontName(*n);
    });
    resumeNext([&] {
        if (auto c = rec().inputFormat().textColourValue()) Text1.setForeColor(*c);
    });
    resumeNext([&] {
        if (auto c = rec().inputFormat().backColourValue()) Text1.setBackColor(*c);
    });
}

void FrmMain::hintStage() {
    if (rec().hasHintPosition()) {
        resumeNext([&] { LHelp.setLeft(rec().hintX() * sx()); });
        resumeNext([&] { LHelp.setTop(rec().hintY() * sy()); });
        resumeNext([&] {
            const QString ref = rec().hintLine();
            if (ref == QStringLiteral("000")) {
                LHelp.setCaption(QString());  // HintText stays
                return;
            }
            const QString hint = TextTableLookup(ref);
            LHelp.setCaption(hint);
            HintText = hint;
        });
    }

    // Guided mode shows the hint and the frames.
    const bool guided = core::session().RunMode == core::RunGuided;
    for (Control* c : {&LHelp, &Shape1, &Shape2, &Shape4}) resumeNext([&] { c->setVisible(guided); });
}

void FrmMain::targetStage() {
    resumeNext([&] { Label1.setHeight(1); });
    resumeNext([&] { Label1.setWidth(1); });
    if (!rec().hasTarget()) {
        // RedBoxW and RedBoxH keep the values of the last step with a target.
        resumeNext([&] { Label1.setHeight(1); });
        resumeNext([&] { Label1.setWidth(1); });
        resumeNext([&] { Label1.setVisible(false); });
        resumeNext([&] { Shape1.setVisible(false); });
    } else {
        resumeNext([&] { Label1.setVisible(true); });
        resumeNext([&] { Label1.setLeft(rec().redBoxX() * sx()); });
        resumeNext([&] { Label1.setTop(rec().redBoxY() * sy()); });
        resumeNext([&] { RedBoxW = rec().redBoxW(); });
        resumeNext([&] { Label1.setWidth(RedBoxW * sx()); });
        resumeNext([&] { RedBoxH = rec().redBoxH(); });
        resumeNext([&] {
            if (RedBoxH != 0) {
                Label1.setAutoSize(false);
                Label1.setHeight(RedBoxH * sy());
            } else {
                Label1.setAutoSize(true);
            }
        });
    }
    if (RedBoxH == 0) {
        resumeNext([&] { Label1.setHeight(1); });
        resumeNext([&] { Label1.setWidth(1); });
        resumeNext([&] { Shape1.setVisible(false); });
    }
    resumeNext([&] { Shape1.move(Label1.left(), Label1.top(), Label1.width(), Label1.height()); });
}

void FrmMain::setupActionStage() {
    // Wait steps go on by themselves after one tick of Timer3.
    resumeNext([&] { StepCode = rec().stepCode(); });
    resumeNext([&] { Timer3.setEnabled(StepCode == 8888); });

    // Image drags: the target and the source box shrink to 1 x 1 twip.
    if (rec().actionCode().startsWith(QStringLiteral("80"))) {
        for (Control* c : {&Label1, &Label4}) {
            resumeNext([&] { c->setWidth(1); });
            resumeNext([&] { c->setHeight(1); });
        }
    }

    if (rec().actionCode() == QStringLiteral("9999"))
        questionEnd();
    else
        resumeNext([&] { Shape1.setVisible(LHelp.visible()); });
}

void FrmMain::questionEnd() {
    core::SessionState& s = core::session();
    resumeNext([&] {
        int16_t& state = s.QuestionState[questionIndex(s.CurrentQuestion, 40)];
        if (state < 4) state += 4;
    });
    resumeNext([&] { Shape1.setVisible(false); });
    if (s.RunMode != core::RunExam) {
        resumeNext([&] { LblSuccess.setVisible(true); });
        resumeNext([&] { LHelp.setVisible(false); });
    }
    auto& w = core::windows();
    resumeNext([&] { w.questionWindow().control(QStringLiteral("LblUnit")).setCaption(unsolvedList(s)); });
    resumeNext([&] {
        Control& title = w.questionWindow().control(QStringLiteral("LblBiao"));
        title.setCaption(completedTitle(title.caption()));
    });
}

void FrmMain::setupTypingStage() {
    const QString code = rec().actionCode();

    // Rename box.
    if (code == QStringLiteral("0021")) {
        resumeNext([&] { Text2.setText(Text1.text()); });
        resumeNext([&] { Text2.setLeft(Text1.left()); });
        resumeNext([&] { Text2.setTop(Text1.top()); });
        resumeNext([&] { Text2.setHeight(Text1.height()); });
        resumeNext([&] { Text2.setWidth(Text1.width()); });
        resumeNext([&] { Text2.setVisible(true); });
        resumeNext([&] { Text1.setVisible(false); });
    } else {
        resumeNext([&] { Text2.setVisible(false); });
    }

    // Overlay box.
    if (code == QStringLiteral("0027")) {
        resumeNext([&] { Shape1.setVisible(false); });
        resumeNext([&] { Text3.setText(Text1.text()); });
        resumeNext([&] { Text3.setLeft(Text1.left()); });
        resumeNext([&] { Text3.setTop(Text1.top()); });
        resumeNext([&] { Text3.setHeight(Text1.height()); });
        resumeNext([&] { Text3.setWidth(Text1.width()); });
        resumeNext([&] { Text3.setFontSize(Text1.fontSize()); });
        resumeNext([&] { Text3.setFontName(Text1.fontName()); });
        resumeNext([&] { Text3.setForeColor(Text1.foreColor()); });
        resumeNext([&] { Text3.setBackColor(Text1.backColor()); });
        resumeNext([&] { Text3.setFontBold(Text1.fontBold()); });
        resumeNext([&] { Text3.setVisible(true); });
        // The input box took the focus before the overlay box was shown: its
        // focus move to the overlay box happens now.
        resumeNext([&] {
            if (core::session().ImeSimEnabled && activeControl() == &Text1) Text3.setFocus();
        });
        resumeNext([&] { Text1.setVisible(false); });
    } else {
        resumeNext([&] { Text3.setVisible(false); });
    }

    // Typing and selection hints: the alternatives read "a或  b".
    if (!code.startsWith(QStringLiteral("002"))) return;
    resumeNext([&] { Shape1.setVisible(false); });
    QString t;
    resumeNext([&] {
        t = LHelp.caption();
        t.replace(u'|', QStringLiteral("或  "));
        LHelp.setCaption(t);
    });
    const QString typeIt = QStringLiteral("输入 ");
    auto emptySelection = [&] { resumeNext([&] { Text1.setSelLength(0); }); };
    auto frameWithHint = [&] { resumeNext([&] { Shape1.setVisible(LHelp.visible()); }); };
    auto caption = [&](const QString& c) { resumeNext([&] { LHelp.setCaption(c); }); };
    if (code == QStringLiteral("0020") || code == QStringLiteral("0021") || code == QStringLiteral("0025") ||
        code == QStringLiteral("0027")) {
        emptySelection();
        caption(typeIt + t);
    } else if (code == QStringLiteral("0022")) {
        emptySelection();
        frameWithHint();
        caption(typeIt + t + QStringLiteral(" 并按回车键或点红色方框处"));
    } else if (code == QStringLiteral("0023")) {
        emptySelection();
        caption(QStringLiteral("请选中 ") + t);
    } else if (code == QStringLiteral("0024")) {
        emptySelection();
        caption(typeIt + t + QStringLiteral(" 并按回车键"));
    } else if (code == QStringLiteral("0026")) {
        emptySelection();
        frameWithHint();
        caption(typeIt + t + QStringLiteral(" 并点击红色方框处"));
    } else {
        caption(t);
    }
}

void FrmMain::setupFramesAndBarsStage() {
    // Frames: no red frame on a hidden or flat target; the yellow frame
    // follows the hint.
    resumeNext([&] {
        if (Label1.height() <= 10 || !Label1.visible()) Shape1.setVisible(false);
    });
    resumeNext([&] { Shape2.setVisible(LHelp.visible()); });

    resumeNext([&] { setTargetPointer(); });

    // Bars named by BarsCode: A, B or C and a mask of 1 menu bar, 2 toolbars,
    // 4 drawing bar.
    const QString bars = rec().barsCode();
    const QString kind = core::left(bars, 1);
    if (kind != u"A" && kind != u"B" && kind != u"C") return;
    const QString d = core::mid(bars, 2, 1);
    const int mask = d.size() == 1 && d[0] >= u'1' && d[0] <= u'7' ? d[0].unicode() - u'0' : 0;
    if (mask & 1) resumeNext([&] { PicMenu.setVisible(true); });
    if (mask & 2) resumeNext([&] { PicTool.setVisible(true); });
    if (mask & 4) resumeNext([&] { PicHui.setVisible(true); });
    if (kind == u"B") resumeNext([&] { PicElse.setVisible(true); });
    if (kind == u"C") {
        resumeNext([&] { PicTuBiao.setVisible(true); });
        resumeNext([&] { Image6.move(5520 * sx(), 750 * sy()); });
        resumeNext([&] {
            Image6.setPicture(core::loadPictureOrThrow(chrome::chromePictureFile(ExamDataPath, chrome::chartToolbarPictureCode())));
        });
        resumeNext([&] { Image6.setVisible(true); });
    }
}

void FrmMain::setTargetPointer() {
    // A cursor file that cannot be read gives the default pointer.
    Label1.setMousePointer(core::PtrDefault);
    const CursorCode c = rec().cursorCode();
    if (c.kind == CursorCode::Standard) {
        Label1.setMousePointer(c.number);
    } else if (c.kind == CursorCode::Custom) {
        const QString file = c.file();
        if (!core::readCursorFile(file).ok) return;
        Label1.setMousePointer(core::PtrCustom);
        Label1.setMouseIcon(file);
    }
}

void FrmMain::finishSceneStage() {
    // Hints of steps other than typing: "|" is a line break.
    resumeNext([&] {
        QString t = LHelp.caption();
        t.replace(u'|', QStringLiteral("\r\n"));
        LHelp.setCaption(t);
    });
    orderWindows();
    resumeNext([&] { frmCsh(); });
    resumeNext([&] { ElseToolCSH(); });
    resumeNext([&] { TimerDisFK.setEnabled(true); });
}

// ------------------------------------------------------------------ advance

void FrmMain::doNext() {
    frmCsh();
    OpenMenu = 0;
    OpenItem = 0;
    core::SessionState& s = core::session();
    if (rec().actionCode() == QStringLiteral("9999")) {
        int16_t& state = s.QuestionState[questionIndex(s.CurrentQuestion, 40)];
        if (state < 4) state += 4;
    } else {
        s.CurrentStep += 1;
        setData();
    }
    orderWindows();
}

void FrmMain::GoStep(const QString& code) {
    if (code == QStringLiteral("0")) return;
    resumeNext([&] { core::session().CurrentStep = branchStep(code); });
    resumeNext([&] { setData(); });
}

void FrmMain::Timer3_Timer() {
    // Only on this window's own wait step: another window (the
    // demonstration) may have put its record into StepLine meanwhile.
    const core::SessionState& s = core::session();
    if (StepCode != 8888 || s.DemoRunning || s.StepLine != ownStepLine_) return;
    doNext();
}

// ------------------------------------------------------------------ target actions

void FrmMain::acceptStep(const QString& branch) {
    if (branch == QStringLiteral("0"))
        doNext();
    else
        GoStep(branch);
}

void FrmMain::Image_Click(int k) { GoStep(rec().imageBranch(k)); }

void FrmMain::Label1_DblClick() {
    if (rec().actionCode() == QStringLiteral("0002")) acceptStep(rec().redBoxBranch());
}

void FrmMain::Label1_MouseMove() {
    const QString code = rec().actionCode();
    if (code == QStringLiteral("0030")) doNext();
    // Drags by the code read above; otherwise the pointer of the record
    // current now (after a hover, the next one's).
    const QString lead = core::left(code, 3);
    if (lead == QStringLiteral("004") || lead == QStringLiteral("005")) {
        Label1.setMousePointer(core::PtrDefault);
        return;
    }
    setTargetPointer();
}

bool FrmMain::answerIsRight() { return LooseAnswerMatch(Text1.text(), AnswerText(rec().answerLine())); }

void FrmMain::openContextMenu(int16_t code, double x, double y) {
    ContextMenuNo = int16_t(context_menu::codeMenu(code));
    systemMenu();
    core::ui().popupMenu(*this, wm100, x, y, core::PopupLeftAlign);
}

void FrmMain::Label1_MouseUp(const core::MouseArgs& a) {
    const QString branch = rec().redBoxBranch();
    const double px = Label1.formX() + a.x, py = Label1.formY() + a.y;

    // A context menu named in the alternative menu code.
    if (auto alt = rec().altMenuCode()) {
        StepCode = alt->value;
        if (context_menu::namesContextMenu(StepCode) && a.button == core::RightButton)
            openContextMenu(StepCode, px, py);
    }

    // The rules of the code current now (the next step's after an advance).
    StepCode = rec().stepCode();
    const int code = StepCode;
    if (code >= 9000 && code <= 9999) {
        if (a.button == code % 100 && a.shift == (code % 1000) / 100) acceptStep(branch);
    } else if (code == 3) {
        if (a.button == core::RightButton) acceptStep(branch);
    } else if (code >= 3000 && code <= 6000) {
        if (a.button == core::RightButton) openContextMenu(StepCode, px, py);
    } else if (code == 1) {
        if (a.button == core::LeftButton && a.shift == 0) acceptStep(branch);
    } else if (code == 22 || code == 26 || code == 28) {
        if (a.button == core::LeftButton && answerIsRight()) doNext();
    } else if (branch != QStringLiteral("0") && code != 2) {
        GoStep(branch);
    }
}

// ------------------------------------------------------------------ context menu

void FrmMain::systemMenu() {
    for (int n = 1; n <= 5; ++n) {
        sVemoMain[n]->setVisible(false);
        for (const auto& [i, m] : sVemoSub[n]->elements()) m->setVisible(false);
    }
    for (int n = 1; n <= 4; ++n)
        for (const auto& [i, m] : sVemoInde[n]->elements()) m->setVisible(false);

    StepCode = context_menu::contextCode(core::session().StepLine);
    const auto block =
        context_menu::readBlock(context_menu::contextMenuFile(), context_menu::codeSet(StepCode), ContextMenuNo);
    if (!block) throw core::RuntimeError(core::ErrFileNotFound, "the context-menu file cannot be read");

    auto fill = [](core::MenuArray& arr, const QStringList& entries) {
        for (int j = 0; j < entries.size(); ++j) {
            core::Menu& m = arr[j];
            m.setCaption(entries[j]);
            m.setVisible(true);
        }
    };
    for (const context_menu::Row& row : context_menu::rowsOf(*block)) {
        if (!row.present) continue;
        switch (row.contextRow) {
        case 2: fill(*sVemoInde[1], row.entries); break;
        case 4: fill(*sVemoInde[2], row.entries); break;
        case 6: fill(*sVemoInde[3], row.entries); break;
        case 9: fill(*sVemoInde[4], row.entries); break;
        default: {
            const int n = row.contextRow == 1 ? 1 : row.contextRow == 3 ? 2 : row.contextRow == 5 ? 3
                                                   : row.contextRow == 7 ? 4 : 5;
            sVemoMain[n]->setCaption(row.caption);
            sVemoMain[n]->setVisible(true);
            fill(*sVemoSub[n], row.entries);
        }
        }
    }
}

void FrmMain::contextEntry_Click(int rowDigit, int index) {
    StepCode = context_menu::contextCode(core::session().StepLine);
    if (context_menu::codeEntry(StepCode) == index && context_menu::codeMenu(StepCode) == ContextMenuNo &&
        context_menu::codeRow(StepCode) == rowDigit)
        doNext();
}

// ------------------------------------------------------------------ hint frame

void FrmMain::TimerDisFK_Timer() {
    for (Control* f : {&ShapeMenu, &ShapeTool, &ShapeHui, &ShapeElse, &ShapeTuBiao}) f->setVisible(false);
    const StepRecord r = rec();
    const QString slotText[3] = {r.actionSlot3(), r.actionSlot2(), r.actionSlot1()};
    for (int k = 0; k < 3; ++k) {
        const QString lead = core::left(slotText[k], 1);
        if (lead != u"H" && !(k == 0 && lead == u"D")) continue;
        const int n = core::val16(core::mid(slotText[k], 2, 2));
        Control* frame = nullptr;
        switch (chrome::zoneOf(n)) {
        case chrome::Zone::MenuBar: frame = &ShapeMenu; break;
        case chrome::Zone::Toolbar: frame = &ShapeTool; break;
        case chrome::Zone::DrawingBar: frame = &ShapeHui; break;
        case chrome::Zone::ExtraArea: frame = &ShapeElse; break;
        case chrome::Zone::ChartBar: frame = &ShapeTuBiao; break;
        default: break;
        }
        if (!frame) continue;
        const Control& h = LblZHU[n];
        switch (chrome::zoneOf(n)) {
        case chrome::Zone::MenuBar:
            frame->move(h.left(), h.top() + 15 * sy(), h.width(), h.height() - 15 * sy());
            break;
        case chrome::Zone::ExtraArea:
            frame->move(h.left() + 15 * sx(), h.top() + 15 * sy(), PicElse.width() - 30 * sx(),
                        PicElse.height() - 30 * sy());
            break;
        default: frame->move(h.left(), h.top(), h.width(), h.height()); break;
        }
        frame->setVisible(LHelp.visible());
    }
    TimerDisFK.setEnabled(false);
}

// ------------------------------------------------------------------ access

core::FormSlot<FrmMain>& frmMain() {
    static core::FormSlot<FrmMain> slot;
    return slot;
}

void registerPracticeWindow() {
    auto& w = core::windows();
    w.practiceWindow = []() -> core::Form& { return frmMain()(); };
    w.practiceWindowLoaded = [] { return frmMain().loaded(); };
}

} // namespace engine
