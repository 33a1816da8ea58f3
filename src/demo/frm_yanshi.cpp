#include "demo/frm_yanshi.h"
#include "demo/frm_yanshi_util.h"

#include <map>

#include "chrome/design_pictures.h"
#include "core/errors.h"
#include "core/platform.h"
#include "core/text.h"
#include "core/windows.h"
#include "demo/step_rules.h"

namespace demo {

using core::Control;
using core::Kind;
using detail::st;
using detail::sx;
using detail::sy;

namespace detail {

void st(const std::function<void()>& statement) { core::resumeNext(statement); }

std::optional<core::Picture> cachedPicture(const QString& path) {
    static std::map<QString, std::optional<core::Picture>> cache;
    auto it = cache.find(path);
    if (it == cache.end()) it = cache.emplace(path, core::pictureStore().load(path)).first;
    return it->second;
}

} // namespace detail

DemoMembers& demoMembers() {
    static DemoMembers members;
    return members;
}

void resetDemoMembers() { demoMembers() = DemoMembers{}; }

namespace {

constexpr uint32_t kRed = 255;
constexpr uint32_t kGreen = 65280;

Control& label(core::Form& f, const QString& name) {
    Control& c = f.add(Kind::Label, name);
    c.setBackStyle(0);
    return c;
}

Control& image(core::Form& f, const QString& name, bool visible = false, const QImage& design = QImage()) {
    Control& c = f.add(Kind::Image, name);
    c.setVisible(visible);
    if (!design.isNull()) c.setPicture(core::Picture(design));
    return c;
}

Control& shape(core::Form& f, const QString& name, uint32_t colour, int width, int style = 1) {
    Control& c = f.add(Kind::Shape, name);
    c.setBorderStyle(style);
    c.setBorderColor(colour);
    c.setBorderWidth(width);
    c.setVisible(false);
    return c;
}

Control& textBox(core::Form& f, const QString& name) {
    Control& c = f.add(Kind::TextBox, name);
    c.setFontName(QStringLiteral("宋体"));
    c.setFontSize(9);
    c.setLocked(true);  // the demonstration types; the user does not
    c.setVisible(false);
    return c;
}

core::ControlArray& labels(core::Form& f, const QString& name, int from, int to) {
    for (int i = from; i <= to; ++i) {
        Control& c = f.addElement(Kind::Label, name, i);
        c.setBackStyle(0);
        c.move(-100, -100, 0, 0);
    }
    return f.array(name);
}

core::ControlArray& labels(core::Form& f, const QString& name, std::initializer_list<int> indices) {
    for (int i : indices) {
        Control& c = f.addElement(Kind::Label, name, i);
        c.setBackStyle(0);
        c.move(-100, -100, 0, 0);
    }
    return f.array(name);
}

core::ControlArray& images(core::Form& f, const QString& name, std::initializer_list<int> indices) {
    for (int i : indices) f.addElement(Kind::Image, name, i).setVisible(false);
    return f.array(name);
}

core::ControlArray& lines(core::Form& f, const QString& name, int count, uint32_t colour, int width) {
    for (int i = 0; i < count; ++i) {
        Control& c = f.addElement(Kind::Line, name, i);
        c.setBorderStyle(1);
        c.setBorderColor(colour);
        c.setBorderWidth(width);
    }
    return f.array(name);
}

} // namespace

FrmYanShi::FrmYanShi()
    : Form("FrmYanShi"),
      m(demoMembers()),
      PicMenu(image(*this, "PicMenu", false, chrome::menuBarPicture())),
      PicTool(image(*this, "PicTool", false, chrome::toolbarPicture())),
      PicHui(image(*this, "PicHui", false, chrome::drawingBarPicture())),
      PicElse(image(*this, "PicElse")),
      ImgMenu(image(*this, "ImgMenu", true)),
      ImgTool(image(*this, "ImgTool", true)),
      ImgHui(image(*this, "ImgHui", true)),
      ImgElse(image(*this, "ImgElse", true)),
      Image1(image(*this, "Image1")),
      Image2(image(*this, "Image2")),
      Image3(image(*this, "Image3")),
      Image4(image(*this, "Image4")),
      Image5(image(*this, "Image5")),
      Image6(add(Kind::PictureBox, "Image6")),
      Label1(label(*this, "Label1")),
      Label4(label(*this, "Label4")),
      LblZHU(labels(*this, "LblZHU", 0, 88)),
      LblXXK(labels(*this, "LblXXK", 0, 13)),
      Pic1J(image(*this, "Pic1J")),
      Img1J(image(*this, "Img1J")),
      Lbl1J(labels(*this, "Lbl1J", 0, 44)),
      Pic2J(image(*this, "Pic2J")),
      Lbl2J(labels(*this, "Lbl2J", 0, 44)),
      Text1(textBox(*this, "Text1")),
      Text2(textBox(*this, "Text2")),
      Text4(textBox(*this, "Text4")),
      LstLA(add(Kind::ListBox, "LstLA")),
      PicList(add(Kind::PictureBox, "PicList")),
      LblADD(array("LblADD")),
      ImgLiN(array("ImgLiN")),
      ImgSelAD(add(Kind::Image, "ImgSelAD", &PicList)),
      LblADDmyXZ(add(Kind::Label, "LblADDmyXZ", &PicList)),
      LHelp(add(Kind::Label, "LHelp")),
      ImgLogo(label(*this, "ImgLogo")),
      Shape1(shape(*this, "Shape1", kRed, 2)),
      Shape4(shape(*this, "Shape4", kGreen, 2)),
      Shape6(shape(*this, "Shape6", 0, 1, 3)),
      Shape5(shape(*this, "Shape5", kRed, 2)),
      ImgICO(image(*this, "ImgICO")),
      LPoint(lines(*this, "LPoint", 8, 0x80000008, 1)),
      LPoinB(lines(*this, "LPoinB", 6, 0xFFFFFF, 2)),
      LRightMMenu(label(*this, "LRightMMenu")),
      ShapeRMain(shape(*this, "ShapeRMain", 0xC0C0C0, 1)),
      LRM2(labels(*this, "LRM2", 0, 9)),
      LRM4(labels(*this, "LRM4", 0, 9)),
      LRM6(labels(*this, "LRM6", 0, 9)),
      LRM9(labels(*this, "LRM9", 0, 9)),
      LRMJL(labels(*this, "LRMJL", {1, 3, 5, 7, 8})),
      ImgJLSanjiao(images(*this, "ImgJLSanjiao", {1, 3, 5, 7, 8})),
      LRFGX(lines(*this, "LRFGX", 10, 0xC0C0C0, 1)),
      LRightSub(label(*this, "LRightSub")),
      ShapeRSUB(shape(*this, "ShapeRSUB", 0xC0C0C0, 1)),
      LRS(labels(*this, "LRS", 0, 9)),
      LRSFgx(lines(*this, "LRSFgx", 6, 0xC0C0C0, 1)),
      PicLeft(add(Kind::PictureBox, "PicLeft")),
      PicRight(add(Kind::PictureBox, "PicRight")),
      PicTop(add(Kind::PictureBox, "PicTop")),
      PicBottom(add(Kind::PictureBox, "PicBottom")),
      Timer1(addTimer("Timer1", 500)),
      Timer2(addTimer("Timer2", 100)),
      Timer3(addTimer("Timer3", 1000)),
      Timer4(addTimer("Timer4", 200)),
      Timer5(addTimer("Timer5", 100)),
      Timer6(addTimer("Timer6", 100)),
      Timer7(addTimer("Timer7", 200)),
      Timer8(addTimer("Timer8", 100)),
      Timer9(addTimer("Timer9", 100)),
      Timer10(addTimer("Timer10", 100)),
      Timer11(addTimer("Timer11", 100)),
      TimerRM(addTimer("TimerRM", 100)),
      TimEnd(addTimer("TimEnd", 100)),
      TimerRS(addTimer("TimerRS", 100)),
      TimTool(addTimer("TimTool", 100)) {
    setBorderStyle(0);
    setBackColor(0xF9D9C3);
    move(0, 0, 12000, 9000);

    for (Control* c : {&PicMenu, &PicTool, &PicHui, &PicElse, &Pic1J, &Pic2J}) c->move(0, 0);
    // Hot-spots 0 and 10 belong to no bar and are never laid out.
    for (int i : {0, 10}) LblZHU[i].move(0, 0, 495, 375);
    Image6.setBorderStyle(0);
    Image6.setAutoSize(true);
    Image6.setVisible(false);
    Label1.setCaption(QString());
    Label4.setCaption(QString());
    LstLA.setVisible(false);

    // The look-in list: its rows lie on the opened list's picture.
    PicList.setBorderStyle(0);
    PicList.setPicture(core::Picture(chrome::lookInListPicture()));
    PicList.move(0, 0, 3240, 330);
    PicList.setVisible(false);
    for (int i = 0; i <= 13; ++i) {
        addElement(Kind::Image, "ImgLiN", i, &PicList).setVisible(false);
        addElement(Kind::Label, "LblADD", i, &PicList).setBackStyle(0);
    }
    // A click on the shown row chooses it, on its picture or its row area.
    for (int i = 0; i <= 13; ++i) {
        auto choose = [this, i](Control&) {
            if (ImgLiN[i].visible()) ImgLiN_Click(i);
        };
        ImgLiN[i].onClick = choose;
        LblADD[i].onClick = choose;
    }
    if (!chrome::lookInRowPicture(0).isNull())
        for (int i = 0; i <= 13; ++i) ImgLiN[i].setPicture(core::Picture(chrome::lookInRowPicture(i)));
    LblADDmyXZ.setBackStyle(0);

    LHelp.setBackColor(0xC0FFFF);
    LHelp.setForeColor(kRed);
    LHelp.setFontBold(true);
    LHelp.setAutoSize(true);
    LHelp.move(600, 7800, 1500, 255);
    LHelp.setVisible(false);

    ImgLogo.setForeColor(kRed);

    Shape5.setShape(3);
    Shape5.move(-500, -500, 375, 375);
    Shape6.move(0, 0, 10, 10);

    // The pointer's design place, below the window; it is first drawn at
    // its first flight tick.
    const double design[14][4] = {{60, 0, 60, 240},     {60, 240, 120, 180},  {120, 180, 180, 300},
                                  {150, 150, 225, 285}, {165, 150, 240, 150}, {60, -15, 240, 165},
                                  {195, 300, 225, 270}, {180, 300, 195, 300}, {75, 15, 75, 210},
                                  {105, 45, 105, 180},  {135, 75, 135, 150},  {165, 105, 165, 135},
                                  {195, 120, 195, 135}, {135, 165, 210, 300}};
    for (int i = 0; i < 14; ++i) {
        Control& l = i < 8 ? LPoint[i] : LPoinB[i - 8];
        l.setLine(design[i][0], 9720 + design[i][1], design[i][2], 9720 + design[i][3]);
        l.setAboveWindowed(true);
    }
    // The pointer, the drag cursor and the ring lie above the boxes too.
    ImgICO.setAboveWindowed(true);
    Shape5.setAboveWindowed(true);
    for (Control* c : {&Text1, &Text2, &Text4}) c->setTabStop(false);

    styleDrawnMenus();
    styleDialogs();

    chrome_.picMenu = &PicMenu;
    chrome_.picTool = &PicTool;
    chrome_.picHui = &PicHui;
    chrome_.picElse = &PicElse;
    chrome_.hotSpots = &LblZHU;
    chrome_.imgMenu = &ImgMenu;
    chrome_.imgTool = &ImgTool;
    chrome_.imgHui = &ImgHui;
    chrome_.imgElse = &ImgElse;
    chrome_.pic1J = &Pic1J;
    chrome_.pic2J = &Pic2J;
    chrome_.picList = &PicList;
    chrome_.lbl1J = &Lbl1J;
    chrome_.lbl2J = &Lbl2J;
    chrome_.drawingBarTop = 8280;
    chrome_.hotSpotsOnWindow = true;
    chrome_.resumeAfterErrors = false;

    wireMenus();
    onLoad = [this] { Form_Load(); };
    Timer1.onTimer = [this](core::Timer&) { Timer1_Timer(); };
    Timer2.onTimer = [this](core::Timer&) { Timer2_Timer(); };
    Timer3.onTimer = [this](core::Timer&) { Timer3_Timer(); };
    Timer4.onTimer = [this](core::Timer&) { Timer4_Timer(); };
    Timer5.onTimer = [this](core::Timer&) { Timer5_Timer(); };
    TimEnd.onTimer = [this](core::Timer&) { TimEnd_Timer(); };
    TimerRM.onTimer = [this](core::Timer&) { TimerRM_Timer(); };
    TimerRS.onTimer = [this](core::Timer&) { TimerRS_Timer(); };

    // The stops: a double click on the window or an overlay, Enter, Space
    // or Escape released on the window.
    onDblClick = [this] { startEnd(); };
    for (Control* img : {&Image1, &Image2, &Image3, &Image4, &Image5})
        img->onDblClick = [this](Control&) { startEnd(); };
    onKeyUp = [this](int& keyCode, int) {
        if (keyCode == 13 || keyCode == 32 || keyCode == 27) startEnd();
    };
    // Closed by the desktop: stopped as by the user, so that the end hands
    // back to the practice and question windows.
    onDesktopClose = [this] { startEnd(); };
}

std::vector<FrmYanShi::TimerBase> FrmYanShi::playbackTimers() {
    return {{&Timer1, 500},  {&Timer2, 100},  {&Timer3, 1000}, {&Timer4, 200},  {&Timer5, 100},
            {&Timer6, 100},  {&Timer7, 200},  {&Timer8, 100},  {&Timer9, 100},  {&Timer10, 100},
            {&Timer11, 100}, {&TimerRM, 100}, {&TimEnd, 100},  {&TimerRS, 100}, {&TimTool, 100}};
}

Control& FrmYanShi::overlay(int k) const {
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

core::Picture FrmYanShi::dataPicture(const QString& code) const {
    return core::loadPictureOrThrow(core::config().dataFile(code));
}

bool FrmYanShi::secondLeg() const { return Shape4.left() == -100; }
void FrmYanShi::setSecondLeg() { Shape4.setLeft(-100); }

// ------------------------------------------------------------------ load

void FrmYanShi::Form_Load() {
    core::SessionState& s = core::session();
    auto& w = core::windows();

    st([&] { m.flight.pointerX = int32_t(core::roundHalfEven(7680 * sx())); });
    st([&] { m.flight.pointerY = int32_t(core::roundHalfEven(5760 * sy())); });
    s.RunMode = core::RunGuided;
    m.TickCount = 0;
    st([&] { Label1.setCaption(QString()); });
    st([&] { move(0, 0, 12000 * sx(), 9000 * sy()); });
    st([&] { setWindowState(core::StateNormal); });
    st([&] { ImgLogo.move(9420 * sx(), 7620 * sy(), 2535 * sx(), 1335 * sy()); });
    st([&] {
        if (w.questionText) ImgLogo.setCaption(core::shownText(w.questionText()));
    });
    st([&] { setTopmost(true); });

    // Over the practice window when it is in the normal state, else centred.
    st([&] {
        const core::ScreenInfo scr = core::platform().screen();
        move((scr.widthTwips - width()) / 2, (scr.heightTwips - height()) / 2);
    });
    st([&] {
        if (!w.practiceWindow) return;
        core::Form& pw = w.practiceWindow();
        if (pw.windowState() == core::StateNormal) move(pw.left(), pw.top());
    });

    st([&] { LHelp.setFontSize(11 * sx()); });
    st([&] { LstLA.setFontSize(9 * sx()); });
    st([&] { LblXXK[0].setFontSize(9 * sx()); });
    st([&] { m.ExamDataPath = core::normalizePath(core::config().ProgramDir + QStringLiteral("/examdata/")); });
    chrome_.examDataPath = m.ExamDataPath;

    for (int i = 0; i <= 13; ++i) {
        st([&] { LblADD[i].move(0, (240 * i + 345) * sy(), 3900 * sx(), 240 * sy()); });
        st([&] { LblADD[i].setCaption(QString()); });
        st([&] { ImgLiN[i].setVisible(false); });
        st([&] { ImgLiN[i].move(0, LblADD[i].top()); });
    }
    st([&] { ImgSelAD.move(-120 * sx(), 45 * sy()); });
    st([&] { LblADDmyXZ.move(0, 0, 3900 * sx(), 330 * sy()); });
    st([&] { PicList.setHeight(330 * sy()); });
    st([&] { PicList.setVisible(false); });

    m.DemoStep = 1;
    st([&] { CSH(); });
    st([&] { setData(); });
}

// ------------------------------------------------------------------ step cycle

void FrmYanShi::doNext() {
    if (!core::session().DemoRunning) return;
    for (core::Timer* t : {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5, &Timer6, &Timer7, &Timer8, &Timer9,
                           &Timer10, &Timer11})
        t->setEnabled(false);
    if (detail::actionCode() == u"9999") {
        Timer2.setEnabled(false);
        Shape5.move(-500, -500);
        m.flight.pointerX = -500;
        m.flight.pointerY = -500;
        startEnd();
        return;
    }
    m.DemoStep = int16_t(m.DemoStep + 1);
    setData();
}

void FrmYanShi::GoStep(const QString& code) {
    if (code == u"0") return;
    st([&] {
        m.DemoStep = branchTarget(code);
        setData();
    });
}

void FrmYanShi::startEnd() {
    if (TimEnd.enabled()) return;  // the end counts from the first stop
    endTicks_ = 0;
    TimEnd.setEnabled(true);
}

void FrmYanShi::TimEnd_Timer() {
    st([&] { Shape5.move(-500, -500); });
    endTicks_ = int16_t(endTicks_ + 1);
    if (endTicks_ < 4) return;
    for (core::Timer* t : {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5, &Timer6, &Timer7})
        st([&] { t->setEnabled(false); });
    m.TickCount = 0;
    m.DemoStep = 1;
    core::session().DemoRunning = false;
    TimEnd.setEnabled(false);
    endTicks_ = 0;
    st([&] { unload(); });
    auto& w = core::windows();
    st([&] {
        if (w.practiceWindow) w.practiceWindow().show();
    });
    st([&] {
        if (w.reloadQuestionLater) w.reloadQuestionLater();
    });
    st([&] {
        if (w.questionWindow) w.questionWindow().show();
    });
}

// ------------------------------------------------------------------ calls of the menus and context menus

void FrmYanShi::ToolCSH() { chrome::ToolCSH(chrome_); }

void FrmYanShi::ElseToolCSH() { chrome::ElseToolCSH(chrome_, core::session().StepLine); }

// ------------------------------------------------------------------ the window and its start

core::FormSlot<FrmYanShi>& frmYanShi() {
    static core::FormSlot<FrmYanShi> slot;
    return slot;
}

void showDemonstration(int16_t speed) {
    FrmYanShi& y = frmYanShi()();
    for (const auto& t : y.playbackTimers()) st([&] { t.timer->setInterval(int(int16_t(speed * t.base))); });
    st([&] { y.show(); });
}

void registerDemonstrationWindow() {
    core::windows().showDemonstration = showDemonstration;
    // The exam was handed in: the demonstration goes without handing back.
    core::windows().stopDemonstration = [] {
        core::session().DemoRunning = false;
        if (frmYanShi().loaded()) frmYanShi()().unload();
    };
}

} // namespace demo
