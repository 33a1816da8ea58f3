#include "cover/frm_fengmian.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <functional>
#include <initializer_list>

#include "core/errors.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"
#include "cover/design_pictures.h"
#include "cover/frm_fengmian_util.h"
#include "session/bank.h"
#include "session/records.h"

namespace cover {

using namespace core;
using namespace detail;

const char* const kQuitQuestion = "确实要退出考试系统吗？";
const char* const kQuitTitle = "Tesmar软件";
const char* const kRemoveAllQuestion = "您确定将全部标识题目移除吗？";
const char* const kRemoveAllTitle = "移除全部标识题";
const char* const kNoFlagged = "您还没有标识题目";
const char* const kFlaggedNotSaved = "标识题目列表无法保存，标识题目没有移除。";
const char* const kUpdaterMissing = "没有安装升级程序，无法升级。";
const char* const kUpdaterNotStarted = "升级程序无法启动。";
const char* const kPageUnreadable = "无法从题库中读取本页的题目，不能练习本页。";

namespace {

constexpr int kPaperRows = 14;
constexpr int kUnitRows = 21;
constexpr int kLauncherRows = 19;

int16_t round16(double v) { return static_cast<int16_t>(std::lrint(v)); }

// A skin or design picture of the data folder; a picture that cannot be
// loaded leaves the control as it was.
void loadSkin(Control& c, const QString& name) {
    if (auto p = pictureStore().load(joinPath(config().DataDir, name))) c.setPicture(*p);
}

void transparentLabel(Control& c) {
    c.setBackStyle(0);
    c.setCaption(QString());
}

void handPointer(Control& c) {
    c.setMousePointer(PtrCustom);
    c.setMouseIcon(handCursorFile());
}

// Columns a character takes: its code page 936 code read as a signed 16-bit
// number below 1 (double-byte characters and NUL) counts two.
int columnsOf(QChar ch) {
    if (ch.unicode() == 0) return 2;
    if (ch.unicode() < 0x80) return 1;
    return toGbk(QString(ch)).size() >= 2 ? 2 : 1;
}

// A click handler that calls a row starter of the windows with the row's
// index, when it is registered.
std::function<void(Control&)> rowCall(std::function<void(int)> Windows::*starter) {
    return [starter](Control& c) {
        if (windows().*starter) (windows().*starter)(c.index());
    };
}

// The start label of a paper or unit row: hover and press show the panel's
// shared hover or pressed picture at its place; a click starts the row.
void wireRowStart(Control& label, Control& hover, Control& pressed, std::function<void(int)> Windows::*starter) {
    transparentLabel(label);
    handPointer(label);
    label.onClick = rowCall(starter);
    label.onMouseMove = [&hover, &pressed](Control& c, const MouseArgs&) {
        hover.move(c.left(), c.top());
        hover.setVisible(true);
        pressed.setVisible(false);
    };
    label.onMouseDown = [&hover, &pressed](Control& c, const MouseArgs&) {
        pressed.move(c.left(), c.top());
        pressed.setVisible(true);
        hover.setVisible(false);
    };
}

// Stacks the given controls back to front within their container.
void restack(std::initializer_list<Control*> order) {
    for (Control* c : order) c->zOrder(0);
}

} // namespace

QString subLen(const QString& ctxt, int16_t nLen) {
    int taken = 0, cols = 0, exactCut = 0, overCut = 0;
    for (QChar ch : ctxt) {
        ++taken;
        cols += columnsOf(ch);
        if (cols == nLen - 3) exactCut = taken;
        if (overCut == 0 && cols > nLen - 3) overCut = taken;
        if (cols > nLen) break;
    }
    if (cols <= nLen) return ctxt;
    if (exactCut != 0) return ctxt.left(exactCut) + QStringLiteral("...");
    return ctxt.left(std::max(overCut - 1, 0)) + QStringLiteral(" ...");
}

QStringList normalizedProgress(const QStringList& stored, const std::array<int16_t, 26>& counts) {
    QStringList out;
    for (int u = 0; u <= 24; ++u)
        out << session::unitLineNormalized(u < stored.size() ? stored[u] : QString(), std::max<int>(counts[u], 0));
    return out;
}

// ------------------------------------------------------------------ controls

FrmFengmian::FrmFengmian()
    : Form("FrmFengmian"),
      LblCaption(add(Kind::Label, "LblCaption")),
      LblKmMc1(add(Kind::Label, "LblKmMc1")),
      LblKmMc(add(Kind::Label, "LblKmMc")),
      ImgTiKu(add(Kind::Image, "ImgTiKu")),
      ImgTiKu1(add(Kind::Image, "ImgTiKu1")),
      ImgTiKu2(add(Kind::Image, "ImgTiKu2")),
      LblTiKu(add(Kind::Label, "LblTiKu")),
      ImgKaCH(add(Kind::Image, "ImgKaCH")),
      ImgKaCH1(add(Kind::Image, "ImgKaCH1")),
      ImgKaCH2(add(Kind::Image, "ImgKaCH2")),
      LblKaCH(add(Kind::Label, "LblKaCH")),
      LblWeb1(add(Kind::Label, "LblWeb1")),
      LblWeb2(add(Kind::Label, "LblWeb2")),
      LblQQ1(add(Kind::Label, "LblQQ1")),
      LblQQ2(add(Kind::Label, "LblQQ2")),
      LblAbout(add(Kind::Label, "LblAbout")),
      ImgClose(add(Kind::Image, "ImgClose")),
      LblClose(add(Kind::Label, "LblClose")),
      PicPro(add(Kind::PictureBox, "PicPro")),
      PicReg(add(Kind::PictureBox, "PicReg")),
      PicTiKu(add(Kind::PictureBox, "PicTiKu")),
      PicKaCH(add(Kind::PictureBox, "PicKaCH")),
      PicBiaoZhi(add(Kind::PictureBox, "PicBiaoZhi")),
      ImgStartKsM(add(Kind::Image, "ImgStartKsM", &PicKaCH)),
      ImgStartKsD(add(Kind::Image, "ImgStartKsD", &PicKaCH)),
      ImgJinRuXXM(add(Kind::Image, "ImgJinRuXXM", &PicTiKu)),
      ImgJinRuXXD(add(Kind::Image, "ImgJinRuXXD", &PicTiKu)),
      ImgSaveBiao(add(Kind::Image, "ImgSaveBiao", &PicBiaoZhi)),
      PicSave(add(Kind::PictureBox, "PicSave", &PicBiaoZhi)),
      FramSave(add(Kind::Frame, "FramSave", &PicSave)),
      ImgSaveXiao(add(Kind::Label, "ImgSaveXiao", &FramSave)),
      Check1(add(Kind::CheckBox, "Check1", &PicReg)),
      Label2(add(Kind::Label, "Label2", &PicReg)),
      LblLast(add(Kind::Label, "LblLast", &PicPro)),
      LblNext(add(Kind::Label, "LblNext", &PicPro)),
      imgReg(array("imgReg")),
      CmdReg(array("CmdReg")),
      LblPro(array("LblPro")),
      ImgShiJuan(array("ImgShiJuan")),
      LblShiJuanNo(array("LblShiJuanNo")),
      LblKSInFo(array("LblKSInFo")),
      LblErr(array("LblErr")),
      LblStartKs(array("LblStartKs")),
      ImgUnit(array("ImgUnit")),
      LblUnitNo(array("LblUnitNo")),
      LblUnintSL(array("LblUnintSL")),
      LblUnitWei(array("LblUnitWei")),
      LblJinRuXX(array("LblJinRuXX")),
      LblUWrong(array("LblUWrong")),
      LblSaveCAP(array("LblSaveCAP")),
      LblSCmd(array("LblSCmd")),
      LblXiaoSave(array("LblXiaoSave")),
      LineSaveVS(array("LineSaveVS")),
      LineSaveBottom(array("LineSaveBottom")),
      ShapeKm(array("ShapeKm")),
      LblKmLj(array("LblKmLj")) {
    buildControls();
    onLoad = [this] { Form_Load(); };
}

void FrmFengmian::buildControls() {
    setBorderStyle(0);
    setShowInTaskbar(true);
    move(0, 0, 12000, 9000);

    // Window: title, caption line, tabs, close button, links.
    for (Control* c : {&LblCaption, &LblKmMc, &LblKmMc1}) c->setBackStyle(0);
    LblCaption.setForeColor(0x7C5C2B);
    for (Control* c : {&LblKmMc, &LblKmMc1}) {
        c->setFontName(QStringLiteral("黑体"));
        c->setFontBold(true);
    }
    LblKmMc.setForeColor(0xFF);
    LblKmMc1.setForeColor(0xC0C0C0);
    for (Control* c : {&LblTiKu, &LblKaCH, &LblWeb1, &LblWeb2, &LblQQ1, &LblQQ2, &LblAbout}) {
        transparentLabel(*c);
        handPointer(*c);
    }
    transparentLabel(LblClose);
    ImgClose.setPicture(closePicture());
    ImgClose.setVisible(false);
    for (Control* c : {&ImgTiKu1, &ImgTiKu2, &ImgKaCH1, &ImgKaCH2}) c->setVisible(false);

    // Command buttons: face image and click label of the same index.
    auto button = [this](int i, Control* container, bool shown) {
        Control& img = addElement(Kind::Image, "imgReg", i, container);
        Control& lbl = addElement(Kind::Label, "CmdReg", i, container);
        transparentLabel(lbl);
        handPointer(lbl);
        img.setVisible(shown);
        lbl.setVisible(shown);
        lbl.onClick = [this](Control& c) { CmdReg_Click(c.index()); };
        lbl.onMouseMove = [this](Control& c, const MouseArgs&) { CmdReg_MouseMove(c.index()); };
        lbl.onMouseDown = [this](Control& c, const MouseArgs&) { CmdReg_MouseDown(c.index()); };
    };
    button(0, nullptr, false);
    button(1, nullptr, false);
    button(2, nullptr, true);
    button(3, nullptr, false);

    // Info menu.
    const char* proCaptions[] = {"关于本软件", "考试简介", "考试大纲", "使用说明", "其它模块"};
    for (int i = 0; i <= 4; ++i) {
        Control& l = addElement(Kind::Label, "LblPro", i);
        l.setBackStyle(0);
        l.setCaption(tr8(proCaptions[i]));
        l.setForeColor(kPlainInfoColour);
        if (i > 0) handPointer(l);
    }

    // Paper panel: row pictures, the shared hover and pressed pictures, then
    // the row labels, which take the mouse.
    for (int k = 0; k < kPaperRows; ++k) addElement(Kind::Image, "ImgShiJuan", k, &PicKaCH);
    ImgStartKsM.setPicture(paperStartHoverPicture());
    ImgStartKsD.setPicture(paperStartPressedPicture());
    restack({&ImgStartKsM, &ImgStartKsD});
    for (int k = 0; k < kPaperRows; ++k) {
        Control& no = addElement(Kind::Label, "LblShiJuanNo", k, &PicKaCH);
        no.setBackStyle(0);
        no.setFontName(QStringLiteral("宋体"));
        no.setFontBold(true);
        no.setForeColor(0x4040);
        Control& info = addElement(Kind::Label, "LblKSInFo", k, &PicKaCH);
        info.setBackStyle(0);
        info.setForeColor(0xFF);
        Control& err = addElement(Kind::Label, "LblErr", k, &PicKaCH);
        err.setBackStyle(0);
        err.setCaption(QStringLiteral("错题复习"));
        err.setForeColor(0);
        handPointer(err);
        err.onClick = rowCall(&Windows::reviewPaperWrong);
        wireRowStart(addElement(Kind::Label, "LblStartKs", k, &PicKaCH), ImgStartKsM, ImgStartKsD,
                     &Windows::startPaperExam);
    }
    button(10, &PicKaCH, true);
    button(11, &PicKaCH, true);

    // Unit panel, the same way.
    for (int u = 0; u < kUnitRows; ++u) addElement(Kind::Image, "ImgUnit", u, &PicTiKu);
    ImgJinRuXXM.setPicture(unitStartHoverPicture());
    ImgJinRuXXD.setPicture(unitStartPressedPicture());
    restack({&ImgJinRuXXM, &ImgJinRuXXD});
    for (int u = 0; u < kUnitRows; ++u) {
        for (const char* name : {"LblUnitNo", "LblUnintSL", "LblUnitWei"}) {
            Control& l = addElement(Kind::Label, name, u, &PicTiKu);
            l.setBackStyle(0);
            l.setFontName(QStringLiteral("宋体"));
            l.setFontBold(true);
        }
        LblUnitNo[u].setForeColor(0x8080);
        LblUnintSL[u].setForeColor(0xC00000);
        LblUnitWei[u].setForeColor(0xFF);
        wireRowStart(addElement(Kind::Label, "LblJinRuXX", u, &PicTiKu), ImgJinRuXXM, ImgJinRuXXD,
                     &Windows::startUnit);
        Control& wrong = addElement(Kind::Label, "LblUWrong", u, &PicTiKu);
        handPointer(wrong);
        wrong.onClick = rowCall(&Windows::reviewUnitWrong);
    }
    button(12, &PicTiKu, true);
    button(13, &PicTiKu, true);
    for (Control* c : {&ImgStartKsM, &ImgStartKsD, &ImgJinRuXXM, &ImgJinRuXXD}) c->setVisible(false);

    // Flagged panel.
    Control& cap0 = addElement(Kind::Label, "LblSaveCAP", 0, &PicBiaoZhi);
    cap0.setBackStyle(0);
    cap0.setFontName(QStringLiteral("Microsoft YaHei"));
    ImgSaveBiao.setPicture(flaggedHeaderPicture());
    PicSave.setBackColor(0xFFFFFF);
    FramSave.setBackColor(0xFFFFFF);
    FramSave.setBorderStyle(0);
    for (int i = 0; i <= FlaggedPageSize; ++i) {
        Control& row = addElement(Kind::Label, "LblSCmd", i, &FramSave);
        row.setBackStyle(1);
        row.setVisible(i > 0);
        row.onClick = [this](Control& c) { LblSCmd_Click(c.index()); };
    }
    ImgSaveXiao.setBackStyle(1);
    ImgSaveXiao.setBackColor(0xF9E3BA);
    for (int i = 1; i <= FlaggedPageSize; ++i) {
        Control& cap = addElement(Kind::Label, "LblXiaoSave", i, &FramSave);
        cap.setBackStyle(0);
        cap.setFontName(QStringLiteral("SimSun"));
        cap.setForeColor(0);
        cap.onClick = [this](Control& c) { LblSCmd_Click(c.index()); };
    }
    for (int i = 0; i <= 1; ++i) {
        Control& l = addElement(Kind::Line, "LineSaveVS", i, &FramSave);
        l.setBorderColor(0xCCCCCC);
    }
    Control& cap1 = addElement(Kind::Label, "LblSaveCAP", 1, &PicSave);
    cap1.setBackStyle(0);
    cap1.setCaption(QStringLiteral("您没有标识题目"));
    cap1.setFontName(QStringLiteral("Microsoft YaHei"));
    for (int i = 0; i <= 1; ++i) addElement(Kind::Line, "LineSaveBottom", i, &PicBiaoZhi);
    LineSaveBottom[0].setBorderColor(0xB99D7F);
    for (int i = 4; i <= 9; ++i) button(i, &PicBiaoZhi, true);
    PicSave.onClick = [this](Control&) { MouseMove(); };

    // Update option panel.
    Check1.setBackColor(0xFCF5E4);
    Check1.setCaption(QString());
    Check1.onClick = [this](Control&) { Check1_Click(); };
    Label2.setBackStyle(0);
    Label2.setCaption(QStringLiteral("自动升级"));
    button(14, &PicReg, false);
    button(15, &PicReg, true);

    // Information panel: launcher rows and the paging areas.
    for (int i = 0; i < kLauncherRows; ++i) {
        Control& s = addElement(Kind::Shape, "ShapeKm", i, &PicPro);
        s.setBorderColor(0);
        Control& l = addElement(Kind::Label, "LblKmLj", i, &PicPro);
        transparentLabel(l);
        handPointer(l);
    }
    for (Control* c : {&LblLast, &LblNext}) {
        transparentLabel(*c);
        handPointer(*c);
    }

    // Stacking (controls are created back to front): the silver title copy
    // lies under the red one, every click label above the picture it
    // covers; in the flagged rows the captions lie over the selection bar,
    // the bar over the row backgrounds, the separators over everything.
    wireInfoPanel();

    restack({&ImgSaveXiao});
    for (int i = 1; i <= FlaggedPageSize; ++i) restack({&LblXiaoSave[i]});
    restack({&LineSaveVS[0], &LineSaveVS[1]});

    // Events of the window and its panels.
    onMouseDown = [this](const MouseArgs& a) { Form_MouseDown(a); };
    onMouseMove = [this](const MouseArgs&) { Form_MouseMove(); };
    LblCaption.onMouseDown = [this](Control&, const MouseArgs& a) { LblCaption_MouseDown(a); };
    LblClose.onMouseMove = [this](Control&, const MouseArgs&) { ImgClose.setVisible(true); };
    LblClose.onClick = [this](Control&) { LblClose_Click(); };
    // Closed by the desktop: as the close button.
    onDesktopClose = [this] {
        if (!core::boxOpen()) LblClose_Click();
    };
    for (int tab : {UnitTab, PaperTab}) {
        Control& label = tab == UnitTab ? LblTiKu : LblKaCH;
        label.onMouseMove = [this, tab](Control&, const MouseArgs&) { showTabFace(tab, HoverFace); };
        label.onMouseDown = [this, tab](Control&, const MouseArgs&) { showTabFace(tab, PressedFace); };
    }
    LblTiKu.onClick = [this](Control&) {
        PicTiKu.setVisible(true);
        PicKaCH.setVisible(false);
    };
    LblKaCH.onClick = [this](Control&) {
        PicKaCH.setVisible(true);
        PicTiKu.setVisible(false);
    };
    PicKaCH.onMouseMove = [this](Control&, const MouseArgs&) {
        ImgStartKsM.setVisible(false);
        ImgStartKsD.setVisible(false);
        MouseMove();
    };
    PicTiKu.onMouseMove = [this](Control&, const MouseArgs&) {
        ImgJinRuXXM.setVisible(false);
        ImgJinRuXXD.setVisible(false);
        MouseMove();
    };
    PicBiaoZhi.onMouseMove = [this](Control&, const MouseArgs&) { MouseMove(); };
    PicReg.onMouseMove = [this](Control&, const MouseArgs&) { MouseMove(); };
}

// ---------------------------------------------------------------------- load

namespace {

// Every picture the load shows (skins, row pictures, command button faces),
// decoded ahead while the splash is up.
QStringList loadPictureFiles() {
    QStringList files;
    for (const char* name : {"9l0050.rar", "9l0051.rar", "9l0052.rar", "9l0060.rar", "9l0061.rar", "9l0062.rar",
                             "9l0070.rar", "9l0071.rar", "9l0072.rar", "9l0054.rar", "9l0055.rar"})
        files << joinPath(config().DataDir, QString::fromLatin1(name));
    for (int i = 1; i <= 15; ++i) files << faceFile(i, QStringLiteral("l020"));
    return files;
}

} // namespace

void FrmFengmian::Form_Load() {
    ModuleConfig& cfg = config();
    SessionState& s = core::session();

    // Scale factors.
    resumeNext([&] {
        const ScreenInfo scr = platform().screen();
        cfg.ScaleX = scr.twipsPerPixelX / 15.0;
        cfg.ScaleY = scr.twipsPerPixelY / 15.0;
    });

    // Close button and window size (centred on the screen).
    resumeNext([&] {
        ImgClose.move(X(11250), 0);
        ImgClose.setVisible(false);
        LblClose.move(ImgClose.left(), ImgClose.top(), ImgClose.width(), ImgClose.height());
        const ScreenInfo scr = platform().screen();
        const double w = X(12000), h = Y(9000);
        move((scr.widthTwips - w) / 2, (scr.heightTwips - h) / 2, w, h);
    });

    // Skins.
    resumeNext([&] {
        if (auto p = pictureStore().load(joinPath(cfg.DataDir, "9l0050.rar"))) setPicture(*p);
    });
    resumeNext([&] { loadSkin(PicTiKu, "9l0051.rar"); });
    resumeNext([&] { loadSkin(PicKaCH, "9l0051.rar"); });
    resumeNext([&] { loadSkin(PicReg, "9l0052.rar"); });
    resumeNext([&] { loadSkin(PicBiaoZhi, "9l0051.rar"); });
    resumeNext([&] { loadSkin(ImgTiKu, "9l0060.rar"); });
    resumeNext([&] { loadSkin(ImgTiKu1, "9l0061.rar"); });
    resumeNext([&] { loadSkin(ImgTiKu2, "9l0062.rar"); });
    resumeNext([&] { loadSkin(ImgKaCH, "9l0070.rar"); });
    resumeNext([&] { loadSkin(ImgKaCH1, "9l0071.rar"); });
    resumeNext([&] { loadSkin(ImgKaCH2, "9l0072.rar"); });

    // Bank version and input-method option.
    QString bankVersion;
    resumeNext([&] { bankVersion = trimSpaces(readFirstLine(cfg.dataFile("288895")).value_or(QString())); });
    resumeNext([&] {
        auto line = readFirstLine(cfg.recordFile("288890"));
        s.ImeSimEnabled = line && leadingNumber(*line) != 0 ? -1 : 0;
    });

    // Captions.
    resumeNext([&] {
        setCaption(QStringLiteral("Norvane职称计算机考试——") + cfg.ModuleName + QStringLiteral("模块  题库版本：") +
                   bankVersion);
        LblKmMc.setCaption(QStringLiteral("── ") + cfg.ModuleTitle);
        LblKmMc1.setCaption(LblKmMc.caption());
        LblCaption.move(X(4665), Y(135));
        LblCaption.setFontSize(9 * cfg.ScaleX);
        setCaptionFit(LblCaption, QStringLiteral("V%1.%2.%3──").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision) +
                                      cfg.ModuleName + QStringLiteral("模块(题库版本：") + bankVersion + ")");
    });

    // Tab faces, panel rectangle, panels hidden.
    resumeNext([&] {
        ImgTiKu.setVisible(true);
        ImgKaCH.setVisible(true);
        for (Control* c : {&ImgTiKu1, &ImgTiKu2, &ImgKaCH1, &ImgKaCH2}) c->setVisible(false);
        PicTiKu.move(X(15), Y(420), X(11970), Y(8175));
        for (Control* c : {&PicReg, &PicKaCH, &PicBiaoZhi, &PicPro})
            c->move(PicTiKu.left(), PicTiKu.top(), PicTiKu.width(), PicTiKu.height());
        hideAllPanels();
    });

    // Launcher grid, title, tab squares.
    resumeNext([&] {
        for (int i = 0; i < kLauncherRows; ++i) {
            ShapeKm[i].move(X(360) + (i % 4) * X(2865), Y(990) + (i / 4) * Y(1095), X(2655), Y(765));
            ShapeKm[i].setBorderColor(0);
            LblKmLj[i].move(ShapeKm[i].left(), ShapeKm[i].top(), ShapeKm[i].width(), ShapeKm[i].height());
        }
        LblKmMc.move(X(3600), Y(1440));
        LblKmMc.setFontSize(21 * cfg.ScaleX);
        LblKmMc.fitToCaption();
        LblKmMc1.move(LblKmMc.left() + X(15), LblKmMc.top() + Y(15));
        LblKmMc1.setFontSize(21 * cfg.ScaleX);
        LblKmMc1.fitToCaption();
        LblTiKu.move(X(2400), Y(2520), X(2250), X(2250));
        for (Control* c : {&ImgTiKu, &ImgTiKu1, &ImgTiKu2}) c->move(LblTiKu.left(), LblTiKu.top());
        LblKaCH.move(X(6900), LblTiKu.top(), X(2250), X(2250));
        for (Control* c : {&ImgKaCH, &ImgKaCH1, &ImgKaCH2}) c->move(LblKaCH.left(), LblKaCH.top());
    });

    // Command buttons on one line.
    resumeNext([&] {
        const double step = X(1890);
        imgReg[0].setLeft(X(8100));
        imgReg[0].setVisible(false);
        CmdReg[0].setVisible(false);
        for (int i = 1; i <= 15; ++i) {
            Control& img = imgReg[i];
            img.move(X(8100), Y(7650));
            resumeNext([&] { setFace(i, QStringLiteral("l020")); });
            double left = img.left();
            switch (i) {
            case 1: case 3: case 9: case 11: case 13: case 15: left += step; break;
            case 7: left -= step; break;
            case 6: left -= 2 * step; break;
            case 5: left -= 3 * step; break;
            case 4: left -= 4 * step; break;
            default: break;
            }
            img.setLeft(left);
            CmdReg[i].move(img.left(), img.top(), img.width(), img.height());
            CmdReg[i].setCaption(QString());
        }
    });

    // Links, info menu, update option, information arrows; the updater
    // button on the window.
    resumeNext([&] {
        LblWeb1.move(X(1620), Y(7230), X(1395), Y(330));
        LblWeb2.move(X(3075), Y(7230), X(1395), Y(330));
        LblQQ1.move(X(1620), Y(7830), X(1395), Y(330));
        LblQQ2.move(X(3075), Y(7830), X(1395), Y(330));
        LblAbout.move(X(720), Y(6900), X(2535), Y(375));
        for (int i = 0; i <= 4; ++i) {
            Control& l = LblPro[i];
            l.setTop(Y(8700));
            l.setFontSize(10 * cfg.ScaleY);
            l.setFontName(QStringLiteral("宋体"));
            l.setForeColor(kPlainInfoColour);
            l.setFontUnderline(false);
            l.setLeft(X(4230 + 1200 * (i + 1)));
            l.fitToCaption();
        }
        LblPro[0].setLeft(X(240));
        PicReg.setVisible(false);
        Check1.move(X(10080), Y(6000), X(210), Y(210));
        Label2.move(X(10320), Check1.top());
        Label2.setFontSize(9 * cfg.ScaleX);
        Label2.fitToCaption();
        LblLast.move(X(7320), Y(7620), X(1635), Y(495));
        LblNext.move(X(9405), Y(7620), X(1635), Y(495));
        CmdReg[3].setVisible(true);
        imgReg[3].setVisible(true);
    });

    // Unit panel rows.
    resumeNext([&] {
        PicTiKu.setVisible(false);
        ImgJinRuXXM.setVisible(false);
        ImgJinRuXXD.setVisible(false);
        const int16_t x0 = round16(X(480)), y0 = round16(Y(120)), r = round16(Y(1080)), c = round16(3720 * cfg.ScaleY);
        for (int u = 0; u < kUnitRows; ++u) {
            resumeNext([&] {
                Control& img = ImgUnit[u];
                img.move(x0 + (u % 3) * c, y0 + (u / 3) * r);
                const double L = img.left(), T = img.top();
                Control& no = LblUnitNo[u];
                no.move(L + X(450), T + Y(120));
                no.setFontSize(14 * cfg.ScaleX);
                setCaptionFit(no, right(" " + QString::number(u + 1), 2));
                Control& sl = LblUnintSL[u];
                sl.move(L + X(1020), T + Y(645));
                sl.setFontSize(10 * cfg.ScaleX);
                sl.fitToCaption();
                Control& wei = LblUnitWei[u];
                wei.move(L + X(2190), sl.top());
                wei.setFontSize(sl.fontSize());
                wei.fitToCaption();
                LblJinRuXX[u].move(L + X(1635), T + Y(75), X(1770), Y(375));
                LblUWrong[u].move(wei.left() - X(600), sl.top() - Y(30), X(1800), Y(360));
                LblJinRuXX[u].setToolTipText(cfg.InfoLines[u]);
                LblUWrong[u].setCaption(QString());
                LblUWrong[u].setBackStyle(0);
                LblUWrong[u].setToolTipText(QStringLiteral("点“还有X题未学习”可以进入未学习的题目进行学习"));
                loadSkin(img, "9l0054.rar");
            });
        }
    });

    // Paper panel rows.
    resumeNext([&] {
        PicKaCH.setVisible(false);
        ImgStartKsM.setVisible(false);
        ImgStartKsD.setVisible(false);
        const int16_t x0 = round16(X(390)), y0 = round16(Y(120)), r = round16(Y(1080)), c = round16(5700 * cfg.ScaleY);
        for (int k = 0; k < kPaperRows; ++k) {
            resumeNext([&] {
                Control& img = ImgShiJuan[k];
                img.move(x0 + (k % 2) * c, y0 + (k / 2) * r);
                const double L = img.left(), T = img.top();
                Control& no = LblShiJuanNo[k];
                no.move(L + X(1470), T + Y(120));
                no.setFontSize(16 * cfg.ScaleX);
                setCaptionFit(no, QString::number(k + 1));
                Control& info = LblKSInFo[k];
                info.move(L + X(180), T + Y(690));
                info.setFontSize(9 * cfg.ScaleX);
                info.fitToCaption();
                Control& err = LblErr[k];
                err.move(info.left() + X(4500), info.top());
                err.setFontSize(9 * cfg.ScaleX);
                err.fitToCaption();
                LblStartKs[k].move(L + X(3390), T + Y(90), X(1770), Y(375));
                err.setToolTipText(QStringLiteral("点“错题复习”可以进入本套试题最后的答错题进行学习"));
                loadSkin(img, "9l0055.rar");
            });
        }
    });

    // Paper and unit counts; rows beyond them hidden.
    std::optional<session::PaperCatalog> catalogue;
    resumeNext([&] { catalogue = session::PaperCatalog::read(); });
    resumeNext([&] {
        PaperCount = catalogue ? catalogue->trimmedPaperCount() : 0;
        UnitCount = catalogue ? catalogue->trimmedUnitCount() : 0;
        core::session().PaperCount = PaperCount;
        core::session().UnitCount = UnitCount;
    });
    resumeNext([&] {
        for (int k = std::max<int>(PaperCount, 0); k < kPaperRows; ++k)
            for (ControlArray* a : {&ImgShiJuan, &LblShiJuanNo, &LblKSInFo, &LblStartKs, &LblErr}) (*a)[k].setVisible(false);
    });

    // Last exam time and best score.
    resumeNext([&] {
        const QStringList score = session::readScoreHistory();  // 45 lines
        for (int k = 0; k < PaperCount && k < kPaperRows; ++k) {
            const QString t = 3 * k < score.size() ? score[3 * k] : QString();
            const QString best = 3 * k + 1 < score.size() ? score[3 * k + 1] : QString();
            setCaptionFit(LblKSInFo[k], shownText(QStringLiteral("最后考试时间 ") + t + QStringLiteral("  最好成绩 ") + best));
        }
    });

    // Unit rows beyond the count hidden.
    resumeNext([&] {
        for (int u = std::max<int>(UnitCount, 0); u < kUnitRows; ++u)
            for (ControlArray* a : {&ImgUnit, &LblUnitNo, &LblUnintSL, &LblUnitWei, &LblJinRuXX, &LblUWrong})
                (*a)[u].setVisible(false);
    });

    // Unit progress normalised to the question counts of catalogue line 2
    // and rewritten. A catalogue that cannot be read or is damaged never
    // rewrites the candidate's progress: it is shown as stored.
    QStringList progress = session::readUnitProgress();  // 26 lines
    if (catalogue && catalogue->wellFormed()) {
        std::array<int16_t, 26> counts{};
        for (int u = 0; u < int(counts.size()); ++u) counts[u] = catalogue->unitQuestionCount(u);
        progress = normalizedProgress(progress, counts);
        resumeNext([&] { session::writeUnitProgress(progress, 25); });
    }

    // Unit captions.
    resumeNext([&] {
        for (int u = 0; u < UnitCount && u < kUnitRows; ++u) {
            const QString line = u < progress.size() ? progress[u] : QString();
            setCaptionFit(LblUnintSL[u], QString::number(trimSpaces(line).size()));
            setCaptionFit(LblUnitWei[u], QString::number(line.count(u'F')));
        }
    });

    // Update option.
    resumeNext([&] {
        const QString opt = readFirstLine(cfg.programFile("updata.txt")).value_or(QString());
        updateOption_.show(trimSpaces(opt) == "1");
    });

    // Flagged panel, sibling modules.
    resumeNext([&] { LayoutSaveList(); });
    resumeNext([&] { kmSetupYN(); });
}

// ------------------------------------------------------------------ access

core::FormSlot<FrmFengmian>& frmFengmian() {
    static core::FormSlot<FrmFengmian> slot;
    return slot;
}

void registerCover() {
    core::windows().showCover = [] { frmFengmian()().show(); };
    core::windows().prefetchCoverPictures = [] { pictureStore().prefetch(loadPictureFiles()); };
    core::windows().unloadCover = [] {
        if (FrmFengmian* f = frmFengmian().peek()) f->unload();
    };
}

} // namespace cover
