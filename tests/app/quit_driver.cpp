// Linked into a copy of the program: once the application object exists,
// acts as a user who closes the cover and answers Yes to its question.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "core/forms.h"
#include "cover/frm_fengmian.h"
#include "support/window_click.h"
#include "view/form_window.h"
#include "view/view_host.h"

namespace {

using testsupport::clickThroughWindow;

void drive() {
    auto* timer = new QTimer(qApp);
    auto clicked = std::make_shared<bool>(false);
    QObject::connect(timer, &QTimer::timeout, [clicked] {
        // The question: answer Yes.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                if (QAbstractButton* yes = box->button(QMessageBox::Yes)) {
                    yes->click();
                    return;
                }
        // The cover on screen: its close button.
        auto& cover = cover::frmFengmian();
        if (*clicked || !cover.loaded() || !cover.peek()->visible()) return;
        view::ViewHost* host = view::ViewHost::instance();
        if (!host || !host->windowOf(*cover.peek())) return;
        *clicked = true;
        // Outside this tick: the question's own loop must see the ticks
        // that answer it.
        QMetaObject::invokeMethod(
            qApp, [] { if (cover::frmFengmian().loaded()) clickThroughWindow(cover::frmFengmian().peek()->LblClose); },
            Qt::QueuedConnection);
    });
    timer->start(50);
}

const bool registered = [] {
    qAddPreRoutine(drive);
    return true;
}();

} // namespace
