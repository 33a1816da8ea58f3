// Without a window manager the input-method help, opened modally from the
// question window during practice, still closes: by the close box of the
// title bar that the view draws, as the desktop's close would.
#include <QCoreApplication>
#include <QMouseEvent>
#include <memory>

#include "e2e/module_fixture.h"
#include "engine/frm_main.h"
#include "session/frm_ime.h"
#include "session/frm_tm.h"
#include "view/form_window.h"
#include "view/view_host.h"
#include "view/window_frame.h"

namespace {

void sendMouse(QWidget* w, QEvent::Type t, QPoint local, Qt::MouseButton b, Qt::MouseButtons held) {
    QMouseEvent e(t, QPointF(local), QPointF(w->mapToGlobal(local)), b, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

class DrawnTitleBar : public e2e::ModuleFixture {
protected:
    void SetUp() override {
        view::assumeNoWindowManager(true);
        ModuleFixture::SetUp();
        if (HasFatalFailure()) return;
        nothingSolved();
        host_ = std::make_unique<view::ViewHost>();
    }
    void TearDown() override {
        host_.reset();
        ModuleFixture::TearDown();
        view::assumeNoWindowManager(false);
    }
    std::unique_ptr<view::ViewHost> host_;
};

} // namespace

TEST_F(DrawnTitleBar, TheHelpsCloseBoxClosesItAndBringsTheQuestionWindowBack) {
    ASSERT_TRUE(openQuestion(0, 1, 600));
    testsupport::Driver& d = driver();
    session::FrmTm& tm = session::frmTm()();
    engine::FrmMain& pw = engine::frmMain()();

    bool clicked = false;
    d.ui.expectModal("FrmIME", [&](core::Form& f) {
        host_->sync(true);
        view::FormWindow* w = host_->windowOf(f);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(tm.FrmZXH.visible()) << "the question window is not its bar while the help is open";
        // 12000 x 8745 twips outer, the page inside the frame.
        EXPECT_EQ(w->size(), QSize(800, 583));
        const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage page = f.picture().image().convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(page.isNull());
        const QPoint at = w->clientOrigin();
        // The page's corners above the help's controls: nothing cut off.
        for (QPoint p : {QPoint(0, 0), QPoint(791, 0), QPoint(0, 480), QPoint(791, 480), QPoint(400, 240)})
            EXPECT_EQ(shot.pixel(at + p), page.pixel(p)) << p.x() << "," << p.y();

        const QPoint box = w->closeBox().center();
        sendMouse(w, QEvent::MouseButtonPress, box, Qt::LeftButton, Qt::LeftButton);
        sendMouse(w, QEvent::MouseButtonRelease, box, Qt::LeftButton, Qt::NoButton);
        clicked = true;
        EXPECT_FALSE(session::frmIme().loaded()) << "the close box did not close the help";
    });
    d.click(tm.CmdEn);
    ASSERT_TRUE(clicked);
    EXPECT_FALSE(session::frmIme().loaded());

    // Back at full size, docked at the practice window's bottom-right corner.
    EXPECT_FALSE(tm.FrmZXH.visible());
    EXPECT_DOUBLE_EQ(tm.width(), 4980);
    EXPECT_DOUBLE_EQ(tm.height(), 3630);
    EXPECT_DOUBLE_EQ(tm.left(), pw.left() + pw.width() - 4980);
    EXPECT_DOUBLE_EQ(tm.top(), pw.top() + pw.height() - 3630);
    EXPECT_TRUE(pw.visible());
    host_->sync();
    EXPECT_TRUE(host_->windowOf(tm) && host_->windowOf(tm)->isVisible());
}
