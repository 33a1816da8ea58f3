#include "engine/frm_main.h"

#include "chrome/design_pictures.h"
#include "chrome/zones.h"
#include "core/errors.h"
#include "core/pictures.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "engine/step_record.h"
#include "engine/text_table.h"

namespace engine {

using core::Control;
using core::Kind;
using core::resumeNext;

namespace {

constexpr uint32_t kRed = 255;
constexpr uint32_t kGreen = 65280;
constexpr uint32_t kYellow = 0xFFFF;

double sx() { return core::config().ScaleX; }
double sy() { return core::config().ScaleY; }

// The step record as it stands now: handlers that advance the step read the
// new record from then on, so every statement reads it afresh.
StepRecord rec() { return StepRecord(core::session().StepLine); }

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
    onMouseMove = [this](const core::MouseArgs&) { Form_MouseMove(); };
    LblMove.onMouseDown = [this](Control&, const core::MouseArgs& a) { LblMove_MouseDown(a.button); };
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
            resumeNext([&] { DragLeft = rec().imageX(5); });
            resumeNext([&] { DragTop = rec().imageY(5); });
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

void FrmMain::setupTabDialogStage() {}
void FrmMain::setupBackHotSpotStage() {}
void FrmMain::setupSourceBoxStage() {}
void FrmMain::setupActionStage() {}
void FrmMain::setupTypingStage() {}
void FrmMain::setupListStage() {}
void FrmMain::setupFramesAndBarsStage() {}

void FrmMain::finishSceneStage() {
    // The hint's line breaks come with the typing stage's hint texts.
    orderWindows();
    resumeNext([&] { frmCsh(); });
    resumeNext([&] { ElseToolCSH(); });
    // The hint frame timer comes with the hint frame.
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
