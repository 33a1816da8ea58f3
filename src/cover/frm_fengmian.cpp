#include "cover/frm_fengmian.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <initializer_list>

#include "core/errors.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"
#include "cover/design_pictures.h"
#include "session/bank.h"
#include "session/records.h"

namespace cover {

using namespace core;

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

constexpr uint32_t kPlainInfoColour = 0x7C5C2B;
constexpr int kPaperRows = 14;
constexpr int kUnitRows = 21;
constexpr int kLauncherRows = 19;

QString tr8(const char* s) { return QString::fromUtf8(s); }

double X(double v) { return v * config().ScaleX; }
double Y(double v) { return v * config().ScaleY; }
int16_t round16(double v) { return static_cast<int16_t>(std::lrint(v)); }

// A skin or design picture of the data folder; a picture that cannot be
// loaded leaves the control as it was.
void loadSkin(Control& c, const QString& name) {
    if (auto p = pictureStore().load(joinPath(config().DataDir, name))) c.setPicture(*p);
}

void setCaptionFit(Control& c, const QString& text) {
    c.setCaption(text);
    c.fitToCaption();
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
        err.onClick = [this](Control& c) {
            if (windows().reviewPaperWrong) windows().reviewPaperWrong(c.index());
        };
        Control& start = addElement(Kind::Label, "LblStartKs", k, &PicKaCH);
        transparentLabel(start);
        handPointer(start);
        start.onClick = [this](Control& c) {
            if (windows().startPaperExam) windows().startPaperExam(c.index());
        };
        start.onMouseMove = [this](Control& c, const MouseArgs&) {
            ImgStartKsM.move(c.left(), c.top());
            ImgStartKsM.setVisible(true);
            ImgStartKsD.setVisible(false);
        };
        start.onMouseDown = [this](Control& c, const MouseArgs&) {
            ImgStartKsD.move(c.left(), c.top());
            ImgStartKsD.setVisible(true);
            ImgStartKsM.setVisible(false);
        };
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
        Control& enter = addElement(Kind::Label, "LblJinRuXX", u, &PicTiKu);
        transparentLabel(enter);
        handPointer(enter);
        enter.onClick = [this](Control& c) {
            if (windows().startUnit) windows().startUnit(c.index());
        };
        enter.onMouseMove = [this](Control& c, const MouseArgs&) {
            ImgJinRuXXM.move(c.left(), c.top());
            ImgJinRuXXM.setVisible(true);
            ImgJinRuXXD.setVisible(false);
        };
        enter.onMouseDown = [this](Control& c, const MouseArgs&) {
            ImgJinRuXXD.move(c.left(), c.top());
            ImgJinRuXXD.setVisible(true);
            ImgJinRuXXM.setVisible(false);
        };
        Control& wrong = addElement(Kind::Label, "LblUWrong", u, &PicTiKu);
        handPointer(wrong);
        wrong.onClick = [this](Control& c) {
            if (windows().reviewUnitWrong) windows().reviewUnitWrong(c.index());
        };
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
    restack({&ImgSaveXiao});
    for (int i = 1; i <= FlaggedPageSize; ++i) restack({&LblXiaoSave[i]});
    restack({&LineSaveVS[0], &LineSaveVS[1]});

    // Events of the window and its panels.
    onMouseDown = [this](const MouseArgs& a) { Form_MouseDown(a); };
    onMouseMove = [this](const MouseArgs&) { Form_MouseMove(); };
    LblCaption.onMouseDown = [this](Control&, const MouseArgs& a) { LblCaption_MouseDown(a); };
    LblClose.onMouseMove = [this](Control&, const MouseArgs&) { ImgClose.setVisible(true); };
    LblClose.onClick = [this](Control&) { LblClose_Click(); };
    LblTiKu.onMouseMove = [this](Control&, const MouseArgs&) {
        ImgTiKu.setVisible(false);
        ImgTiKu1.setVisible(true);
        ImgTiKu2.setVisible(false);
        ImgKaCH.setVisible(true);
        ImgKaCH1.setVisible(false);
        ImgKaCH2.setVisible(false);
    };
    LblTiKu.onMouseDown = [this](Control&, const MouseArgs&) {
        ImgTiKu.setVisible(false);
        ImgTiKu1.setVisible(false);
        ImgTiKu2.setVisible(true);
        ImgKaCH.setVisible(true);
        ImgKaCH1.setVisible(false);
        ImgKaCH2.setVisible(false);
    };
    LblKaCH.onMouseMove = [this](Control&, const MouseArgs&) {
        ImgTiKu.setVisible(true);
        ImgTiKu1.setVisible(false);
        ImgTiKu2.setVisible(false);
        ImgKaCH.setVisible(false);
        ImgKaCH1.setVisible(true);
        ImgKaCH2.setVisible(false);
    };
    LblKaCH.onMouseDown = [this](Control&, const MouseArgs&) {
        ImgTiKu.setVisible(true);
        ImgTiKu1.setVisible(false);
        ImgTiKu2.setVisible(false);
        ImgKaCH.setVisible(false);
        ImgKaCH1.setVisible(false);
        ImgKaCH2.setVisible(true);
    };
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

void FrmFengmian::Form_Load() {
    ModuleConfig& cfg = config();
    SessionState& s = core::session();

    // 1. Scale factors.
    resumeNext([&] {
        const ScreenInfo scr = platform().screen();
        cfg.ScaleX = scr.twipsPerPixelX / 15.0;
        cfg.ScaleY = scr.twipsPerPixelY / 15.0;
    });

    // 2. Close button and window size (centred on the screen).
    resumeNext([&] {
        ImgClose.move(X(11250), 0);
        ImgClose.setVisible(false);
        LblClose.move(ImgClose.left(), ImgClose.top(), ImgClose.width(), ImgClose.height());
        const ScreenInfo scr = platform().screen();
        const double w = X(12000), h = Y(9000);
        move((scr.widthTwips - w) / 2, (scr.heightTwips - h) / 2, w, h);
    });

    // 3. Skins.
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

    // 4, 5. Bank version and input-method option.
    QString bankVersion;
    resumeNext([&] { bankVersion = trimSpaces(readFirstLine(cfg.dataFile("288895")).value_or(QString())); });
    resumeNext([&] {
        auto line = readFirstLine(cfg.recordFile("288890"));
        s.ImeSimEnabled = line && leadingNumber(*line) != 0 ? -1 : 0;
    });

    // 6. Captions.
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

    // 7. Tab faces, panel rectangle, panels hidden.
    resumeNext([&] {
        ImgTiKu.setVisible(true);
        ImgKaCH.setVisible(true);
        for (Control* c : {&ImgTiKu1, &ImgTiKu2, &ImgKaCH1, &ImgKaCH2}) c->setVisible(false);
        PicTiKu.move(X(15), Y(420), X(11970), Y(8175));
        for (Control* c : {&PicReg, &PicKaCH, &PicBiaoZhi, &PicPro})
            c->move(PicTiKu.left(), PicTiKu.top(), PicTiKu.width(), PicTiKu.height());
        hideAllPanels();
    });

    // 8. Launcher grid, title, tab squares.
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

    // 9. Command buttons on one line.
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

    // 10. Links, info menu, update option, information arrows; the updater
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

    // 11. Unit panel rows.
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

    // 12. Paper panel rows.
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

    // 13, 14. Paper and unit counts; rows beyond them hidden.
    std::optional<QStringList> catalogue;
    resumeNext([&] { catalogue = readLines(session::paperCatalogFile()); });
    resumeNext([&] {
        const QString line1 = catalogue && !catalogue->isEmpty() ? trimSpaces(catalogue->at(0)) : QString();
        PaperCount = val16(mid(line1, 1, 2));
        UnitCount = val16(mid(line1, 3, 2));
        core::session().PaperCount = PaperCount;
        core::session().UnitCount = UnitCount;
    });
    resumeNext([&] {
        for (int k = std::max<int>(PaperCount, 0); k < kPaperRows; ++k)
            for (ControlArray* a : {&ImgShiJuan, &LblShiJuanNo, &LblKSInFo, &LblStartKs, &LblErr}) (*a)[k].setVisible(false);
    });

    // 15. Last exam time and best score.
    resumeNext([&] {
        const QStringList score = session::readScoreHistory();  // 45 lines
        for (int k = 0; k < PaperCount && k < kPaperRows; ++k) {
            const QString t = 3 * k < score.size() ? score[3 * k] : QString();
            const QString best = 3 * k + 1 < score.size() ? score[3 * k + 1] : QString();
            setCaptionFit(LblKSInFo[k], QStringLiteral("最后考试时间 ") + t + QStringLiteral("  最好成绩 ") + best);
        }
    });

    // 16. Unit rows beyond the count hidden.
    resumeNext([&] {
        for (int u = std::max<int>(UnitCount, 0); u < kUnitRows; ++u)
            for (ControlArray* a : {&ImgUnit, &LblUnitNo, &LblUnintSL, &LblUnitWei, &LblJinRuXX, &LblUWrong})
                (*a)[u].setVisible(false);
    });

    // 17. Question count of each unit from catalogue line 2.
    std::array<int16_t, 26> counts{};
    const bool haveCounts = catalogue && catalogue->size() >= 2;
    if (haveCounts) {
        const QString line2 = catalogue->at(1);
        for (int c = 1; c <= line2.size(); c += 2) {
            const int unit = (c - 1) / 2;
            if (unit > 25) break;
            counts[unit] = val16(mid(line2, c, 2));
        }
    }

    // 18. Unit progress normalised to the counts and rewritten; a catalogue
    // that cannot be read never wipes the candidate's progress.
    QStringList progress = session::readUnitProgress();  // 26 lines
    if (haveCounts) {
        progress = normalizedProgress(progress, counts);
        resumeNext([&] { session::writeUnitProgress(progress, 25); });
    }

    // 19. Unit captions.
    resumeNext([&] {
        for (int u = 0; u < UnitCount && u < kUnitRows; ++u) {
            const QString line = u < progress.size() ? progress[u] : QString();
            setCaptionFit(LblUnintSL[u], QString::number(trimSpaces(line).size()));
            setCaptionFit(LblUnitWei[u], QString::number(line.count(u'F')));
        }
    });

    // 20. Update option.
    resumeNext([&] {
        const QString opt = readFirstLine(cfg.programFile("updata.txt")).value_or(QString());
        Check1.setValue(trimSpaces(opt) == "1" ? 1 : 0);
    });

    // 21, 22. Flagged panel, sibling modules.
    resumeNext([&] { LayoutSaveList(); });
    resumeNext([&] { kmSetupYN(); });
}

void FrmFengmian::kmSetupYN() {
    // The launcher's detection belongs to the information pages.
}

// ------------------------------------------------------------- flagged panel

void FrmFengmian::LayoutSaveList() {
    ModuleConfig& cfg = config();
    // 1. Counts from the catalogue; without it the panel is not laid out.
    auto line1 = readFirstLine(session::paperCatalogFile());
    if (!line1) throw RuntimeError(ErrFileNotFound, "File not found: " + session::paperCatalogFile());
    const QString t = trimSpaces(*line1);
    PaperCount = val16(mid(t, 1, 2));
    UnitCount = val16(mid(t, 3, 2));
    core::session().PaperCount = PaperCount;
    core::session().UnitCount = UnitCount;

    // 2. Row height.
    const double H = std::lrint(360 * cfg.ScaleY);

    // 3-5. Caption line, header strip, row area.
    Control& cap0 = LblSaveCAP[0];
    cap0.move(X(360), Y(60));
    cap0.setWidth(width() - 2 * cap0.left());
    cap0.setHeight(Y(555));
    cap0.setFontSize(10 * cfg.ScaleX);
    ImgSaveBiao.move(X(15), Y(660));
    PicSave.move(ImgSaveBiao.left(), ImgSaveBiao.top() + ImgSaveBiao.height() + Y(15), width() - X(60), Y(6450));

    // 6, 7. Rows.
    LblSCmd[0].move(LblSCmd[0].left(), 0, LblSCmd[0].width(), 0);
    LblSCmd[0].setVisible(false);
    for (int i = 1; i <= FlaggedPageSize; ++i) {
        Control& row = LblSCmd[i];
        row.move(0, (i - 1) * H, PicSave.width(), H);
        row.setCaption(QString());
        row.setBackStyle(1);
        row.setBackColor(i % 2 == 0 ? 0xECECEC : 0xFFFFFF);
        Control& cap = LblXiaoSave[i];
        cap.setFontSize(12 * cfg.ScaleX);
        cap.setForeColor(0);
        cap.fitToCaption();
        cap.move(X(300), row.top() - (cap.height() - H) / 2);
    }

    // 8, 9. Frame and selection bar (out of sight).
    FramSave.move(0, 0, PicSave.width(), FramSave.height());
    ImgSaveXiao.move(0, -900 * cfg.ScaleX, FramSave.width(), H);

    // 10. Notice of the empty list, centred in the row area.
    Control& cap1 = LblSaveCAP[1];
    cap1.setTop(Y(1800));
    cap1.setFontSize(12 * cfg.ScaleX);
    cap1.fitToCaption();
    cap1.setLeft((PicSave.width() - cap1.width()) / 2);

    // 11. Rules and column separators.
    LineSaveBottom[1].setBorderColor(0xFFFFFF);
    placeFlaggedRules();
    LineSaveVS[0].setLine(X(630), 0, X(630), FramSave.height());
    LineSaveVS[1].setLine(X(1665), 0, X(1665), FramSave.height());

    // 12. First page.
    layoutDone_ = true;
    FlaggedPage = 1;
    InitSave(FlaggedPage);
}

void FrmFengmian::placeFlaggedRules() {
    const double x1 = PicSave.left(), x2 = PicSave.left() + PicSave.width();
    const double y0 = PicSave.top() + PicSave.height() + Y(30);
    LineSaveBottom[0].setLine(x1, y0, x2, y0);
    LineSaveBottom[1].setLine(x1, y0 - Y(15), x2, y0 - Y(15));
}

void FrmFengmian::InitSave(int16_t& ns) {
    // Nothing is filled on a panel that could not be laid out.
    if (!layoutDone_) return;
    SessionState& s = core::session();

    // 1, 2. The list; empty: the empty state.
    const QString codes = session::readFlaggedList();
    if (codes.isEmpty()) {
        FlaggedRow = -1;
        LblSaveCAP[1].setVisible(true);
        FramSave.setHeight(0);
        PicSave.setHeight(0);
        LblSaveCAP[0].setCaption(tr8(kNoFlagged));
        placeFlaggedRules();
        return;
    }
    LblSaveCAP[1].setVisible(false);
    FlaggedRow = 1;

    // 4, 5. The page, lowered to the last one.
    const int perPage = FlaggedPageSize * 4;
    const int len = static_cast<int>(codes.size());
    const int pages = len % perPage == 0 ? len / perPage : len / perPage + 1;
    if (ns > pages) ns = static_cast<int16_t>(pages);
    if (ns < 1) ns = 1;
    const QString page = mid(codes, (ns - 1) * perPage + 1, perPage);
    FlaggedPage = ns;

    // 6, 7. Session files of the page and the row titles from them; a page
    // whose questions cannot be read shows no titles.
    for (QString& t : FlaggedTitles) t.clear();
    FlaggedPageReady = session::InitShiTi(page, session::ReviewSlot);
    if (FlaggedPageReady) {
        const QStringList lines = readLines(session::questionListFile(session::ReviewSlot)).value_or(QStringList());
        for (int n = 1; n <= lines.size() && n <= 40; ++n) {
            QString text = mid(lines[n - 1], 7);
            if (text.startsWith(QStringLiteral("picture"))) text = mid(text, 14);
            FlaggedTitles[n] = text;
        }
    }

    // 8-10. Rows.
    s.QuestionCount = static_cast<int16_t>(page.size() / 4);
    const int count = std::min<int>(s.QuestionCount, FlaggedPageSize);
    for (int i = 1; i <= count; ++i) {
        LblSCmd[i].setVisible(true);
        Control& cap = LblXiaoSave[i];
        cap.setVisible(true);
        const QString unit = right("0" + QString::number(val16(mid(page, 4 * i - 3, 2)) + 1), 2);
        setCaptionFit(cap, right(" " + QString::number(i), 2) + "   " + unit + mid(page, 4 * i - 1, 2) + "    " +
                               subLen(FlaggedTitles[i], 82));
    }
    for (int i = count + 1; i <= FlaggedPageSize; ++i) {
        LblSCmd[i].setVisible(false);
        LblXiaoSave[i].setVisible(false);
    }
    const Control& last = LblSCmd[count];
    FramSave.setHeight(last.top() + last.height());
    PicSave.setHeight(FramSave.height());

    // 11. Rules under the rows, separators over them.
    placeFlaggedRules();
    LineSaveVS[0].setLine(LineSaveVS[0].x1(), 0, LineSaveVS[0].x1(), FramSave.height());
    LineSaveVS[1].setLine(LineSaveVS[1].x1(), 0, LineSaveVS[1].x1(), FramSave.height());

    // 12. Row 1 selected.
    LblSCmd_Click(FlaggedRow);
}

void FrmFengmian::LblSCmd_Click(int index) {
    FlaggedRow = static_cast<int16_t>(index);
    ImgSaveXiao.setTop(LblSCmd[index].top());
    LblSaveCAP[0].setCaption(FlaggedTitles.at(index));
}

// ---------------------------------------------------------- command buttons

void FrmFengmian::hideAllPanels() {
    for (Control* c : {&PicTiKu, &PicReg, &PicKaCH, &PicBiaoZhi, &PicPro}) c->setVisible(false);
}

void FrmFengmian::CmdReg_Click(int index) {
    SessionState& s = core::session();
    switch (index) {
    case 2:
        for (Control* c : {&PicTiKu, &PicKaCH, &PicBiaoZhi, &PicPro}) c->setVisible(false);
        PicReg.setVisible(true);
        break;
    case 3: {
        const QString updater = config().programFile("updata.exe");
        if (!QFileInfo::exists(updater))
            MsgBox(tr8(kUpdaterMissing), MbOkOnly | MbExclamation);
        else if (!platform().startDetached(updater))
            MsgBox(tr8(kUpdaterNotStarted), MbOkOnly | MbExclamation);
        break;
    }
    case 4:
        if (FlaggedRow == -1) return;
        FlaggedPage = static_cast<int16_t>(FlaggedPage - 1);
        if (FlaggedPage <= 0) {
            FlaggedPage = 1;
            return;
        }
        InitSave(FlaggedPage);
        break;
    case 5:
        if (FlaggedRow == -1) return;
        if (FlaggedPage < INT16_MAX) FlaggedPage = static_cast<int16_t>(FlaggedPage + 1);
        InitSave(FlaggedPage);
        break;
    case 6: {
        if (FlaggedRow == -1) return;
        const QString codes = session::readFlaggedList();
        const int k = (FlaggedPage - 1) * FlaggedPageSize + FlaggedRow;
        const QString rest = core::left(codes, (k - 1) * 4) + mid(codes, k * 4 + 1);
        if (!session::writeFlaggedList(rest)) {
            MsgBox(tr8(kFlaggedNotSaved), MbOkOnly | MbExclamation);
            return;
        }
        InitSave(FlaggedPage);
        break;
    }
    case 7: {
        if (FlaggedRow == -1) return;
        if (MsgBox(tr8(kRemoveAllQuestion), MbYesNo | MbQuestion, tr8(kRemoveAllTitle)) != MrYes) return;
        if (!session::writeFlaggedList(QString())) {
            MsgBox(tr8(kFlaggedNotSaved), MbOkOnly | MbExclamation);
            return;
        }
        int16_t first = 1;
        InitSave(first);
        break;
    }
    case 8: {
        if (FlaggedRow == -1) return;
        if (!FlaggedPageReady || s.QuestionCount < 1) {
            MsgBox(tr8(kPageUnreadable), MbOkOnly | MbExclamation);
            return;
        }
        s.RunMode = RunPractice;
        s.CurrentQuestion = FlaggedRow;
        s.ListKind = ListFlagged;
        s.SetNo = 10;
        for (int i = 1; i <= s.QuestionCount && i <= SessionState::MaxQuestions; ++i) {
            s.QuestionState[i] = 0;
            s.QuestionResult[i] = QStringLiteral("F");
        }
        // The session start unloads the cover: nothing of it is used after.
        if (windows().startLianXi) windows().startLianXi();
        return;
    }
    case 9:
    case 11:
    case 13:
    case 15:
        hideAllPanels();
        break;
    case 10:
    case 12:
        FlaggedPage = 1;
        InitSave(FlaggedPage);
        for (Control* c : {&PicTiKu, &PicReg, &PicKaCH, &PicPro}) c->setVisible(false);
        PicBiaoZhi.setVisible(true);
        break;
    default:
        break;
    }
}

// ------------------------------------------------------ frame, faces, tabs

void FrmFengmian::Form_MouseDown(const MouseArgs& a) {
    if (a.button != LeftButton) return;
    if (windows().startWindowMove) windows().startWindowMove(*this, {});
}

void FrmFengmian::LblCaption_MouseDown(const MouseArgs& a) { Form_MouseDown(a); }

void FrmFengmian::Form_MouseMove() {
    ImgTiKu.setVisible(true);
    ImgKaCH.setVisible(true);
    for (Control* c : {&ImgTiKu1, &ImgTiKu2, &ImgKaCH1, &ImgKaCH2, &ImgClose}) c->setVisible(false);
    MouseMove();
}

void FrmFengmian::LblClose_Click() {
    if (PicPro.visible()) {
        PicPro.setVisible(false);
        return;
    }
    const int answer = MsgBox(tr8(kQuitQuestion), MbYesNo | MbQuestion | MbDefaultButton2, tr8(kQuitTitle));
    if (answer == MrYes) {
        // Ends the program; nothing of the cover is touched after this.
        if (windows().exitProgram) windows().exitProgram(0);
        return;
    }
    ImgClose.setVisible(false);
}

void FrmFengmian::setFace(int index, const QString& kind) {
    const QString path = joinPath(config().DataDir, kind + session::twoDigits(index) + ".rar");
    if (auto p = pictureStore().load(path)) imgReg[index].setPicture(*p);
}

void FrmFengmian::CmdReg_MouseMove(int index) {
    if (HoverButton == index) return;
    if (HoverButton < 0) HoverButton = 0;
    setFace(HoverButton, QStringLiteral("l020"));
    HoverButton = static_cast<int16_t>(index);
    setFace(index, QStringLiteral("l021"));
}

void FrmFengmian::CmdReg_MouseDown(int index) {
    if (HoverButton < 0) HoverButton = 0;
    setFace(HoverButton, QStringLiteral("l020"));
    HoverButton = static_cast<int16_t>(index);
    setFace(index, QStringLiteral("l022"));
}

void FrmFengmian::MouseMove() {
    for (int i = 0; i <= 4; ++i) {
        LblPro[i].setForeColor(kPlainInfoColour);
        LblPro[i].setFontUnderline(false);
    }
    for (int i = 1; i <= 15; ++i) setFace(i, QStringLiteral("l020"));
    HoverButton = -1;
}

void FrmFengmian::Check1_Click() {
    // An option that cannot be written is simply not kept.
    writeLines(config().programFile("updata.txt"), {Check1.value() == 1 ? "1" : "0"});
}

// ------------------------------------------------------------------ access

core::FormSlot<FrmFengmian>& frmFengmian() {
    static core::FormSlot<FrmFengmian> slot;
    return slot;
}

void registerCover() {
    core::windows().showCover = [] { frmFengmian()().show(); };
}

} // namespace cover
