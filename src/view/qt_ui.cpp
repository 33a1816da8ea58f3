#include "view/qt_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

#include "core/forms.h"
#include "view/form_window.h"
#include "view/view_host.h"

namespace view {

namespace {

// The mouse went to a dialog or a popup: no form keeps a capture.
void releaseCaptures() {
    for (core::Form* f : core::loadedForms()) f->releaseCapture();
}

QString buttonText(QMessageBox::StandardButton b) {
    switch (b) {
    case QMessageBox::Ok: return QStringLiteral("确定");
    case QMessageBox::Cancel: return QStringLiteral("取消");
    case QMessageBox::Abort: return QStringLiteral("中止(&A)");
    case QMessageBox::Retry: return QStringLiteral("重试(&R)");
    case QMessageBox::Ignore: return QStringLiteral("忽略(&I)");
    case QMessageBox::Yes: return QStringLiteral("是(&Y)");
    case QMessageBox::No: return QStringLiteral("否(&N)");
    default: return QString();
    }
}

} // namespace

void addPopupItems(QMenu& qm, const core::Menu& menu, std::map<QAction*, core::Menu*>& actions) {
    // Every visible "-" shows, also a leading one and two in a row.
    qm.setSeparatorsCollapsible(false);
    for (core::Menu* item : menu.items()) {
        if (!item->visible()) continue;
        if (item->isSeparator()) {
            qm.addSeparator();
            continue;
        }
        bool hasVisible = false;
        for (core::Menu* sub : item->items()) hasVisible = hasVisible || sub->visible();
        if (hasVisible) {
            QMenu* sub = qm.addMenu(item->caption());
            sub->setEnabled(item->enabled());
            addPopupItems(*sub, *item, actions);
            continue;
        }
        QAction* a = qm.addAction(item->caption());
        a->setEnabled(item->enabled());
        if (item->checked()) {
            a->setCheckable(true);
            a->setChecked(true);
        }
        actions[a] = item;
    }
}

int msgResult(QMessageBox::StandardButton b) {
    switch (b) {
    case QMessageBox::Ok: return core::MrOk;
    case QMessageBox::Cancel: return core::MrCancel;
    case QMessageBox::Abort: return core::MrAbort;
    case QMessageBox::Retry: return core::MrRetry;
    case QMessageBox::Ignore: return core::MrIgnore;
    case QMessageBox::Yes: return core::MrYes;
    case QMessageBox::No: return core::MrNo;
    default: return core::MrCancel;
    }
}

std::unique_ptr<QMessageBox> makeMessageBox(const QString& prompt, int style, const QString& title) {
    using SB = QMessageBox::StandardButton;
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(title);
    box->setTextFormat(Qt::PlainText);
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    box->setText(text);
    switch (style & 0x70) {
    case core::MbCritical: box->setIcon(QMessageBox::Critical); break;
    case core::MbQuestion: box->setIcon(QMessageBox::Question); break;
    case core::MbExclamation: box->setIcon(QMessageBox::Warning); break;
    case core::MbInformation: box->setIcon(QMessageBox::Information); break;
    default: box->setIcon(QMessageBox::NoIcon); break;
    }
    std::vector<SB> buttons;
    switch (style & 7) {
    case core::MbOkCancel: buttons = {SB::Ok, SB::Cancel}; break;
    case core::MbAbortRetryIgnore: buttons = {SB::Abort, SB::Retry, SB::Ignore}; break;
    case core::MbYesNoCancel: buttons = {SB::Yes, SB::No, SB::Cancel}; break;
    case core::MbYesNo: buttons = {SB::Yes, SB::No}; break;
    case core::MbRetryCancel: buttons = {SB::Retry, SB::Cancel}; break;
    default: buttons = {SB::Ok}; break;
    }
    for (SB b : buttons) box->addButton(b)->setText(buttonText(b));
    size_t def = (style & core::MbDefaultButton3) ? 2 : (style & core::MbDefaultButton2) ? 1 : 0;
    if (def >= buttons.size()) def = 0;
    box->setDefaultButton(buttons[def]);
    if (buttons.size() == 1)
        box->setEscapeButton(buttons[0]);
    else if (std::find(buttons.begin(), buttons.end(), SB::Cancel) != buttons.end())
        box->setEscapeButton(SB::Cancel);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    return box;
}

int QtUi::msgBox(const QString& prompt, int style, const QString& title) {
    auto box = makeMessageBox(prompt, style, title);
    keepOnScreen(box.get());
    boxes_.emplace_back(box.get());
    {
        ViewHost::ModalScope modal(nullptr, box.get());
        box->exec();
    }
    boxes_.pop_back();
    releaseCaptures();
    QAbstractButton* clicked = box->clickedButton();
    QMessageBox::StandardButton b = clicked ? box->standardButton(clicked) : QMessageBox::NoButton;
    if (b == QMessageBox::NoButton) {
        // Closed without a button: the escape button, else the default one.
        QAbstractButton* esc = box->escapeButton();
        b = box->standardButton(esc ? esc : box->defaultButton());
    }
    return msgResult(b);
}

void QtUi::runModal(core::Form& form) {
    core::Form* f = &form;
    auto done = [f] { return !ViewHost::isLoaded(f) || !f->visible(); };
    if (done()) return;
    ViewHost::ModalScope modal(f);
    ViewHost* h = ViewHost::instance();
    if (h) h->sync(true);
    QEventLoop loop;
    // The form hides or unloads through the model, which the host follows:
    // the loop checks after each sync. Without a host nothing tells, so it
    // checks now and then.
    auto alive = std::make_shared<bool>(true);
    QTimer poll;
    if (h) {
        h->watchSyncs([&loop, done, alive] {
            if (!*alive) return false;
            if (!done()) return true;
            loop.quit();
            return false;
        });
    } else {
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done()) loop.quit();
        });
        poll.start(10);
    }
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
    if (!done()) loop.exec();
    *alive = false;
    releaseCaptures();
    if (ViewHost* h = ViewHost::instance()) h->sync();
}

void QtUi::closeMsgBox(int depth) {
    if (depth < 0 || size_t(depth) >= boxes_.size() || !boxes_[size_t(depth)]) return;
    // Its loop ends when the loops opened above it have ended.
    boxes_[size_t(depth)]->done(QDialog::Rejected);
}

void QtUi::popupMenu(core::Form& form, core::Menu& menu, double x, double y, int flags) {
    if (!ViewHost::isLoaded(&form)) return;
    QMenu qm;
    std::map<QAction*, core::Menu*> actions;
    addPopupItems(qm, menu, actions);
    if (qm.actions().isEmpty()) return;
    const QPoint local(pxX(x), pxY(y));
    QPoint global;
    ViewHost* h = ViewHost::instance();
    if (FormWindow* w = h ? h->windowOf(form) : nullptr)
        global = w->mapToGlobal(w->clientOrigin() + local);
    else
        global = QPoint(pxX(form.left() + form.frameLeft()), pxY(form.top() + form.frameTop())) + local;
    if (flags & core::PopupRightAlign) global.rx() -= qm.sizeHint().width();
    QAction* chosen = nullptr;
    // Also catches entries of cascades and entries chosen without the mouse.
    QObject::connect(&qm, &QMenu::triggered, &qm, [&](QAction* a) { chosen = a; });
    if (QAction* r = qm.exec(global)) chosen = r;
    releaseCaptures();
    if (!chosen || !ViewHost::isLoaded(&form)) return;
    auto it = actions.find(chosen);
    if (it != actions.end()) it->second->raiseClick();
}

} // namespace view
