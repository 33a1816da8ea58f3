// Every caption of the program's own windows fits the box the window gives
// it, in the fonts this machine has; and every message box shows its whole
// text.
#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLabel>
#include <QScreen>
#include <memory>

#include "cover/frm_fengmian.h"
#include "e2e/module_fixture.h"
#include "session/end_practice.h"
#include "session/frm_chengji.h"
#include "session/frm_end.h"
#include "session/frm_ime.h"
#include "session/frm_logon.h"
#include "session/frm_start.h"
#include "session/frm_tm.h"
#include "session/session_start.h"
#include "view/form_window.h"
#include "view/qt_ui.h"
#include "view/view_host.h"

namespace {

using core::Control;
using core::Form;
using core::Kind;

// The text's extent lies within the box, give or take half a pixel (a
// glyph's overhang that the clip takes is not seen).
bool fitsIn(const QFont& f, const QString& text, const QRect& box, int flags) {
    const QRectF need = QFontMetricsF(f).boundingRect(QRectF(box), flags, text);
    return need.width() <= box.width() + 0.5 && need.height() <= box.height() + 0.5;
}

// Run with the closer stand-ins the machine has (true) and as on a machine
// without them (false), where captions that do not fit are drawn smaller.
class CaptionFit : public e2e::ModuleFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        // Where the closer face is missing, this run would only repeat the
        // other one: a pass must mean the closer face was chosen.
        if (GetParam() && !QFontDatabase::hasFamily(QStringLiteral("AR PL UMing CN")))
            GTEST_SKIP() << "the closer face \"AR PL UMing CN\" is not installed (Debian: fonts-arphic-uming)";
        view::useCloserStandIns(GetParam());
        ModuleFixture::SetUp();
        host_ = std::make_unique<view::ViewHost>();
    }
    void TearDown() override {
        host_.reset();
        ModuleFixture::TearDown();
        view::useCloserStandIns(true);
    }

    // Checks every shown caption of the form; `where` names the window or page.
    void check(Form& f, const QString& where) {
        host_->sync(true);
        checkIn(f, f.name() + " " + where);
        ++windowsChecked;
    }

    void checkIn(const core::Container& cont, const QString& where) {
        for (Control* c : cont.children()) {
            if (!c->shown()) continue;
            const Kind k = c->kind();
            const bool captioned = k == Kind::Label || k == Kind::CommandButton || k == Kind::CheckBox || k == Kind::Frame;
            if (captioned && !c->caption().trimmed().isEmpty()) checkCaption(*c, where);
            if (core::isContainer(k)) checkIn(*c, where);
        }
    }

    void checkCaption(const Control& c, const QString& where) {
        const view::CaptionLayout cap = view::captionLayout(c);
        // A windowed control draws in its widget's font.
        QFont font = cap.font;
        if (!core::isWindowless(c.kind())) {
            QWidget* w = host_->widgetOf(c);
            ASSERT_NE(w, nullptr) << where.toStdString() << " " << c.name().toStdString();
            font = w->font();
        }
        const QString id = QStringLiteral("%1 %2(%3) \"%4\"").arg(where, c.name()).arg(c.index()).arg(c.caption());
        EXPECT_TRUE(QRect(0, 0, view::pxX(c.width()), view::pxY(c.height())).contains(cap.rect) || cap.rect.isEmpty())
            << id.toStdString();
        EXPECT_TRUE(fitsIn(font, c.caption(), cap.rect, cap.flags))
            << id.toStdString() << " does not fit " << cap.rect.width() << "x" << cap.rect.height() << " in "
            << font.family().toStdString() << " " << font.pointSizeF() << " pt";
        // What fits in the control's own font keeps it.
        const QFont own = view::controlFont(c);
        if (fitsIn(own, c.caption(), cap.rect, cap.flags)) {
            EXPECT_EQ(font, own) << id.toStdString() << " fits, yet changed its font";
        }
        ++captionsChecked;
    }

    std::unique_ptr<view::ViewHost> host_;
    int windowsChecked = 0;
    int captionsChecked = 0;
};

} // namespace

TEST_P(CaptionFit, EveryCaptionOfEveryWindowFitsItsBox) {
    testsupport::Driver& d = driver();
    pf->clock = QDateTime(QDate(2024, 5, 6), QTime(14, 0, 0));
    session::frmStart()();
    d.advance(200);
    ASSERT_TRUE(cover::frmFengmian().loaded());
    cover::FrmFengmian& c = cover::frmFengmian()();
    check(c, "home");
    d.ui.expectModal("FrmAbout", [&](Form& f) {
        check(f, "");
        f.hide();
    });
    d.click(c.LblAbout);

    // The cover's pages.
    d.click(c.LblTiKu);
    check(c, "units");
    d.click(c.CmdReg[2]);
    check(c, "update option");
    d.click(c.CmdReg[10]);
    check(c, "flagged questions");
    for (int i = 1; i <= 4; ++i) {
        d.click(c.LblPro[i]);
        check(c, QStringLiteral("information %1").arg(i));
    }
    // Past the last information page the panel closes.
    d.ui.expectMsgBox(QString::fromUtf8(cover::kLastPage), core::MrOk);
    d.click(c.LblNext);
    d.click(c.LblKaCH);
    check(c, "papers");

    // Login, and the exam's windows.
    d.click(c.LblStartKs[0]);
    ASSERT_TRUE(session::frmLogon().loaded());
    d.advance(100);
    session::FrmLogon& l = session::frmLogon()();
    check(l, "");
    logOn();
    ASSERT_TRUE(session::frmTm().loaded());
    d.advance(600);
    session::FrmTm& tm = session::frmTm()();
    check(tm, "exam");

    d.ui.expectModal("FrmCZTS", [&](Form& f) {
        check(f, "");
        d.click(session::frmCZTS()().Command1);
    });
    d.click(tm.CmdGN(10));
    d.advance(100);

    d.ui.expectModal("FrmIME", [&](Form& f) {
        session::FrmIME& ime = session::frmIme()();
        for (int page = 0; page < 16; ++page) {
            check(f, QStringLiteral("page %1").arg(ime.HelpPage));
            d.click(ime.LblNext);
        }
        f.hide();
    });
    d.click(tm.CmdEn);
    d.advance(100);

    // The two confirmations, then the score window.
    d.ui.expectModal("FrmEnd1", [&](Form& f) {
        check(f, "");
        d.ui.expectModal("FrmEnd2", [&](Form& g) {
            check(g, "");
            d.click(session::frmEnd2()().Command1);
        });
        d.click(session::frmEnd1()().Command1);
    });
    d.click(tm.CmdGN(8));
    d.advance(200);
    ASSERT_TRUE(session::frmChengji().loaded());
    check(session::frmChengji()(), "");

    EXPECT_EQ(windowsChecked, 32);
    EXPECT_GT(captionsChecked, 150);
}

// The view-answer warning's text is the longest of them: its last line,
// cut in the sans stand-in, shows in full in a Ming stand-in where one is
// installed, else in the sans one drawn smaller.
TEST_P(CaptionFit, TheViewAnswerWarningTakesACloserFaceElseShrinks) {
    session::FrmCZTS& f = session::frmCZTS()();
    const Control& text = f.Label2;
    const QFont own = view::controlFont(text);
    const view::CaptionLayout cap = view::captionLayout(text);
    ASSERT_FALSE(fitsIn(own, text.caption(), cap.rect, cap.flags)) << "fits in the sans stand-in already";
    EXPECT_TRUE(fitsIn(cap.font, text.caption(), cap.rect, cap.flags));
    if (GetParam()) {
        EXPECT_EQ(cap.font.family(), "AR PL UMing CN");
        EXPECT_EQ(cap.font.pointSizeF(), 15);
    } else {
        EXPECT_EQ(cap.font.family(), own.family());
        EXPECT_LT(cap.font.pointSizeF(), 15);
        EXPECT_GE(cap.font.pointSizeF(), 12);
    }
    // The title above it fits as it is.
    EXPECT_EQ(view::captionLayout(f.Label3).font, view::controlFont(f.Label3));
}

INSTANTIATE_TEST_SUITE_P(Fonts, CaptionFit, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "InstalledFaces" : "WithoutCloserFaces"; });

// Every message box of the program shows its whole text on the screen.
TEST(MessageBoxText, EveryPromptShowsWhole) {
    const QString path = QStringLiteral("/opt/tesmar/an/installed/module/folder/with/a/long/name/module.exe");
    const std::vector<std::pair<QString, int>> prompts = {
        {session::kViewAnswerQuestion, core::MbYesNo},
        {session::kRecordsNotSaved, core::MbOkOnly | core::MbExclamation},
        {session::kFirstPage, core::MbOkOnly},
        {session::kAlreadyRunning, core::MbOkOnly | core::MbInformation},
        {session::kSettingsMissing, core::MbOkOnly | core::MbCritical},
        {session::kTimeUp, core::MbOkOnly},
        {session::kRemoveSolvedFlagged, core::MbYesNo | core::MbQuestion},
        {session::kSolvedFlaggedRemoved, core::MbOkOnly},
        {session::kDropSolvedWrong, core::MbYesNo | core::MbQuestion | core::MbDefaultButton2},
        {session::kQuitExam, core::MbYesNo | core::MbQuestion | core::MbDefaultButton2},
        {session::kSessionNotWritable, core::MbOkOnly | core::MbExclamation},
        {session::kRecordsUnreadable, core::MbOkOnly},
        {session::kBankUnreadable, core::MbOkOnly},
        {session::kNoWrongQuestions, core::MbOkOnly},
        {cover::kQuitQuestion, core::MbYesNo | core::MbQuestion | core::MbDefaultButton2},
        {cover::kRemoveAllQuestion, core::MbYesNo | core::MbQuestion},
        {cover::kUpdaterMissing, core::MbOkOnly | core::MbExclamation},
        {cover::kUpdaterNotStarted, core::MbOkOnly | core::MbExclamation},
        {cover::kFlaggedNotSaved, core::MbOkOnly | core::MbExclamation},
        {cover::kPageUnreadable, core::MbOkOnly | core::MbExclamation},
        {cover::kLastPage, core::MbOkOnly},
        {cover::kFirstInfoPage, core::MbOkOnly},
        {QString::fromUtf8(cover::kSiblingNotStarted) + path, core::MbOkOnly},
    };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const auto& [prompt, style] : prompts) {
        SCOPED_TRACE(prompt.toStdString());
        auto box = view::makeMessageBox(prompt, style, QStringLiteral("Tesmar"));
        box->setAttribute(Qt::WA_DontShowOnScreen);
        box->show();
        QCoreApplication::processEvents();
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        QString shown = prompt;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(label->text(), shown);
        // The label has the height its wrapped text needs, and lies in the box.
        const int need = label->hasHeightForWidth() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        EXPECT_GE(label->height(), need);
        EXPECT_TRUE(box->rect().contains(QRect(label->mapTo(box.get(), QPoint(0, 0)), label->size())));
        EXPECT_LE(box->width(), screen.width());
        EXPECT_LE(box->height(), screen.height());
        box->hide();
    }
}
