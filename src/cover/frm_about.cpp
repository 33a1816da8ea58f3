#include "cover/frm_about.h"

#include <QImage>
#include <QPainter>

#include "core/hand_cursor.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "cover/frm_fengmian.h"

namespace cover {

using namespace core;

const char* const kAboutCredit = "Tesmar 软件工作室 出品";
const char* const kAboutNotice =
    "本软件供考生练习和模拟考试使用，题目内容与正式考试无关。未经许可，不得复制、传播本软件或将其用于商业用途。";

QString versionLine(int major, int minor, int revision) {
    return QStringLiteral("软件版本: V%1.%2.%3").arg(major).arg(minor).arg(revision);
}

namespace {

Picture aboutIcon() {
    static const Picture pic = [] {
        QImage img(32, 32, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0x2F, 0x6F, 0xB5));
        p.setPen(QPen(QColor(0x1E, 0x4F, 0x8A), 1));
        p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
        // A page with lines of text.
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(9, 6, 14, 20));
        p.setPen(QPen(QColor(0x5B, 0x94, 0xD3), 1.5));
        for (int y : {11, 15, 19, 23}) p.drawLine(QPointF(11, y), QPointF(21, y));
        p.end();
        return Picture(img);
    }();
    return pic;
}

} // namespace

FrmAbout::FrmAbout()
    : Form("FrmAbout"),
      Image1(add(Kind::Image, "Image1")),
      Command1(add(Kind::CommandButton, "Command1")) {
    setBorderStyle(3);
    setShowInTaskbar(false);
    // Client area 6780 x 4365.
    setWidth(6780 + (width() - scaleWidth()));
    setHeight(4365 + (height() - scaleHeight()));
    Image1.move(120, 120, 480, 480);
    Image1.setPicture(aboutIcon());

    // Labels: the title pair (white copy behind), version, folder, credit
    // and notice.
    for (int i : {2, 1, 0, 3, 6, 4}) {
        Control& l = addElement(Kind::Label, "Label1", i);
        l.setBackStyle(0);
    }
    for (int i : {1, 2}) {
        Label1(i).setFontName(QStringLiteral("宋体"));
        Label1(i).setFontBold(true);
        Label1(i).setFontSize(12);
        Label1(i).setAutoSize(true);
    }
    Label1(1).setForeColor(0x800000);
    Label1(2).setForeColor(0xFFFFFF);
    Label1(1).move(735, 135);
    Label1(2).move(720, 120);
    Label1(0).move(480, 1320);
    Label1(0).setAutoSize(true);
    Label1(3).move(480, 1560, 5580, 180);
    Label1(3).setMousePointer(PtrCustom);
    Label1(3).setMouseIcon(handCursorFile());
    Label1(6).move(480, 2070);
    Label1(6).setAutoSize(true);
    Label1(6).setCaption(QString::fromUtf8(kAboutCredit));
    Label1(4).move(480, 3600, 4890, 660);
    Label1(4).setCaption(QString::fromUtf8(kAboutNotice));

    // Etched separators: a grey line with a white one 15 twips below.
    const double ys[] = {1905, 2385, 3480};
    for (int k = 0; k < 3; ++k) {
        Control& grey = addElement(Kind::Line, "Line1", 2 * k);
        grey.setLine(360, ys[k], 6300, ys[k]);
        grey.setBorderColor(0x808080);
        Control& white = addElement(Kind::Line, "Line1", 2 * k + 1);
        white.setLine(360, ys[k] + 15, 6300, ys[k] + 15);
        white.setBorderColor(0xFFFFFF);
    }

    Command1.move(5520, 3720, 1005, 360);
    Command1.setCaption(QStringLiteral("确定"));

    onLoad = [this] { Form_Load(); };
    onClick = [this] { unload(); };
    Command1.onClick = [this](Control&) { unload(); };
    Label1(3).onClick = [this](Control&) { openFolderAndMakeShortcut(); };
}

void FrmAbout::Form_Load() {
    const ModuleConfig& cfg = config();
    // Centred on the screen.
    const ScreenInfo scr = platform().screen();
    move((scr.widthTwips - width()) / 2, (scr.heightTwips - height()) / 2);
    setCaption(cfg.AppTitle);
    Label1(1).move(735 * cfg.ScaleX, 135 * cfg.ScaleY);
    Label1(2).move(720 * cfg.ScaleX, 120 * cfg.ScaleY);
    Label1(1).setCaption(cfg.AppTitle + "\r\n\r\n── " + cfg.ModuleTitle);
    Label1(1).fitToCaption();
    Label1(2).setCaption(Label1(1).caption());
    Label1(2).fitToCaption();
    Label1(0).setCaption(versionLine(kVersionMajor, kVersionMinor, kVersionRevision));
    Label1(0).fitToCaption();
    // The folder line keeps its width; the whole path is in its tooltip.
    Label1(3).setCaption(QStringLiteral("系统工作目录: ") + cfg.ProgramDir);
    Label1(3).setToolTipText(cfg.ProgramDir);
    Label1(6).fitToCaption();
}

void FrmAbout::openFolderAndMakeShortcut() {
    // Each step on its own; nothing is reported.
    const ModuleConfig& cfg = config();
    resumeNext([&] { platform().openFolder(cfg.ProgramDir); });
    resumeNext([&] {
        // A folder run through EXAMSIM_HOME: the executable where it lies,
        // started on this folder.
        const QString exe = platform().exePath();
        const QStringList env = moduleEnvironment(cfg.ProgramDir, exe);
        const QString target = env.isEmpty() ? joinPath(cfg.ProgramDir, cfg.ExeName) : exe;
        platform().createDesktopShortcut(cfg.shortcutName(), target, cfg.ProgramDir, env);
    });
}

core::FormSlot<FrmAbout>& frmAbout() {
    static core::FormSlot<FrmAbout> slot;
    return slot;
}

void showAbout() {
    FrmAbout& box = frmAbout()();
    box.show(true);
    if (frmAbout().peek() == &box) box.unload();
}

} // namespace cover
