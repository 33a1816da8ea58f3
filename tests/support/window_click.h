#pragma once
// For programs that link the view: a left click on a control as its window
// receives it from the platform.
#include <QCoreApplication>
#include <QMouseEvent>

#include "core/forms.h"
#include "view/form_window.h"
#include "view/view_host.h"

namespace testsupport {

// Presses and releases the left button over the centre of a control,
// through its window (nothing when the form has no window).
inline void clickThroughWindow(core::Control& c) {
    view::ViewHost* host = view::ViewHost::instance();
    view::FormWindow* w = host && c.form() ? host->windowOf(*c.form()) : nullptr;
    if (!w) return;
    const QPointF at = QPointF((c.formX() + c.width() / 2) / 15, (c.formY() + c.height() / 2) / 15) +
                       QPointF(w->clientOrigin());
    const QPointF global = w->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

} // namespace testsupport
