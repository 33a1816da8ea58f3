// Linked into a copy of the program: once the application object exists,
// acts as a user who closes the cover and answers Yes to its question.
#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "core/forms.h"
#include "cover/frm_fengmian.h"
#include "view/form_window.h"
#include "view/view_host.h"

namespace {

// Presses and releases the left button over a control, through its window.
void clickThroughWindow(core::Control& c) {
    view::ViewHost* host = view::ViewHost::instance();
    QWidget* w = host ? host->windowOf(*c.form()) : nullptr;
    if (!w) return;
    const QPointF at((c.formX() + c.width() / 2) / 15, (c.formY() + c.height() / 2) / 15);
    const QPointF global = w->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

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
