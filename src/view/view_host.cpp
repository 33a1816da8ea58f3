#include "view/view_host.h"
#include "view/window_frame.h"

#include <QApplication>
#include <algorithm>

#include "core/windows.h"
#include "view/form_window.h"
#include "view/qt_ui.h"

namespace view {

namespace {
ViewHost* g_host = nullptr;
}

ViewHost::ViewHost() {
    g_host = this;
    core::setModelListener([this] { schedule(); });
}

ViewHost::~ViewHost() {
    if (g_host == this) {
        g_host = nullptr;
        core::setModelListener(nullptr);
    }
    for (auto& [f, w] : windows_) delete w;
    windows_.clear();
    for (auto& w : retired_) delete w.data();
    retired_.clear();
}

namespace {
ViewHost* g_installed = nullptr;
}

ViewHost* ViewHost::install() {
    ViewHost*& host = g_installed;
    if (!host) {
        host = new ViewHost();
        host->setParent(qApp);
        static QtUi ui;
        core::setUi(&ui);
        core::windows().startWindowMove = [](core::Form& f, std::function<void()> afterMove) {
            startWindowMove(f, std::move(afterMove));
        };
    }
    return host;
}

ViewHost* ViewHost::instance() { return g_host; }

void ViewHost::schedule() {
    if (scheduled_) return;
    scheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            scheduled_ = false;
            sync();
            if (inputDepth_ == 0) purge();
        },
        Qt::QueuedConnection);
}

void ViewHost::watchSyncs(std::function<bool()> stillWatching) { watchers_.push_back(std::move(stillWatching)); }

void ViewHost::shutDown() {
    core::setUi(nullptr);
    core::windows().startWindowMove = nullptr;
    delete g_installed;
    g_installed = nullptr;
}

bool ViewHost::isLoaded(const core::Form* f) {
    const auto& v = core::loadedForms();
    return f && std::find(v.begin(), v.end(), f) != v.end();
}

FormWindow* ViewHost::windowOf(const core::Form& f) const {
    auto it = windows_.find(&f);
    return it == windows_.end() ? nullptr : it->second;
}

QWidget* ViewHost::widgetOf(const core::Control& c) const {
    FormWindow* w = c.form() ? windowOf(*c.form()) : nullptr;
    return w ? w->widgetOf(&c) : nullptr;
}

void ViewHost::leaveInput() {
    if (--inputDepth_ == 0) sync();
}

void ViewHost::noteMouse(QWidget* receiver, QPointF global) {
    hover_ = receiver;
    lastGlobal_ = global;
}

void ViewHost::retire(QWidget* w) {
    if (!w) return;
    w->hide();
    retired_.emplace_back(w);
}

void ViewHost::purge() {
    auto dead = std::move(retired_);
    retired_.clear();
    for (auto& w : dead) delete w.data();
}

void ViewHost::sync(bool force) {
    if (syncing_) return;
    const uint64_t rev = core::modelRevision();
    if (!force && rev == synced_) return;
    syncing_ = true;
    for (auto it = windows_.begin(); it != windows_.end();) {
        const core::Form* f = it->first;
        if (!isLoaded(f) || !f->visible()) {
            it->second->detach();
            retire(it->second);
            it = windows_.erase(it);
        } else {
            ++it;
        }
    }
    const std::vector<core::Form*> forms = core::loadedForms();
    for (core::Form* f : forms) {
        if (!f->visible()) continue;
        FormWindow*& w = windows_[f];
        if (!w) {
            w = new FormWindow(this, f);
            cameForward(w);
            stackingChanged_ = true;
        } else if (!force && w->syncedRevision_ == f->revision()) {
            continue;
        }
        w->syncFromModel();
    }
    syncing_ = false;
    synced_ = rev;

    // Work that runs the program's handlers comes after the sync.
    std::vector<QPointer<FormWindow>> wins;
    for (auto& [f, w] : windows_) wins.emplace_back(w);
    for (auto& w : wins)
        if (w && w->pendingWriteBack_) {
            w->pendingWriteBack_ = false;
            w->writeBackSize();
        }
    applyRaises();

    if (!watchers_.empty()) {
        auto watchers = std::move(watchers_);
        watchers_.clear();
        for (auto& w : watchers)
            if (w()) watchers_.push_back(std::move(w));
    }
}

void ViewHost::cameForward(QWidget* w) {
    std::erase_if(stack_, [w](const QPointer<QWidget>& p) { return !p || p == w; });
    stack_.emplace_back(w);
}

void ViewHost::raiseWindow(QWidget* w) {
    w->raise();
    cameForward(w);
}

std::vector<QWidget*> ViewHost::stackingOrder() const {
    std::vector<QWidget*> out;
    for (const auto& w : stack_)
        if (w && w->isVisible()) out.push_back(w);
    return out;
}

ViewHost::ModalScope::ModalScope(const core::Form* form, QWidget* box) : host_(ViewHost::instance()) {
    if (!host_) return;
    host_->modal_.push_back({form, box});
    // A box goes on top when it shows.
    if (box) host_->cameForward(box);
}

ViewHost::ModalScope::~ModalScope() {
    if (host_ && !host_->modal_.empty()) host_->modal_.pop_back();
}

void ViewHost::applyRaises() {
    std::vector<std::pair<uint64_t, QPointer<FormWindow>>> todo;
    for (auto& [f, w] : windows_)
        if (w->alive() && w->form()->raiseRequest() > w->raiseSeen) todo.emplace_back(w->form()->raiseRequest(), w);
    std::sort(todo.begin(), todo.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    if (todo.empty() && !stackingChanged_) return;
    const bool managed = windowManagerFrames();
    for (auto& [req, w] : todo) {
        if (!w) continue;
        w->raiseSeen = req;
        // A window manager keeps a topmost window above the others by its
        // state; some give the focus to a window that is raised.
        if (managed && w->form()->topmost())
            cameForward(w);
        else
            raiseWindow(w);
        // A window that takes no focus when it shows takes none when it
        // comes forward either; where it is not mapped yet, the toolkit
        // would ask for it only once it is, after the windows that come
        // forward behind it.
        if (!w->testAttribute(Qt::WA_ShowWithoutActivating)) w->activateWindow();
        stackingChanged_ = true;
    }
    if (!stackingChanged_) return;
    stackingChanged_ = false;
    // Topmost windows stay above the others where no window manager keeps
    // them there, in the order they came forward. (A window manager keeps
    // them above by their state, and some give the focus to a window that
    // is raised.)
    if (!managed)
        for (QWidget* w : stackingOrder())
            if (auto* fw = dynamic_cast<FormWindow*>(w); fw && fw->alive() && fw->form()->topmost()) raiseWindow(fw);
    // The open modal boxes above them all: each blocks every window below,
    // and the innermost alone takes input.
    QWidget* innermost = nullptr;
    for (const Modal& m : modal_) {
        QWidget* w = m.box ? m.box.data() : (m.form && isLoaded(m.form)) ? windowOf(*m.form) : nullptr;
        if (!w || !w->isVisible()) continue;
        raiseWindow(w);
        innermost = w;
    }
    if (innermost && !innermost->isActiveWindow()) innermost->activateWindow();
}

// ---------------------------------------------------------------- render

QImage renderForm(core::Form& form) {
    if (ViewHost* h = ViewHost::instance()) {
        h->sync(true);
        if (FormWindow* w = h->windowOf(form)) return w->grab().toImage();
    }
    FormWindow tmp(nullptr, &form);
    tmp.setAttribute(Qt::WA_DontShowOnScreen);
    tmp.syncFromModel();
    tmp.ensurePolished();
    return tmp.grab().toImage();
}

} // namespace view
