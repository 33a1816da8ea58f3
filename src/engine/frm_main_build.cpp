// The practice window's controls: their construction and the hook-up of
// their events.
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

namespace {

constexpr uint32_t kRed = 255;
constexpr uint32_t kGreen = 65280;
constexpr uint32_t kYellow = 0xFFFF;

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
    // Closed by the desktop: as the question window's end button.
    onDesktopClose = [] {
        if (core::windows().sessionWindowClosed) core::windows().sessionWindowClosed();
    };
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
    wireMenus();
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

} // namespace engine
