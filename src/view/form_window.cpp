#include "view/form_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <algorithm>
#include <exception>

#include "core/keys.h"
#include "core/state.h"
#include "view/paint.h"
#include "view/view_host.h"
#include "view/window_frame.h"

namespace view {

namespace {

// Runs a call into the model; an error never leaves a Qt event handler.
template <class Fn>
void guarded(const char* what, Fn&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        qWarning("view %s: %s", what, e.what());
    } catch (...) {
        qWarning("view %s: unknown error", what);
    }
}

int heldButtons(Qt::MouseButtons b) {
    int s = 0;
    if (b & Qt::LeftButton) s |= core::LeftButton;
    if (b & Qt::RightButton) s |= core::RightButton;
    if (b & Qt::MiddleButton) s |= core::MiddleButton;
    return s;
}

// The character a key press types, as KeyPress carries it (0: none).
int asciiOf(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape: return 27;
    default: break;
    }
    const QString t = e->text();
    if (t.size() == 1) {
        const char16_t u = t.at(0).unicode();
        if (u >= 32 && u != 127) return u;
    }
    return 0;
}

Qt::Alignment textAlign(int a) {
    return a == 1 ? Qt::AlignRight : a == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
}

// Multi-line text: the model keeps CR LF, the editor LF.
QString toEditor(const QString& s) {
    QString t = s;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}
QString fromEditor(const QString& s) {
    QString t = s;
    t.replace(QChar('\n'), QStringLiteral("\r\n"));
    return t;
}
int toModelPos(const QString& editorText, int pos) {
    pos = std::clamp(pos, 0, static_cast<int>(editorText.size()));
    return pos + static_cast<int>(editorText.left(pos).count(QChar('\n')));
}
int toEditorPos(const QString& modelText, int pos) {
    pos = std::clamp(pos, 0, static_cast<int>(modelText.size()));
    return pos - static_cast<int>(modelText.left(pos).count(QStringLiteral("\r\n")));
}

// Repaints a rectangle of w and the part of it that its child widgets
// cover (they paint themselves: a parent's repaint leaves them alone).
void updateArea(QWidget* w, const QRect& r) {
    w->update(r);
    for (QObject* o : w->children()) {
        auto* c = qobject_cast<QWidget*>(o);
        if (!c || c->isHidden() || c->isWindow() || !c->geometry().intersects(r)) continue;
        updateArea(c, r.translated(-c->pos()) & c->rect());
    }
}

template <class W>
void setupControlWidget(W* w) {
    w->setMouseTracking(true);
    w->setAttribute(Qt::WA_NoMousePropagation);
}

QString primarySelectionText() {
    if (const auto& source = primarySelectionSource()) return source();
    QClipboard* cb = QGuiApplication::clipboard();
    return cb && cb->supportsSelection() ? cb->text(QClipboard::Selection) : QString();
}

QString clipboardText() {
    QClipboard* cb = QGuiApplication::clipboard();
    return cb ? cb->text() : QString();
}

} // namespace

std::function<QString()>& primarySelectionSource() {
    static std::function<QString()> source;
    return source;
}

// ---------------------------------------------------------------- InputScope

InputScope::InputScope(FormWindow* w) : host_(w ? w->host() : nullptr) {
    if (host_) host_->enterInput();
}

InputScope::~InputScope() {
    if (host_) host_->leaveInput();
}

// ---------------------------------------------------------------- widgets

SurfaceWidget::SurfaceWidget(FormWindow* win, core::Control* c, QWidget* parent) : QWidget(parent) {
    link = {win, c};
    setupControlWidget(this);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
    // Between an unload and the next sync the control may be gone.
    if (!link.win->owns(link.ctl)) return;
    QPainter p(this);
    paintSurface(p, *this, *link.ctl, pressed);
}

void SurfaceWidget::mousePressEvent(QMouseEvent* e) {
    InputScope s(link.win);
    if (e->button() == Qt::LeftButton) {
        pressed = true;
        update();
    }
    link.win->routeMouse(this, e);
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* e) {
    InputScope s(link.win);
    if (e->button() == Qt::LeftButton) {
        pressed = false;
        update();
    }
    link.win->routeMouse(this, e);
}

void SurfaceWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    InputScope s(link.win);
    link.win->routeMouse(this, e);
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* e) {
    InputScope s(link.win);
    link.win->routeMouse(this, e);
}

void SurfaceWidget::keyPressEvent(QKeyEvent* e) {
    InputScope s(link.win);
    int a = 0, o = 0;
    link.win->routeKeyPress(e, &a, &o);
    e->accept();
}

void SurfaceWidget::keyReleaseEvent(QKeyEvent* e) {
    InputScope s(link.win);
    link.win->routeKeyRelease(e);
    e->accept();
}

void SurfaceWidget::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    link.win->controlFocused(link.ctl);
}

bool SurfaceWidget::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) return link.win->showToolTip(this, static_cast<QHelpEvent*>(e), link.ctl);
    return QWidget::event(e);
}

LineBox::LineBox(FormWindow* win, core::Control* c, QWidget* parent) : RoutedInput<QLineEdit>(parent) {
    link = {win, c};
    setupControlWidget(this);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (!holdEdits) link.win->userEdited(link.ctl, t, cursorPosition());
    });
    auto report = [this] {
        int s = hasSelectedText() ? selectionStart() : cursorPosition();
        int l = static_cast<int>(selectedText().size());
        lastSelStart = s;
        lastSelLength = l;
        if (!holdEdits) link.win->userSelected(link.ctl, s, l);
    };
    connect(this, &QLineEdit::cursorPositionChanged, this, report);
    connect(this, &QLineEdit::selectionChanged, this, report);
}

void LineBox::contextMenuEvent(QContextMenuEvent* e) {
    if (!typesThroughKeyPress()) {
        QLineEdit::contextMenuEvent(e);
        return;
    }
    QMenu* menu = createStandardContextMenu();
    if (!menu) return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Its paste types the clipboard's text.
    for (QAction* a : menu->actions()) {
        const bool paste = QObject::disconnect(a, SIGNAL(triggered()), this, SLOT(paste())) ||
                           QObject::disconnect(a, &QAction::triggered, this, &QLineEdit::paste);
        if (paste) connect(a, &QAction::triggered, this, [this] { typeText(clipboardText()); });
    }
    menu->popup(e->globalPos());
}

void LineBox::dropEvent(QDropEvent* e) {
    if (!typesThroughKeyPress() || isReadOnly() || !e->mimeData() || !e->mimeData()->hasText()) {
        QLineEdit::dropEvent(e);
        return;
    }
    // Typed where it is dropped; the drag's source keeps its text.
    QDragLeaveEvent leave;
    QLineEdit::dragLeaveEvent(&leave);
    setCursorPosition(cursorPositionAt(e->position().toPoint()));
    e->setDropAction(Qt::CopyAction);
    e->accept();
    typeText(e->mimeData()->text());
}

AreaBox::AreaBox(FormWindow* win, core::Control* c, QWidget* parent) : RoutedInput<QTextEdit>(parent) {
    link = {win, c};
    setupControlWidget(this);
    viewport()->setMouseTracking(true);
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (holdEdits) return;
        QString t = toPlainText();
        link.win->userEdited(link.ctl, fromEditor(t), toModelPos(t, textCursor().position()));
    });
    auto report = [this] {
        QTextCursor cur = textCursor();
        QString t = toPlainText();
        int s = toModelPos(t, cur.selectionStart());
        int l = toModelPos(t, cur.selectionEnd()) - s;
        lastSelStart = s;
        lastSelLength = l;
        if (!holdEdits) link.win->userSelected(link.ctl, s, l);
    };
    connect(this, &QTextEdit::cursorPositionChanged, this, report);
    connect(this, &QTextEdit::selectionChanged, this, report);
}

void AreaBox::insertFromMimeData(const QMimeData* source) {
    // Pasted or dropped text.
    if (source && typesThroughKeyPress()) {
        typeText(source->text());
        return;
    }
    QTextEdit::insertFromMimeData(source);
}

ListBox::ListBox(FormWindow* win, core::Control* c, QWidget* parent) : RoutedInput<QListWidget>(parent) {
    link = {win, c};
    setupControlWidget(this);
    viewport()->setMouseTracking(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) { link.win->userChoseRow(link.ctl, row); });
}

// ---------------------------------------------------------------- RoutedInput

template <class Base>
void RoutedInput<Base>::mousePressEvent(QMouseEvent* e) {
    InputScope s(link.win);
    link.win->routeMouse(mouseSource(), e);
    Base::mousePressEvent(e);
    e->accept();
}

template <class Base>
void RoutedInput<Base>::mouseReleaseEvent(QMouseEvent* e) {
    InputScope s(link.win);
    link.win->routeMouse(mouseSource(), e);
    if constexpr (kTextBox) {
        if (e->button() == Qt::MiddleButton) {
            // The middle click pastes the primary selection at the caret.
            const QString text = primarySelectionText();
            if (!text.isEmpty() && !this->isReadOnly()) {
                if constexpr (std::is_base_of_v<QLineEdit, Base>) {
                    this->deselect();
                    if (typesThroughKeyPress()) typeText(text);
                    else this->insert(text);
                } else {
                    QTextCursor cur = this->textCursor();
                    cur.clearSelection();
                    this->setTextCursor(cur);
                    if (typesThroughKeyPress()) typeText(text);
                    else this->insertPlainText(text);
                }
            }
            e->accept();
            return;
        }
    }
    Base::mouseReleaseEvent(e);
    e->accept();
}

template <class Base>
void RoutedInput<Base>::mouseDoubleClickEvent(QMouseEvent* e) {
    InputScope s(link.win);
    link.win->routeMouse(mouseSource(), e);
    Base::mouseDoubleClickEvent(e);
    e->accept();
}

template <class Base>
void RoutedInput<Base>::mouseMoveEvent(QMouseEvent* e) {
    InputScope s(link.win);
    link.win->routeMouse(mouseSource(), e);
    Base::mouseMoveEvent(e);
    e->accept();
}

template <class Base>
void RoutedInput<Base>::keyPressEvent(QKeyEvent* e) {
    InputScope s(link.win);
    int a = 0, o = 0;
    if (link.win->routeKeyPress(e, &a, &o)) {
        if constexpr (kTextBox) {
            if (e->matches(QKeySequence::Paste) && typesThroughKeyPress()) {
                typeText(clipboardText());
                e->accept();
                return;
            }
        }
        if (a != o) {
            // A KeyPress handler changed the character.
            QKeyEvent changed(e->type(), e->key(), e->modifiers(), QString(QChar(static_cast<char16_t>(a))),
                              e->isAutoRepeat());
            Base::keyPressEvent(&changed);
        } else {
            Base::keyPressEvent(e);
        }
    }
    e->accept();
}

template <class Base>
void RoutedInput<Base>::keyReleaseEvent(QKeyEvent* e) {
    InputScope s(link.win);
    link.win->routeKeyRelease(e);
    Base::keyReleaseEvent(e);
    e->accept();
}

template <class Base>
void RoutedInput<Base>::focusInEvent(QFocusEvent* e) {
    Base::focusInEvent(e);
    link.win->controlFocused(link.ctl);
}

template <class Base>
void RoutedInput<Base>::inputMethodEvent(QInputMethodEvent* e) {
    if constexpr (kTextBox) {
        if (typesThroughKeyPress() && !this->isReadOnly()) {
            InputScope s(link.win);
            // The composition shows in the box (a selection gives way to it
            // there); the model keeps its text until the end.
            QInputMethodEvent shown(e->preeditString(), e->attributes());
            holdEdits = true;
            Base::inputMethodEvent(&shown);
            holdEdits = false;
            if (!e->commitString().isEmpty() || e->preeditString().isEmpty()) {
                // Over: the box shows the model's text again, and the
                // committed text is typed.
                link.win->syncFromModel();
                typeText(e->commitString());
            }
            e->accept();
            return;
        }
    }
    Base::inputMethodEvent(e);
}

template <class Base>
bool RoutedInput<Base>::typesThroughKeyPress() const {
    return kTextBox && link.win && link.win->handlesKeyPress(link.ctl);
}

template <class Base>
void RoutedInput<Base>::typeText(const QString& text) {
    if constexpr (kTextBox) {
        if (text.isEmpty() || this->isReadOnly()) return;
        InputScope s(link.win);
        FormWindow* win = link.win;
        core::Control* box = link.ctl;
        auto stillHere = [&] { return win->owns(box) && win->widgetOf(box) == this; };
        if (!stillHere()) return;
        win->controlFocused(box);
        for (qsizetype i = 0; i < text.size();) {
            char32_t ch = text.at(i).unicode();
            qsizetype n = 1;
            if (ch == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
                n = 2;
            } else if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                ch = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
                n = 2;
            }
            i += n;
            const int a = win->routeTyped(box, ch == u'\n' || ch == u'\r' ? 13 : static_cast<int>(ch));
            if (!stillHere()) return;
            if (a <= 0 || a > 0x10FFFF) continue;
            // The character as its key brings it.
            int key = 0;
            QString t;
            if (a == 13) {
                key = Qt::Key_Return;
                t = QStringLiteral("\r");
            } else if (a == 8) {
                key = Qt::Key_Backspace;
                t = QStringLiteral("\b");
            } else {
                const char32_t c32 = static_cast<char32_t>(a);
                t = QString::fromUcs4(&c32, 1);
            }
            QKeyEvent typed(QEvent::KeyPress, key, Qt::NoModifier, t);
            Base::keyPressEvent(&typed);
            // What the handlers changed shows before the next character.
            if (win->host()) win->host()->sync();
            if (!stillHere()) return;
        }
    }
}

template class RoutedInput<QLineEdit>;
template class RoutedInput<QTextEdit>;
template class RoutedInput<QListWidget>;

// ---------------------------------------------------------------- FormWindow

FormWindow::FormWindow(ViewHost* host, core::Form* form) : QWidget(nullptr), host_(host), form_(form) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    sinceApply_.start();
}

FormWindow::~FormWindow() = default;

namespace {

// Paints the form's controls that lie above its windowed ones; the mouse
// goes through it.
class AboveWidget : public QWidget {
public:
    AboveWidget(FormWindow* win, core::Form* form) : QWidget(win), win_(win), form_(form) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!win_->alive()) return;
        QPainter p(this);
        paintWindowless(p, *form_, true);
    }

private:
    FormWindow* win_;
    core::Form* form_;
};

} // namespace

void FormWindow::syncAbove() {
    bool any = false;
    for (const core::Control* c : form_->children())
        if (c->aboveWindowed() && core::isWindowless(c->kind())) any = true;
    if (!any && !above_) return;
    if (!above_) above_ = new AboveWidget(this, form_);
    if (above_->geometry() != clientRect()) above_->setGeometry(clientRect());
    above_->raise();
    if (above_->isHidden()) above_->show();
}

bool FormWindow::alive() const { return form_ && ViewHost::isLoaded(form_); }

bool FormWindow::owns(const core::Control* c) const {
    if (!c || !alive()) return false;
    const auto all = form_->allControls();
    return std::find(all.begin(), all.end(), c) != all.end();
}

void FormWindow::detach() {
    form_ = nullptr;
    entries_.clear();
    stacking_.clear();
}

QWidget* FormWindow::widgetOf(const core::Control* c) const {
    auto it = entries_.find(c);
    return it == entries_.end() ? nullptr : it->second.widget;
}

QWidget* FormWindow::createWidget(core::Control& c, QWidget* parent) {
    QWidget* w = nullptr;
    switch (c.kind()) {
    case core::Kind::TextBox:
        if (c.multiLine())
            w = new AreaBox(this, &c, parent);
        else
            w = new LineBox(this, &c, parent);
        break;
    case core::Kind::ListBox: w = new ListBox(this, &c, parent); break;
    default: w = new SurfaceWidget(this, &c, parent); break;
    }
    w->setObjectName(c.index() >= 0 ? QStringLiteral("%1(%2)").arg(c.name()).arg(c.index()) : c.name());
    return w;
}

void FormWindow::syncWidget(Entry& e, core::Control& c, QWidget* parentWidget, double inset) {
    QWidget* w = e.widget;
    const int in = pxX(inset);
    const QPoint at = parentWidget == this ? clientOrigin() : QPoint();
    const QRect g(pxX(c.left()) + in + at.x(), pxY(c.top()) + in + at.y(), std::max(0, pxX(c.width())),
                  std::max(0, pxY(c.height())));
    if (w->geometry() != g) w->setGeometry(g);
    if (w->testAttribute(Qt::WA_Disabled) == c.enabled()) w->setEnabled(c.enabled());
    if (w->toolTip() != c.toolTipText()) w->setToolTip(c.toolTipText());
    const core::Kind k = c.kind();
    const bool captioned = k == core::Kind::CommandButton || k == core::Kind::CheckBox || k == core::Kind::Frame;
    const QFont font = captioned ? captionLayout(c).font : controlFont(c);
    if (w->font() != font) w->setFont(font);
    applyCursor(w, cursorOver(*form_, &c));
    Qt::FocusPolicy policy = Qt::NoFocus;
    if (k == core::Kind::TextBox || k == core::Kind::ListBox || k == core::Kind::PictureBox ||
        k == core::Kind::CommandButton || k == core::Kind::CheckBox)
        policy = c.tabStop() ? Qt::StrongFocus : Qt::ClickFocus;
    if (w->focusPolicy() != policy) w->setFocusPolicy(policy);

    const QColor back(core::toQRgb(c.backColor())), fore(core::toQRgb(c.foreColor()));
    auto colours = [&](QWidget* target) {
        QPalette pal = target->palette();
        pal.setColor(QPalette::Base, back);
        pal.setColor(QPalette::Text, fore);
        if (pal != target->palette()) target->setPalette(pal);
    };

    if (auto* b = dynamic_cast<LineBox*>(w)) {
        QSignalBlocker block(b);
        if (b->text() != c.text()) {
            b->setText(c.text());
            b->lastSelStart = -1;
        }
        if (b->isReadOnly() != c.locked()) b->setReadOnly(c.locked());
        const int maxLen = c.maxLength() > 0 ? c.maxLength() : 32767;
        if (b->maxLength() != maxLen) b->setMaxLength(maxLen);
        const Qt::Alignment al = textAlign(c.alignment()) | Qt::AlignVCenter;
        if (b->alignment() != al) b->setAlignment(al);
        if (b->hasFrame() != (c.borderStyle() != 0)) b->setFrame(c.borderStyle() != 0);
        colours(b);
        if (c.selStart() != b->lastSelStart || c.selLength() != b->lastSelLength) {
            if (c.selLength() > 0)
                b->setSelection(c.selStart(), c.selLength());
            else
                b->setCursorPosition(c.selStart());
            b->lastSelStart = c.selStart();
            b->lastSelLength = c.selLength();
        }
    } else if (auto* a = dynamic_cast<AreaBox*>(w)) {
        QSignalBlocker block(a);
        const QString shown = toEditor(c.text());
        if (a->toPlainText() != shown) {
            a->setPlainText(shown);
            a->lastSelStart = -1;
        }
        if (a->isReadOnly() != c.locked()) a->setReadOnly(c.locked());
        const auto vbar = (c.scrollBars() & 2) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
        if (a->verticalScrollBarPolicy() != vbar) a->setVerticalScrollBarPolicy(vbar);
        const auto hbar = (c.scrollBars() & 1) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
        if (a->horizontalScrollBarPolicy() != hbar) a->setHorizontalScrollBarPolicy(hbar);
        const auto wrap = (c.scrollBars() & 1) ? QTextEdit::NoWrap : QTextEdit::WidgetWidth;
        if (a->lineWrapMode() != wrap) a->setLineWrapMode(wrap);
        const Qt::Alignment al = textAlign(c.alignment());
        QTextOption opt = a->document()->defaultTextOption();
        if (opt.alignment() != al) {
            opt.setAlignment(al);
            a->document()->setDefaultTextOption(opt);
        }
        const QFrame::Shape frame = c.borderStyle() != 0 ? QFrame::StyledPanel : QFrame::NoFrame;
        if (a->frameShape() != frame) a->setFrameShape(frame);
        colours(a->viewport());
        colours(a);
        if (c.selStart() != a->lastSelStart || c.selLength() != a->lastSelLength) {
            QTextCursor cur = a->textCursor();
            const int s = toEditorPos(c.text(), c.selStart());
            const int end = toEditorPos(c.text(), c.selStart() + c.selLength());
            cur.setPosition(s);
            if (end > s) cur.setPosition(end, QTextCursor::KeepAnchor);
            a->setTextCursor(cur);
            a->lastSelStart = c.selStart();
            a->lastSelLength = c.selLength();
        }
    } else if (auto* l = dynamic_cast<ListBox*>(w)) {
        QSignalBlocker block(l);
        if (l->shownItems != c.items()) {
            l->clear();
            l->addItems(c.items());
            l->shownItems = c.items();
        }
        if (l->currentRow() != c.listIndex()) {
            l->setCurrentRow(c.listIndex());
            if (c.listIndex() < 0) l->clearSelection();
        }
        const QFrame::Shape frame = c.borderStyle() != 0 ? QFrame::StyledPanel : QFrame::NoFrame;
        if (l->frameShape() != frame) l->setFrameShape(frame);
        colours(l->viewport());
        colours(l);
    }
    // Painted widgets repaint through the form's damage.
    if (w->isHidden() == c.visible()) w->setVisible(c.visible());
}

void FormWindow::syncControls(QWidget* parentWidget, const core::Container& cont, double inset,
                              std::vector<QWidget*>& order) {
    for (core::Control* c : cont.children()) {
        if (core::isWindowless(c->kind())) continue;
        Entry& e = entries_[c];
        const bool wantArea = c->kind() == core::Kind::TextBox && c->multiLine();
        const bool isArea = dynamic_cast<AreaBox*>(e.widget) != nullptr;
        if (!e.widget || e.kind != c->kind() || wantArea != isArea) {
            if (e.widget && host_) host_->retire(e.widget);
            else delete e.widget;
            e.widget = createWidget(*c, parentWidget);
            e.kind = c->kind();
            e.parent = parentWidget;
        } else if (e.parent != parentWidget) {
            e.widget->setParent(parentWidget);
            e.parent = parentWidget;
        }
        e.seen = true;
        syncWidget(e, *c, parentWidget, inset);
        order.push_back(e.widget);
        if (core::isContainer(c->kind())) {
            std::vector<QWidget*> inner;
            syncControls(e.widget, *c, c->clientInset(), inner);
            auto& st = stacking_[e.widget];
            if (st != inner) {
                for (QWidget* w : inner) w->raise();
                st = inner;
            }
        }
    }
}

void FormWindow::syncFocus() {
    core::Control* a = form_->activeControl();
    QWidget* want = nullptr;
    if (a) {
        auto it = entries_.find(a);
        if (it != entries_.end() && it->second.widget->isVisibleTo(this) && it->second.widget->isEnabled())
            want = it->second.widget;
    }
    QWidget* cur = focusWidget();
    if (want) {
        if (cur != want) want->setFocus(Qt::OtherFocusReason);
    } else if (cur && cur != this) {
        setFocus(Qt::OtherFocusReason);
    }
}

namespace {

// A fixed single or fixed dialog border: title bar and close box only.
bool hasFixedBorder(const core::Form& f) { return f.borderStyle() == 1 || f.borderStyle() == 3; }
// No border or a fixed one: nothing for the user to size the window by.
bool hasFixedSize(const core::Form& f) { return f.borderStyle() == 0 || hasFixedBorder(f); }

} // namespace

Qt::WindowFlags windowFlagsOf(const core::Form& f, bool drawnFrame) {
    Qt::WindowFlags fl = Qt::Window;
    // No frame, or the one the view draws itself.
    if (f.borderStyle() == 0 || drawnFrame) fl |= Qt::FramelessWindowHint;
    // A fixed border: title bar and close box, no minimise or maximise.
    else if (hasFixedBorder(f))
        fl |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (f.topmost()) fl |= Qt::WindowStaysOnTopHint;
    // A tool window has no taskbar entry.
    if (!f.showInTaskbar()) fl = (fl & ~Qt::WindowType_Mask) | Qt::Tool;
    return fl;
}

namespace {

// A box that blocks the program's other windows comes back at once when a
// window manager minimises it: it has no taskbar entry to come back by.
void showAgainWhenMinimised(QWidget* w) {
    if (!w->isMinimized()) return;
    // After the platform's own handling of the change.
    QTimer::singleShot(0, w, [w] {
        if (!w->isMinimized() || !w->isVisible()) return;
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->show();
        w->raise();
        w->activateWindow();
    });
}

// Keeps a box on the screen: see showAgainWhenMinimised.
class StaysOnScreen : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::WindowStateChange && o->isWidgetType()) showAgainWhenMinimised(static_cast<QWidget*>(o));
        return false;
    }
};

} // namespace

void keepOnScreen(QWidget* box) { box->installEventFilter(new StaysOnScreen(box)); }

void setProgramIdentity() {
    QCoreApplication::setApplicationName(QString::fromLatin1(core::DesktopAppId));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(core::DesktopAppId));
}

QString windowTitleOf(const core::Form& f) {
    if (!f.caption().isEmpty()) return f.caption();
    if (!core::config().AppTitle.isEmpty()) return core::config().AppTitle;
    return QString::fromUtf8(core::ProgramTitle);
}

void FormWindow::syncFromModel() {
    if (!alive()) return;
    core::Form& f = *form_;
    const bool renderOnly = host_ == nullptr;

    if (!shown_ && !renderOnly) {
        // Where no window manager frames it, the view frames it itself.
        drawnFrame_ = f.borderStyle() != 0 && !windowManagerFrames();
        setWindowFlags(windowFlagsOf(f, drawnFrame_));
        // A window beside the main one (the question window) takes no focus
        // when it shows: a window manager would give it the focus the
        // program gives the main window.
        setAttribute(Qt::WA_ShowWithoutActivating, !f.showInTaskbar() && !f.modal());
        raiseSeen = f.raiseRequest();
    }
    if (const QString title = windowTitleOf(f); windowTitle() != title) setWindowTitle(title);
    bool reshow = false;
    if (f.modal() != appliedModal_ && !renderOnly) {
        if (shown_) {
            hide();
            reshow = true;
        }
        setWindowModality(f.modal() ? Qt::ApplicationModal : Qt::NonModal);
        appliedModal_ = f.modal();
    }

    // Controls first, so that the first paint is complete.
    for (auto& [c, e] : entries_) e.seen = false;
    std::vector<QWidget*> top;
    syncControls(this, f, 0, top);
    auto& st = stacking_[this];
    if (st != top) {
        for (QWidget* w : top) w->raise();
        st = top;
    }
    syncAbove();
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (!it->second.seen) {
            stacking_.erase(it->second.widget);
            if (host_)
                host_->retire(it->second.widget);
            else
                delete it->second.widget;
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
    applyCursor(this, cursorOver(f, nullptr));
    if (!renderOnly) {
        syncedRevision_ = f.revision();
        const core::Form::Damage damage = f.takeDamage();
        if (damage.all || !shown_) {
            // The boxes too: an opaque child is not repainted with its parent.
            updateArea(this, rect());
        } else {
            for (const QRectF& r : damage.rects) {
                const QRect px(QPoint(pxX(r.left()), pxY(r.top())), QPoint(pxX(r.right()), pxY(r.bottom())));
                updateArea(this, px.adjusted(-1, -1, 1, 1).translated(clientOrigin()) & clientRect());
            }
        }
    }

    const int state = f.windowState();
    // The outer position; the client size, and the drawn frame around it.
    const QMargins fm = frameMargins();
    const QRect want(pxX(f.left()), pxY(f.top()), std::max(0, pxX(f.scaleWidth())) + fm.left() + fm.right(),
                     std::max(0, pxY(f.scaleHeight())) + fm.top() + fm.bottom());
    if (renderOnly) {
        resize(state == core::StateMaximized && screen() ? screen()->availableGeometry().size() : want.size());
        return;
    }
    auto qtState = [](int s) {
        return s == core::StateMaximized ? Qt::WindowMaximized
             : s == core::StateMinimized ? Qt::WindowMinimized
                                         : Qt::WindowNoState;
    };
    // Where a window manager runs, a borderless window in the normal state
    // that covers the work area is maximised through it: some take such a
    // window for a full-screen one and raise it over the topmost windows
    // while it has the focus. The form stays in the normal state.
    bool fill = false;
    if (state == core::StateNormal && f.borderStyle() == 0 && windowManagerFrames()) {
        QScreen* sc = QGuiApplication::screenAt(want.center());
        if (!sc) sc = screen();
        fill = sc && want == sc->availableGeometry();
    }
    // Minimised, the window keeps what it was.
    if (state != core::StateMinimized) maximisedOnBehalf_ = fill;
    const int shownState = fill ? core::StateMaximized : state;
    // A window without a border or with a fixed one keeps the form's size:
    // a window manager neither stretches nor maximises it. The size follows
    // the form's, and a window maximised is let go. One maximised on the
    // form's behalf can't be made smaller than the form, also when a window
    // manager restores it.
    const bool fixedSize = hasFixedSize(f) && shownState != core::StateMaximized;
    setMinimumSize(fixedSize || fill ? want.size() : QSize(0, 0));
    setMaximumSize(fixedSize ? want.size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    auto applyGeometry = [&] {
        const bool first = !shown_ || reshow;
        if (first || want.topLeft() != appliedGeom_.topLeft()) move(want.topLeft());
        if (first || want.size() != appliedGeom_.size()) resize(want.size());
        appliedGeom_ = want;
        sinceApply_.restart();
    };
    if (!shown_ || reshow) {
        if (state == core::StateNormal) applyGeometry();
        appliedState_ = shownState;
        if (shownState == core::StateMaximized) {
            watchMaximisedShow();
            showMaximized();
        } else if (shownState == core::StateMinimized) {
            showMinimized();
        } else {
            show();
        }
        if (reshow) {
            host_->cameForward(this);
            host_->stackingChanged_ = true;
        }
        shown_ = true;
        if (state == core::StateMaximized) pendingWriteBack_ = true;
    } else {
        // Into the filling: the normal place first, which the window keeps
        // under the maximised state.
        if (fill && appliedState_ != core::StateMaximized && want != appliedGeom_) applyGeometry();
        if (shownState != appliedState_) {
            appliedState_ = shownState;
            if (shownState == core::StateMaximized) watchMaximisedShow();
            setWindowState(qtState(shownState));
            if (!isVisible()) show();
            if (state == core::StateMaximized) pendingWriteBack_ = true;
        }
        if (state == core::StateNormal && !fill && want != appliedGeom_) applyGeometry();
    }
    syncFocus();
    if (host_->hover_ && (host_->hover_ == this || isAncestorOf(host_->hover_)))
        updatePointer(host_->hover_, host_->hover_->mapFromGlobal(host_->lastGlobal_.toPoint()));
}

// ---------------------------------------------------------------- input

void FormWindow::routeMouse(QWidget* source, QMouseEvent* e) {
    e->accept();
    if (host_) host_->noteMouse(source, e->globalPosition());
    if (!alive()) return;
    const QPoint p = source->mapTo(this, e->position().toPoint()) - clientOrigin();
    const double x = p.x() * core::twipsPerPixelX(), y = p.y() * core::twipsPerPixelY();
    const int shift = core::shiftFromQt(e->modifiers().toInt());
    const int button = core::buttonFromQt(e->button());
    core::Form* f = form_;
    guarded("mouse", [&] {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
            if (button) f->mouseDown(x, y, button, shift);
            break;
        case QEvent::MouseButtonDblClick:
            if (button) f->mouseDblPress(x, y, button, shift);
            break;
        case QEvent::MouseButtonRelease:
            if (button) f->mouseUp(x, y, button, shift);
            break;
        case QEvent::MouseMove: {
            const int held = heldButtons(e->buttons());
            // No button is down: whatever took the release (a popup, a
            // system move, another window), the capture is over.
            if (!held) f->releaseCapture();
            f->mouseMove(x, y, held, shift);
            break;
        }
        default: break;
        }
    });
    if (alive()) updatePointer(source, e->position().toPoint());
}

void FormWindow::updatePointer(QWidget* source, QPoint pos) {
    if (!alive()) return;
    const QPoint q = source->mapTo(this, pos);
    const core::Control* c = form_->captured();
    if (!c && drawnFrame_ && !clientRect().contains(q)) {
        applyCursor(source, QCursor(Qt::ArrowCursor));
        return;
    }
    const QPoint p = q - clientOrigin();
    if (!c) c = form_->hitTest(p.x() * core::twipsPerPixelX(), p.y() * core::twipsPerPixelY());
    applyCursor(source, cursorOver(*form_, c));
}

bool FormWindow::routeKeyPress(QKeyEvent* e, int* ascii, int* original) {
    *ascii = *original = 0;
    e->accept();
    if (!alive()) return false;
    core::Form* f = form_;
    const int code = core::keyCodeFromQt(e->key(), e->modifiers().testFlag(Qt::KeypadModifier));
    const int shift = core::shiftFromQt(e->modifiers().toInt());
    if (code) guarded("key", [&] { f->keyDown(code, shift); });
    if (!alive()) return false;
    int a = asciiOf(e);
    *original = a;
    if (!a) return true;
    guarded("key", [&] { a = f->keyPress(a); });
    *ascii = a;
    return a != 0 && alive();
}

int FormWindow::routeTyped(core::Control* c, int ascii) {
    if (!owns(c)) return 0;
    core::Form* f = form_;
    int a = ascii;
    guarded("key", [&] { a = f->keyPress(a); });
    return alive() ? a : 0;
}

bool FormWindow::handlesKeyPress(const core::Control* c) const { return owns(c) && form_->handlesKeyPress(*c); }

void FormWindow::routeKeyRelease(QKeyEvent* e) {
    e->accept();
    if (e->isAutoRepeat() || !alive()) return;
    core::Form* f = form_;
    const int code = core::keyCodeFromQt(e->key(), e->modifiers().testFlag(Qt::KeypadModifier));
    const int shift = core::shiftFromQt(e->modifiers().toInt());
    if (code) guarded("key", [&] { f->keyUp(code, shift); });
}

void FormWindow::controlFocused(core::Control* c) {
    if (!host_ || host_->syncing() || !owns(c)) return;
    InputScope s(this);
    guarded("focus", [&] { form_->setActiveControl(c); });
}

void FormWindow::userEdited(core::Control* c, const QString& text, int cursor) {
    if ((host_ && host_->syncing()) || !owns(c)) return;
    InputScope s(this);
    guarded("edit", [&] { form_->userEdit(*c, text, cursor); });
}

void FormWindow::userSelected(core::Control* c, int selStart, int selLength) {
    if ((host_ && host_->syncing()) || !owns(c)) return;
    if (c->selStart() == selStart && c->selLength() == selLength) return;
    guarded("selection", [&] {
        c->setSelStart(std::max(0, selStart));
        c->setSelLength(std::max(0, selLength));
    });
}

void FormWindow::userChoseRow(core::Control* c, int row) {
    if ((host_ && host_->syncing()) || !owns(c)) return;
    if (row == c->listIndex() || row < -1 || row >= c->listCount()) return;
    InputScope s(this);
    guarded("list", [&] { c->setListIndex(row); });
}

bool FormWindow::showToolTip(QWidget* source, QHelpEvent* e, const core::Control* self) {
    QString tip;
    if (alive() && (!drawnFrame_ || clientRect().contains(source->mapTo(this, e->pos())))) {
        const QPoint p = source->mapTo(this, e->pos()) - clientOrigin();
        const core::Control* c = form_->hitTest(p.x() * core::twipsPerPixelX(), p.y() * core::twipsPerPixelY());
        if (c && core::isWindowless(c->kind()))
            tip = c->toolTipText();
        else if (self)
            tip = self->toolTipText();
    }
    if (tip.isEmpty()) {
        QToolTip::hideText();
        e->ignore();
    } else {
        QToolTip::showText(e->globalPos(), tip, source);
    }
    return true;
}

void FormWindow::writeBackSize() {
    if (!alive() || !(windowState() & Qt::WindowMaximized) || maximisedOnBehalf_) return;
    core::Form& f = *form_;
    QSize s = size().shrunkBy(frameMargins());
    // A frameless window that the platform has not maximised yet: it will
    // fill the available screen. Its size so far may already match the
    // screen's one way (an 800x600 window on a screen 600 high).
    if (f.borderStyle() == 0 && screen()) {
        const QSize avail = screen()->availableGeometry().size();
        if (s.width() < avail.width() || s.height() < avail.height()) s = avail;
    }
    const double w = s.width() * core::twipsPerPixelX() + (f.width() - f.scaleWidth());
    const double h = s.height() * core::twipsPerPixelY() + (f.height() - f.scaleHeight());
    if (pxX(f.scaleWidth()) == s.width() && pxY(f.scaleHeight()) == s.height()) return;
    InputScope scope(this);
    guarded("resize", [&] { f.move(f.left(), f.top(), w, h); });
}

void FormWindow::watchMaximisedShow() {
    checkMaximised_ = true;
    create();
    if (QWindow* w = windowHandle()) {
        w->removeEventFilter(this);
        w->installEventFilter(this);
    }
}

bool FormWindow::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::Expose && checkMaximised_ && o == windowHandle() && windowHandle()->isExposed()) {
        checkMaximised_ = false;
        // After the platform's own handling of the expose.
        QMetaObject::invokeMethod(this, [this] { fillScreenIfNotMaximised(); }, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(o, e);
}

void FormWindow::fillScreenIfNotMaximised() {
    if (!alive() || !isVisible() || !(windowState() & Qt::WindowMaximized) || form_->borderStyle() != 0 || !screen())
        return;
    const QRect avail = screen()->availableGeometry();
    // A window manager gives a maximised window about that area; a window
    // smaller in either direction (the form's own size may already match
    // the screen in the other) was not maximised by anyone.
    if (width() >= avail.width() && height() >= avail.height()) return;
    setGeometry(avail);
    // The resize took the widget's maximised state away; it still is.
    setWindowState(windowState() | Qt::WindowMaximized);
}

void FormWindow::writeBackPosition() { writeBackPosition(pos()); }

void FormWindow::writeBackPosition(QPoint p) {
    if (!alive()) return;
    appliedGeom_.moveTopLeft(p);
    core::Form& f = *form_;
    if (pxX(f.left()) == p.x() && pxY(f.top()) == p.y()) return;
    InputScope scope(this);
    guarded("move", [&] { f.move(p.x() * core::twipsPerPixelX(), p.y() * core::twipsPerPixelY()); });
}

void FormWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!alive()) {
        p.fillRect(rect(), palette().window());
        return;
    }
    if (drawnFrame_) {
        paintWindowFrame(p, size(), frameMargins(), windowTitle(), isActiveWindow(), closeDown_);
        p.setClipRect(clientRect());
        p.translate(clientOrigin());
    }
    p.fillRect(rect(), QColor(core::toQRgb(form_->backColor())));
    if (const core::Picture& pic = form_->picture(); !pic.isNull()) p.drawImage(0, 0, pic.image());
    paintWindowless(p, *form_);
}

QMargins FormWindow::frameMargins() const {
    if (!drawnFrame_ || !alive()) return {};
    const core::Form& f = *form_;
    return QMargins(pxX(f.frameLeft()), pxY(f.frameTop()), pxX(f.width() - f.scaleWidth() - f.frameLeft()),
                    pxY(f.height() - f.scaleHeight() - f.frameTop()));
}

QPoint FormWindow::clientOrigin() const {
    const QMargins m = frameMargins();
    return QPoint(m.left(), m.top());
}

QRect FormWindow::closeBox() const { return drawnFrame_ ? closeBoxRect(size(), frameMargins()) : QRect(); }

bool FormWindow::frameMouse(QMouseEvent* e) {
    if (!drawnFrame_ || !alive()) return false;
    const QPoint p = e->position().toPoint();
    const QRect box = closeBox();
    auto showDown = [&](bool down) {
        if (closeDown_ == down) return;
        closeDown_ = down;
        update(box);
    };
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (clientRect().contains(p)) return false;
        e->accept();
        framePress_ = true;
        if (e->button() != Qt::LeftButton || e->type() != QEvent::MouseButtonPress) return true;
        if (box.contains(p)) {
            closePressed_ = true;
            showDown(true);
        } else if (titleBarRect(size(), frameMargins()).contains(p)) {
            if (host_) host_->noteMouse(this, e->globalPosition());
            guarded("move", [&] { startWindowMove(*form_, {}); });
        }
        return true;
    case QEvent::MouseMove:
        if (framePress_ && !(e->buttons() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton))) framePress_ = false;
        if (framePress_) {
            e->accept();
            if (closePressed_) showDown(box.contains(p));
            return true;
        }
        if (e->buttons() != Qt::NoButton || clientRect().contains(p)) return false;
        // Passing over the frame: the model is not told.
        e->accept();
        if (host_) host_->noteMouse(this, e->globalPosition());
        applyCursor(this, QCursor(Qt::ArrowCursor));
        return true;
    case QEvent::MouseButtonRelease: {
        if (!framePress_) return false;
        e->accept();
        if (e->buttons() == Qt::NoButton) framePress_ = false;
        if (e->button() != Qt::LeftButton || !closePressed_) return true;
        closePressed_ = false;
        showDown(false);
        if (!box.contains(p)) return true;
        // As the desktop's close.
        guarded("close", [&] { form_->requestClose(); });
        return true;
    }
    default: return false;
    }
}

void FormWindow::mousePressEvent(QMouseEvent* e) {
    InputScope s(this);
    if (frameMouse(e)) return;
    routeMouse(this, e);
}

void FormWindow::mouseReleaseEvent(QMouseEvent* e) {
    InputScope s(this);
    if (frameMouse(e)) return;
    routeMouse(this, e);
}

void FormWindow::mouseDoubleClickEvent(QMouseEvent* e) {
    InputScope s(this);
    if (frameMouse(e)) return;
    routeMouse(this, e);
}

void FormWindow::mouseMoveEvent(QMouseEvent* e) {
    InputScope s(this);
    if (frameMouse(e)) return;
    routeMouse(this, e);
}

void FormWindow::keyPressEvent(QKeyEvent* e) {
    InputScope s(this);
    int a = 0, o = 0;
    routeKeyPress(e, &a, &o);
}

void FormWindow::keyReleaseEvent(QKeyEvent* e) {
    InputScope s(this);
    routeKeyRelease(e);
}

void FormWindow::closeEvent(QCloseEvent* e) {
    if (!e->spontaneous() || !alive()) {
        e->accept();
        return;
    }
    // The model decides: it hides or unloads the form, or refuses.
    e->ignore();
    InputScope s(this);
    guarded("close", [&] { form_->requestClose(); });
}

void FormWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // The layer of the controls drawn above the boxes covers the client area.
    if (above_) above_->setGeometry(clientRect());
    if (host_ && !host_->syncing() && (windowState() & Qt::WindowMaximized)) writeBackSize();
}

void FormWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    // Wherever a window manager puts the window (a bordered one dragged by
    // its title bar, any one it places), the form follows. Echoes of our
    // own moves arrive shortly after we make them; those are not its. A
    // move the program started writes back when it ends.
    if (!host_ || host_->syncing() || !e->spontaneous() || !alive()) return;
    if (windowState() != Qt::WindowNoState || windowMoveRunning(this)) return;
    if (sinceApply_.elapsed() < 500 || pos() == appliedGeom_.topLeft()) return;
    writeBackPosition();
    windowManagerMoved(this);
}

void FormWindow::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && drawnFrame_) update(QRect(0, 0, width(), clientOrigin().y()));
    if (e->type() != QEvent::WindowStateChange || !host_ || host_->syncing() || !alive()) return;
    // Minimised by the window manager, a modal form (it blocks the others)
    // or one without a taskbar entry would have nothing to come back by.
    if ((form_->modal() || !form_->showInTaskbar()) && isMinimized() && form_->windowState() != core::StateMinimized) {
        showAgainWhenMinimised(this);
        return;
    }
    const int shown = isMinimized() ? core::StateMinimized : isMaximized() ? core::StateMaximized : core::StateNormal;
    // Maximised on the form's behalf, the form is in the normal state, and
    // the window stays maximised.
    if (maximisedOnBehalf_ && shown == core::StateNormal) keepMaximisedOnBehalf();
    const int s = shown == core::StateMaximized && maximisedOnBehalf_ ? core::StateNormal : shown;
    if (s == form_->windowState()) return;
    appliedState_ = shown;
    InputScope scope(this);
    guarded("state", [&] { form_->setWindowState(s); });
    if (s == core::StateMaximized) writeBackSize();
}

void FormWindow::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Before the window maps: a window manager reads the state then, and
    // drops it when the window is hidden.
    if (alive() && !form_->showInTaskbar()) skipTaskbar(this);
}

void FormWindow::keepMaximisedOnBehalf() {
    // After the platform's own handling of the change.
    QTimer::singleShot(0, this, [this] {
        if (!alive() || !maximisedOnBehalf_ || !isVisible() || (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
            return;
        setWindowState(windowState() | Qt::WindowMaximized);
    });
}

bool FormWindow::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) return showToolTip(this, static_cast<QHelpEvent*>(e), nullptr);
    return QWidget::event(e);
}

} // namespace view
