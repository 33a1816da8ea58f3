#include "core/ui.h"

#include <QtGlobal>

#include "core/forms.h"
#include "core/state.h"

namespace core {

namespace {
UiService* g_ui = nullptr;

// Until a real service is installed: answers with the default button.
class SilentUi : public UiService {
public:
    int msgBox(const QString& prompt, int style, const QString&) override {
        qWarning("message box without a UI: %s", qPrintable(prompt));
        switch (style & 7) {
        case MbOkCancel: return (style & MbDefaultButton2) ? MrCancel : MrOk;
        case MbYesNo:
        case MbYesNoCancel: return (style & MbDefaultButton2) ? MrNo : MrYes;
        default: return MrOk;
        }
    }
    void runModal(Form& form) override { form.hide(); }
    void popupMenu(Form&, Menu&, double, double, int) override {}
};
}

UiService& ui() {
    static SilentUi silent;
    return g_ui ? *g_ui : silent;
}

void setUi(UiService* service) { g_ui = service; }

namespace {
int g_openBoxes = 0;
}

OpenBox::OpenBox() { ++g_openBoxes; }
OpenBox::~OpenBox() { --g_openBoxes; }
bool boxOpen() { return g_openBoxes > 0; }

namespace {
struct MsgBoxRecord {
    const Form* owner;
    bool closed;
};
// The message boxes open now, outermost first.
std::vector<MsgBoxRecord> g_msgBoxes;
}

int MsgBox(const QString& prompt, int style, const QString& title) {
    QString t = title.isEmpty() ? config().AppTitle : title;
    OpenBox open;
    const size_t depth = g_msgBoxes.size();
    g_msgBoxes.push_back({handlerForm(), false});
    struct Pop {
        ~Pop() { g_msgBoxes.pop_back(); }
    } pop;
    const int answer = ui().msgBox(prompt, style, t);
    return g_msgBoxes[depth].closed ? unansweredResult(style) : answer;
}

int unansweredResult(int style) {
    switch (style & 7) {
    case MbOkCancel:
    case MbYesNoCancel:
    case MbRetryCancel: return MrCancel;
    case MbYesNo: return MrNo;
    case MbAbortRetryIgnore: return MrAbort;
    default: return MrOk;
    }
}

void closeMsgBoxesOf(const Form& form) {
    for (size_t i = 0; i < g_msgBoxes.size(); ++i) {
        if (g_msgBoxes[i].owner != &form || g_msgBoxes[i].closed) continue;
        g_msgBoxes[i].closed = true;
        ui().closeMsgBox(int(i));
    }
}

// ---------------------------------------------------------------- scripted

void ScriptedUi::expectMsgBox(const QString& contains, int answer, std::function<void()> whileOpen) {
    Expect e;
    e.kind = "msgbox";
    e.match = contains;
    e.answer = answer;
    e.whileOpen = std::move(whileOpen);
    queue_.push_back(std::move(e));
}

void ScriptedUi::expectModal(const QString& name, std::function<void(Form&)> act) {
    Expect e;
    e.kind = "modal";
    e.match = name;
    e.act = std::move(act);
    queue_.push_back(std::move(e));
}

void ScriptedUi::expectPopup(const QString& name, const QString& chooseCaption) {
    Expect e;
    e.kind = "popup";
    e.match = name;
    e.choose = chooseCaption;
    queue_.push_back(std::move(e));
}

QStringList ScriptedUi::takePending() {
    QStringList out;
    for (const Expect& e : queue_) out << e.kind + ": " + e.match;
    queue_.clear();
    return out;
}

bool ScriptedUi::take(const QString& kind, const QString& text, Expect& out) {
    if (!queue_.empty() && queue_.front().kind == kind &&
        (kind == "msgbox" ? text.contains(queue_.front().match) : text == queue_.front().match)) {
        out = std::move(queue_.front());
        queue_.pop_front();
        return true;
    }
    QString what = kind + ": " + text;
    if (!queue_.empty()) what += "  (expected " + queue_.front().kind + ": " + queue_.front().match + ")";
    unexpected.push_back(what);
    if (onUnexpected) onUnexpected(what);
    return false;
}

int ScriptedUi::msgBox(const QString& prompt, int style, const QString& title) {
    shown.push_back({"msgbox", prompt, title, style});
    open_.push_back({prompt, false});
    struct Pop {
        std::vector<OpenMsgBox>& open;
        ~Pop() { open.pop_back(); }
    } pop{open_};
    Expect e;
    if (take("msgbox", prompt, e)) {
        if (e.whileOpen) e.whileOpen();
        return e.answer;
    }
    switch (style & 7) {
    case MbOkCancel: return MrCancel;
    case MbYesNo: return MrNo;
    case MbYesNoCancel: return MrCancel;
    default: return MrOk;
    }
}

void ScriptedUi::closeMsgBox(int depth) {
    if (depth >= 0 && size_t(depth) < open_.size()) open_[size_t(depth)].closed = true;
}

QStringList ScriptedUi::openMsgBoxes() const {
    QStringList out;
    for (const OpenMsgBox& b : open_)
        if (!b.closed) out << b.prompt;
    return out;
}

void ScriptedUi::runModal(Form& form) {
    shown.push_back({"modal", form.name(), QString(), 0});
    Expect e;
    if (take("modal", form.name(), e) && e.act) {
        e.act(form);
    }
    if (form.loaded() && form.visible()) form.hide();
}

void ScriptedUi::popupMenu(Form& form, Menu& menu, double x, double y, int flags) {
    shown.push_back({"popup", menu.name(), QString(), flags});
    lastPopupX = x;
    lastPopupY = y;
    lastPopupFlags = flags;
    Expect e;
    if (!take("popup", menu.name(), e) || e.choose.isEmpty()) return;
    // Search the visible items (and their cascades) for the caption.
    std::function<Menu*(Menu&)> find = [&](Menu& m) -> Menu* {
        for (Menu* it : m.items()) {
            if (!it->visible()) continue;
            if (it->caption() == e.choose && !it->isSeparator() && it->enabled()) return it;
            if (Menu* inner = find(*it)) return inner;
        }
        return nullptr;
    };
    Menu* chosen = find(menu);
    if (!chosen) {
        QString what = "popup " + menu.name() + " has no visible item " + e.choose;
        unexpected.push_back(what);
        if (onUnexpected) onUnexpected(what);
        return;
    }
    (void)form;
    chosen->raiseClick();
}

} // namespace core
