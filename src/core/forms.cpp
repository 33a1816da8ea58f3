#include "core/forms.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QtGlobal>
#include <cmath>
#include <algorithm>

#include "core/clock.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/ui.h"

namespace core {

namespace {
uint64_t g_revision = 1;
std::vector<Form*> g_loaded;
std::vector<Form*> g_dead;   // unloaded, freed when no handler runs
int g_globalDepth = 0;
uint64_t g_raiseSeq = 0;

std::function<void()> g_listener;
}

uint64_t modelRevision() { return g_revision; }
void touchModel() {
    ++g_revision;
    if (g_listener) g_listener();
}
void setModelListener(std::function<void()> listener) { g_listener = std::move(listener); }

bool isWindowless(Kind k) {
    return k == Kind::Label || k == Kind::Image || k == Kind::Shape || k == Kind::Line;
}

bool isContainer(Kind k) { return k == Kind::PictureBox || k == Kind::Frame; }

QString mnemonicShown(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}

double twipsPerPixelX() { return 15.0 * config().ScaleX; }
double twipsPerPixelY() { return 15.0 * config().ScaleY; }
double pictureWidthTwips(const QImage& img) { return img.width() * twipsPerPixelX(); }
double pictureHeightTwips(const QImage& img) { return img.height() * twipsPerPixelY(); }

uint32_t rgbValue(int r, int g, int b) {
    return static_cast<uint32_t>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}

QRgb toQRgb(uint32_t c) {
    if (c & 0x80000000u) {
        // System colours, in the classic look.
        switch (c & 0xFF) {
        case 0x05: return qRgb(255, 255, 255);   // window background
        case 0x08: return qRgb(0, 0, 0);         // window text
        case 0x0D: return qRgb(10, 36, 106);     // highlight
        case 0x0E: return qRgb(255, 255, 255);   // highlight text
        case 0x12: return qRgb(0, 0, 0);         // button text
        case 0x10: return qRgb(128, 128, 128);   // button shadow
        case 0x14: return qRgb(255, 255, 255);   // button highlight
        case 0x18: return qRgb(255, 255, 225);   // tooltip background
        default: return qRgb(212, 208, 200);     // button face
        }
    }
    return qRgb(c & 255, (c >> 8) & 255, (c >> 16) & 255);
}

// ---------------------------------------------------------------- Control

Control::Control(Form* form, Kind kind, QString name, int index)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index) {
    if (kind == Kind::Label || kind == Kind::Image || kind == Kind::Shape) backStyle_ = kind == Kind::Label ? 1 : 0;
    if (kind == Kind::TextBox || kind == Kind::ListBox) {
        backColor_ = 0x80000005;
        foreColor_ = 0x80000008;
        borderStyle_ = 1;
    }
    if (kind == Kind::Shape || kind == Kind::Line) borderStyle_ = 1;
    if (isWindowless(kind)) tabStop_ = false;
}

Control::~Control() = default;

void Control::setContainer(Control* c) {
    Container* oldParent = container_ ? static_cast<Container*>(container_) : static_cast<Container*>(form_);
    auto& v = oldParent->children_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    propertyChanged();
    container_ = c;
    Container* np = c ? static_cast<Container*>(c) : static_cast<Container*>(form_);
    np->children_.push_back(this);
    propertyChanged();
}

QRectF Control::formBounds() const {
    const double px = twipsPerPixelX(), py = twipsPerPixelY();
    QRectF r;
    if (kind_ == Kind::Line) {
        const double ox = formX() - left_, oy = formY() - top_;
        r = QRectF(QPointF(left_ + ox, top_ + oy), QPointF(x2_ + ox, y2_ + oy)).normalized();
        const double pen = std::max(1, borderWidth_);
        r.adjust(-pen * px, -pen * py, pen * px, pen * py);
    } else {
        r = QRectF(formX(), formY(), std::max(0.0, width_), std::max(0.0, height_));
    }
    // A pixel more on every side for rounding.
    return r.adjusted(-px, -py, px, py);
}

void Control::propertyChanged() {
    if (form_) form_->noteDamage(formBounds());
}

// A property setter that only records the change for the view.
#define SETTER(fn, member, type) \
    void Control::fn(type v) { assign(member, v); }

SETTER(setLocked, locked_, bool)
SETTER(setMultiLine, multiLine_, bool)
SETTER(setMaxLength, maxLength_, int)
SETTER(setScrollBars, scrollBars_, int)
SETTER(setStretch, stretch_, bool)
SETTER(setForeColor, foreColor_, uint32_t)
SETTER(setBackStyle, backStyle_, int)
SETTER(setAppearance, appearance_, int)
SETTER(setAlignment, alignment_, int)
SETTER(setGraphicalStyle, graphical_, bool)
SETTER(setFontUnderline, underline_, bool)
SETTER(setToolTipText, toolTip_, const QString&)
SETTER(setShape, shape_, int)
SETTER(setBorderColor, borderColor_, uint32_t)
SETTER(setBorderWidth, borderWidth_, int)
SETTER(setFillStyle, fillStyle_, int)
SETTER(setFillColor, fillColor_, uint32_t)
SETTER(setTabStop, tabStop_, bool)
SETTER(setAboveWindowed, aboveWindowed_, bool)

// Caption and font changes refit an AutoSize label.
#define FIT_SETTER(fn, member, type)                          \
    void Control::fn(type v) {                                \
        if (!assign(member, v)) return;                       \
        if (autoSize_ && kind_ == Kind::Label) fitToCaption(); \
    }

FIT_SETTER(setCaption, caption_, const QString&)
FIT_SETTER(setFontName, fontName_, const QString&)
FIT_SETTER(setFontSize, fontSize_, double)
FIT_SETTER(setFontBold, bold_, bool)
FIT_SETTER(setFontItalic, italic_, bool)
#undef FIT_SETTER

void Control::fitToCaption() {
    const double pt = fontSize_ > 0 && std::isfinite(fontSize_) ? std::min(fontSize_, 500.0) : 9.0;
    // A label shows "&x" as an underlined x and "&&" as "&".
    const QStringList lines = (kind_ == Kind::Label ? mnemonicShown(caption_) : caption_).split(u'\n');
    double wPx = 0, hPx = 0;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        static QHash<QString, QString> families;
        auto it = families.constFind(fontName_);
        if (it == families.constEnd())
            it = families.insert(fontName_, QFontDatabase::hasFamily(fontName_) ? fontName_
                                                                                : QStringLiteral("WenQuanYi Micro Hei"));
        QFont f(*it);
        f.setPointSizeF(pt);
        f.setBold(bold_);
        f.setItalic(italic_);
        static QImage device = [] {
            QImage d(1, 1, QImage::Format_RGB32);
            d.setDotsPerMeterX(3780);  // 96 dpi
            d.setDotsPerMeterY(3780);
            return d;
        }();
        QFontMetricsF fm(f, &device);
        for (const QString& l : lines) wPx = std::max(wPx, fm.horizontalAdvance(l));
        hPx = fm.height() * std::max<qsizetype>(1, lines.size());
    } else {
        for (const QString& l : lines) {
            double w = 0;
            for (QChar ch : l) w += ch.unicode() < 0x80 ? 0.5 : 1.0;
            wPx = std::max(wPx, w * pt * 4 / 3);
        }
        hPx = pt * 4 / 3 * 1.25 * std::max<qsizetype>(1, lines.size());
    }
    propertyChanged();
    width_ = std::ceil(wPx) * twipsPerPixelX();
    height_ = std::ceil(hPx) * twipsPerPixelY();
    propertyChanged();
}

void Control::setWidth(double v) {
    if (v < 0) throw RuntimeError(380, "invalid property value");
    assign(width_, v, true);
}

void Control::setHeight(double v) {
    if (v < 0) throw RuntimeError(380, "invalid property value");
    assign(height_, v, true);
}

void Control::move(double l, double t, double w, double h) {
    setLeft(l);
    setTop(t);
    setWidth(w);
    setHeight(h);
}

double Control::clientInset() const {
    if (kind_ == Kind::PictureBox && borderStyle_ == 1) return appearance_ == 1 ? 2 * twipsPerPixelX() : twipsPerPixelX();
    return 0;
}

void Control::setVisible(bool v) {
    if (!assign(visible_, v)) return;
    if (!v && form_ && form_->active_ && (form_->active_ == this)) form_->active_ = nullptr;
}

bool Control::shown() const {
    for (const Control* c = this; c; c = c->container_)
        if (!c->visible_) return false;
    return true;
}

void Control::setText(const QString& t) {
    QString nt = (maxLength_ > 0 && t.size() > maxLength_) ? t.left(maxLength_) : t;
    if (kind_ != Kind::TextBox) {
        setCaption(nt);
        return;
    }
    // A program-made assignment raises Change even when the text stays: the
    // step checks rely on it when a pre-fill equals the box's text.
    if (text_ != nt) {
        text_ = nt;
        selStart_ = std::min(selStart_, static_cast<int>(text_.size()));
        selLength_ = 0;
        propertyChanged();
    }
    raiseChange();
}

void Control::setSelStart(int v) {
    if (v < 0) throw RuntimeError(380, "invalid property value");
    v = std::min(v, static_cast<int>(text_.size()));
    if (selStart_ == v && selLength_ == 0) return;
    selStart_ = v;
    selLength_ = 0;
    propertyChanged();
}

void Control::setSelLength(int v) {
    if (v < 0) throw RuntimeError(380, "invalid property value");
    assign(selLength_, std::min(v, static_cast<int>(text_.size()) - selStart_));
}

QString Control::selText() const { return text_.mid(selStart_, selLength_); }

void Control::setSelText(const QString& t) {
    QString nt = text_.left(selStart_) + t + text_.mid(selStart_ + selLength_);
    int pos = selStart_ + static_cast<int>(t.size());
    setText(nt);
    selStart_ = std::min(pos, static_cast<int>(text_.size()));
    selLength_ = 0;
}

void Control::setPicture(Picture p) {
    double w = width_, h = height_;
    if (!p.isNull()) {
        bool takeSize = (kind_ == Kind::Image && !stretch_) || (kind_ == Kind::PictureBox && autoSize_);
        if (takeSize) {
            w = pictureWidthTwips(p.image()) + 2 * clientInset();
            h = pictureHeightTwips(p.image()) + 2 * clientInset();
        }
    }
    // The same picture at the same size (clearing an empty one) is no change.
    if (p == picture_ && w == width_ && h == height_) return;
    propertyChanged();
    picture_ = std::move(p);
    width_ = w;
    height_ = h;
    propertyChanged();
}

void Control::setAutoSize(bool v) {
    if (!assign(autoSize_, v)) return;
    if (v && !picture_.isNull() && kind_ == Kind::PictureBox) setPicture(picture_);
    if (v && kind_ == Kind::Label) fitToCaption();
}

void Control::setLine(double x1, double y1, double x2, double y2) {
    if (left_ == x1 && top_ == y1 && x2_ == x2 && y2_ == y2) return;
    propertyChanged();
    left_ = x1;
    top_ = y1;
    x2_ = x2;
    y2_ = y2;
    propertyChanged();
}

void Control::addItem(const QString& s) {
    items_ << s;
    propertyChanged();
}

void Control::clearItems() {
    if (items_.isEmpty() && listIndex_ == -1) return;
    items_.clear();
    listIndex_ = -1;
    propertyChanged();
}

void Control::setListIndex(int i) {
    if (i < -1 || i >= listCount()) throw RuntimeError(380, "invalid property value");
    if (!assign(listIndex_, i)) return;
    raiseClick();
}

void Control::setValue(int v) {
    if (kind_ == Kind::CommandButton) {
        if (v) raiseClick();
        return;
    }
    if (!assign(value_, v)) return;
    raiseClick();
}

void Control::zOrder(int pos) {
    Container* p = container_ ? static_cast<Container*>(container_) : static_cast<Container*>(form_);
    auto& v = p->children_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    if (pos == 0)
        v.push_back(this);
    else
        v.insert(v.begin(), this);
    propertyChanged();
}

double Control::formX() const {
    double x = left_;
    for (const Control* c = container_; c; c = c->container_) x += c->left_ + c->clientInset();
    return x;
}

double Control::formY() const {
    double y = top_;
    for (const Control* c = container_; c; c = c->container_) y += c->top_ + c->clientInset();
    return y;
}

void Control::setFocus() {
    if (!shown() || !enabled_) throw RuntimeError(5, "invalid procedure call");
    form_->setActiveControl(this);
}

void Control::raiseClick() {
    if (onClick) form_->dispatch("Click", [&] { onClick(*this); });
}

void Control::raiseDblClick() {
    if (onDblClick) form_->dispatch("DblClick", [&] { onDblClick(*this); });
}

void Control::raiseChange() {
    if (onChange) form_->dispatch("Change", [&] { onChange(*this); });
}

void Control::raiseMouse(const std::function<void(Control&, const MouseArgs&)>& h, const MouseArgs& a) {
    if (h) form_->dispatch("Mouse", [&] { h(*this, a); });
}

void Control::copyFrom(const Control& o) {
    propertyChanged();
    left_ = o.left_;
    top_ = o.top_;
    width_ = o.width_;
    height_ = o.height_;
    x2_ = o.x2_;
    y2_ = o.y2_;
    enabled_ = o.enabled_;
    caption_ = o.caption_;
    text_ = o.text_;
    locked_ = o.locked_;
    multiLine_ = o.multiLine_;
    maxLength_ = o.maxLength_;
    scrollBars_ = o.scrollBars_;
    picture_ = o.picture_;
    stretch_ = o.stretch_;
    autoSize_ = o.autoSize_;
    backColor_ = o.backColor_;
    foreColor_ = o.foreColor_;
    backStyle_ = o.backStyle_;
    borderStyle_ = o.borderStyle_;
    appearance_ = o.appearance_;
    alignment_ = o.alignment_;
    graphical_ = o.graphical_;
    fontName_ = o.fontName_;
    fontSize_ = o.fontSize_;
    bold_ = o.bold_;
    italic_ = o.italic_;
    underline_ = o.underline_;
    mousePointer_ = o.mousePointer_;
    mouseIcon_ = o.mouseIcon_;
    toolTip_ = o.toolTip_;
    shape_ = o.shape_;
    borderColor_ = o.borderColor_;
    borderWidth_ = o.borderWidth_;
    fillStyle_ = o.fillStyle_;
    fillColor_ = o.fillColor_;
    tabStop_ = o.tabStop_;
    aboveWindowed_ = o.aboveWindowed_;
    onClick = o.onClick;
    onDblClick = o.onDblClick;
    onChange = o.onChange;
    onGotFocus = o.onGotFocus;
    onLostFocus = o.onLostFocus;
    onMouseDown = o.onMouseDown;
    onMouseUp = o.onMouseUp;
    onMouseMove = o.onMouseMove;
    onKeyDown = o.onKeyDown;
    onKeyUp = o.onKeyUp;
    onKeyPress = o.onKeyPress;
    propertyChanged();
}

// ---------------------------------------------------------------- arrays

Control& ControlArray::operator[](int i) const {
    auto it = elems_.find(i);
    if (it == elems_.end())
        throw RuntimeError(340, QString("control array element %1(%2) does not exist").arg(name_).arg(i));
    return *it->second;
}

Control* ControlArray::find(int i) const {
    auto it = elems_.find(i);
    return it == elems_.end() ? nullptr : it->second;
}

Control& ControlArray::load(int i) {
    if (elems_.empty()) throw RuntimeError(340, "control array " + name_ + " has no element");
    if (exists(i)) throw RuntimeError(360, QString("%1(%2) already loaded").arg(name_).arg(i));
    const Control& base = *elems_.begin()->second;
    Control& c = form_->create(base.kind(), name_, i, base.container());
    c.copyFrom(base);
    c.visible_ = false;
    elems_[i] = &c;
    return c;
}

void ControlArray::unload(int i) {
    auto it = elems_.find(i);
    if (it == elems_.end()) throw RuntimeError(340, "no such element");
    Control* c = it->second;
    c->setVisible(false);
    if (form_->active_ == c) form_->active_ = nullptr;
    if (form_->capture_ == c) form_->capture_ = nullptr;
    Container* p = c->container() ? static_cast<Container*>(c->container()) : static_cast<Container*>(form_);
    auto& v = p->children_;
    v.erase(std::remove(v.begin(), v.end(), c), v.end());
    elems_.erase(it);
    c->propertyChanged();
}

int ControlArray::lbound() const {
    if (elems_.empty()) throw RuntimeError(9, "subscript out of range");
    return elems_.begin()->first;
}

int ControlArray::ubound() const {
    if (elems_.empty()) throw RuntimeError(9, "subscript out of range");
    return elems_.rbegin()->first;
}

// ---------------------------------------------------------------- menus

Menu::Menu(Form* form, QString name, int index, Menu* parent)
    : form_(form), name_(std::move(name)), index_(index), parent_(parent) {}

// Menus are read when a popup opens; the view shows nothing of them before.
void Menu::setCaption(const QString& c) { caption_ = c; }
void Menu::setVisible(bool v) { visible_ = v; }
void Menu::setEnabled(bool v) { enabled_ = v; }
void Menu::setChecked(bool v) { checked_ = v; }

void Menu::raiseClick() {
    if (onClick) form_->dispatch("MenuClick", [&] { onClick(*this); });
}

Menu& MenuArray::operator[](int i) const {
    auto it = elems_.find(i);
    if (it == elems_.end()) throw RuntimeError(340, QString("menu element %1(%2) does not exist").arg(name_).arg(i));
    return *it->second;
}

Menu& MenuArray::load(int i) {
    if (elems_.empty()) throw RuntimeError(340, "menu array " + name_ + " has no element");
    if (exists(i)) throw RuntimeError(360, "menu element already loaded");
    const Menu& base = *elems_.begin()->second;
    const Menu& last = *elems_.rbegin()->second;
    auto m = std::make_unique<Menu>(form_, name_, i, base.parent());
    m->caption_ = base.caption_;
    m->enabled_ = base.enabled_;
    m->onClick = base.onClick;
    Menu* raw = m.get();
    std::vector<Menu*>& siblings = base.parent() ? base.parent()->items_ : form_->topMenus_;
    auto pos = std::find(siblings.begin(), siblings.end(), &last);
    siblings.insert(pos == siblings.end() ? siblings.end() : pos + 1, raw);
    form_->menus_.push_back(std::move(m));
    elems_[i] = raw;
    return *raw;
}

int MenuArray::ubound() const {
    if (elems_.empty()) throw RuntimeError(9, "subscript out of range");
    return elems_.rbegin()->first;
}

// ---------------------------------------------------------------- Form

Form::Form(QString name) : name_(std::move(name)) {
    width_ = 4800;
    height_ = 3600;
    visible_ = false;
    borderStyle_ = 2;
}

Form::~Form() {
    *alive_ = false;
    for (auto& t : timers_) t->deactivate();
}

Control& Form::create(Kind kind, const QString& name, int index, Control* container) {
    auto c = std::make_unique<Control>(this, kind, name, index);
    Control* raw = c.get();
    raw->container_ = container;
    Container* p = container ? static_cast<Container*>(container) : static_cast<Container*>(this);
    p->children_.push_back(raw);
    controls_.push_back(std::move(c));
    raw->propertyChanged();
    return *raw;
}

Control& Form::add(Kind kind, const QString& name, Control* container) {
    Control& c = create(kind, name, -1, container);
    named_[name] = &c;
    return c;
}

Control& Form::addElement(Kind kind, const QString& name, int index, Control* container) {
    ControlArray& a = array(name);
    if (a.exists(index)) throw RuntimeError(360, "element exists");
    Control& c = create(kind, name, index, container);
    a.elems_[index] = &c;
    return c;
}

ControlArray& Form::array(const QString& name) {
    auto& slot = arrays_[name];
    if (!slot) slot = std::make_unique<ControlArray>(this, name);
    return *slot;
}

Control& Form::control(const QString& name) const {
    auto it = named_.find(name);
    if (it == named_.end()) throw RuntimeError(424, "no control " + name);
    return *it->second;
}

Timer& Form::addTimer(const QString& name, int interval, bool enabled) {
    timers_.push_back(std::make_unique<Timer>(this, name));
    Timer& t = *timers_.back();
    t.setInterval(interval);
    t.setEnabled(enabled);
    return t;
}

Timer& Form::timer(const QString& name) const {
    for (auto& t : timers_)
        if (t->name() == name) return *t;
    throw RuntimeError(424, "no timer " + name);
}

Menu& Form::addMenu(const QString& name, Menu* parent, int index) {
    auto m = std::make_unique<Menu>(this, name, index, parent);
    Menu* raw = m.get();
    if (parent)
        parent->items_.push_back(raw);
    else
        topMenus_.push_back(raw);
    menus_.push_back(std::move(m));
    if (index >= 0) {
        auto& a = menuArrays_[name];
        if (!a) a = std::make_unique<MenuArray>(this, name);
        a->elems_[index] = raw;
    }
    return *raw;
}

MenuArray& Form::menuArray(const QString& name) {
    auto& a = menuArrays_[name];
    if (!a) a = std::make_unique<MenuArray>(this, name);
    return *a;
}

Menu& Form::menu(const QString& name) const {
    for (auto& m : menus_)
        if (m->name() == name && m->index() < 0) return *m;
    throw RuntimeError(424, "no menu " + name);
}

std::vector<Control*> Form::allControls() const {
    std::vector<Control*> out;
    out.reserve(controls_.size());
    for (auto& c : controls_) out.push_back(c.get());
    return out;
}

// Resize is raised also when the size stays (the program may rely on it).
void Form::setWidth(double v) {
    assign(width_, v);
    if (onResize && loaded_) dispatch("Resize", onResize);
}
void Form::setHeight(double v) {
    assign(height_, v);
    if (onResize && loaded_) dispatch("Resize", onResize);
}
void Form::move(double l, double t, double w, double h) {
    if (left_ != l || top_ != t || width_ != w || height_ != h) {
        left_ = l;
        top_ = t;
        width_ = w;
        height_ = h;
        noteDamageAll();
    }
    if (onResize && loaded_) dispatch("Resize", onResize);
}

double Form::frameLeft() const { return borderStyle_ == 0 ? 0 : 4 * twipsPerPixelX(); }
double Form::frameTop() const { return borderStyle_ == 0 ? 0 : 4 * twipsPerPixelY() + 19 * twipsPerPixelY(); }
double Form::scaleWidth() const { return std::max(0.0, width_ - 2 * frameLeft()); }
double Form::scaleHeight() const {
    return std::max(0.0, height_ - frameTop() - (borderStyle_ == 0 ? 0 : 4 * twipsPerPixelY()));
}

void Form::setVisible(bool v) {
    if (v) {
        show();
        return;
    }
    hide();
}

// Always a change: the view re-applies the state to its window (the user
// may have minimised it meanwhile).
void Form::setWindowState(int s) {
    windowState_ = s;
    noteChange();
}
void Form::setTopmost(bool v) {
    topmost_ = v;
    raiseRequest_ = ++g_raiseSeq;
    noteChange();
}
void Form::setKeyPreview(bool v) { keyPreview_ = v; }
void Form::setPicture(Picture p) { assign(picture_, std::move(p)); }
void Form::setShowInTaskbar(bool v) { assign(showInTaskbar_, v); }

void Form::noteChange() {
    ++revision_;
    touchModel();
}

void Form::noteDamage(const QRectF& r) {
    // Many small rectangles cost more than one repaint of the whole form.
    if (!damage_.all) {
        if (damage_.rects.size() >= 48)
            damage_.all = true;
        else
            damage_.rects.push_back(r);
    }
    noteChange();
}

void Form::noteDamageAll() {
    damage_.all = true;
    noteChange();
}

Form::Damage Form::takeDamage() {
    Damage d = std::move(damage_);
    damage_ = Damage();
    if (d.all) d.rects.clear();
    return d;
}

void Form::runLoad() {
    loaded_ = true;
    g_loaded.push_back(this);
    noteDamageAll();
    if (onLoad) {
        // The load has no boundary of its own: its errors reach the code
        // whose reference loaded the form.
        HandlerScope scope(this);
        onLoad();
    }
}

void Form::show(bool modal) {
    if (unloading_) return;
    if (!visible_) {
        visible_ = true;
        noteDamageAll();
        if (onActivate) dispatch("Activate", onActivate);
    } else {
        raiseRequest_ = ++g_raiseSeq;
        noteChange();
    }
    if (modal) {
        modal_ = true;
        std::shared_ptr<bool> alive = alive_;
        OpenBox open;
        ui().runModal(*this);
        if (*alive) modal_ = false;
    }
}

void Form::hide() {
    if (!visible_) return;
    visible_ = false;
    releaseCapture();
    noteDamageAll();
}

bool Form::unload() {
    if (!loaded_ || unloading_) return true;
    int cancel = 0;
    if (onQueryUnload) dispatch("QueryUnload", [&] { onQueryUnload(cancel, 1); });
    if (cancel) return false;
    if (onUnload) dispatch("Unload", [&] { onUnload(cancel); });
    if (cancel) return false;
    unloading_ = true;
    loaded_ = false;
    visible_ = false;
    capture_ = nullptr;
    for (auto& t : timers_) t->deactivate();
    g_loaded.erase(std::remove(g_loaded.begin(), g_loaded.end(), this), g_loaded.end());
    // What its handlers asked is moot now.
    closeMsgBoxesOf(*this);
    if (onReleased) {
        auto release = std::move(onReleased);
        onReleased = nullptr;
        release();
    }
    g_dead.push_back(this);
    noteDamageAll();
    if (g_globalDepth == 0) collectUnloadedForms();
    return true;
}

void Form::requestClose() {
    if (onDesktopClose) {
        dispatch("DesktopClose", onDesktopClose);
        return;
    }
    int cancel = 0;
    if (onQueryUnload) dispatch("QueryUnload", [&] { onQueryUnload(cancel, 0); });
    if (cancel) return;
    if (onUnload) dispatch("Unload", [&] { onUnload(cancel); });
    if (cancel) return;
    auto q = std::move(onQueryUnload);
    auto u = std::move(onUnload);
    onQueryUnload = nullptr;
    onUnload = nullptr;
    unload();
}

namespace {
// The forms of the running handlers, outermost first.
std::vector<Form*> g_handlerForms;
}

HandlerScope::HandlerScope(Form* f) : f_(f) {
    if (f_) {
        ++f_->depth_;
        g_handlerForms.push_back(f_);
    }
    ++g_globalDepth;
}

HandlerScope::~HandlerScope() {
    if (f_) {
        --f_->depth_;
        g_handlerForms.pop_back();
    }
    if (--g_globalDepth == 0) collectUnloadedForms();
}

Form* handlerForm() { return g_handlerForms.empty() ? nullptr : g_handlerForms.back(); }

void Form::dispatch(const char* what, const std::function<void()>& fn) {
    HandlerScope scope(this);
    try {
        fn();
    } catch (const std::exception& e) {
        qWarning("%s.%s: %s", qPrintable(name_), what, e.what());
    } catch (...) {
        qWarning("%s.%s: unknown error", qPrintable(name_), what);
    }
}

const std::vector<Form*>& loadedForms() { return g_loaded; }

void collectUnloadedForms() {
    if (g_globalDepth != 0) return;
    auto dead = std::move(g_dead);
    g_dead.clear();
    for (Form* f : dead) {
        if (f->handlerDepth() == 0)
            delete f;
        else
            g_dead.push_back(f);
    }
}

void unloadAllForms() {
    auto forms = g_loaded;
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        Form* f = *it;
        f->onQueryUnload = nullptr;
        f->onUnload = nullptr;
        f->unload();
    }
    collectUnloadedForms();
}

void maximiseOnWorkArea(Form& f) {
    const ScreenInfo::Area work = platform().screen().workArea();
    f.setWindowState(StateMaximized);
    f.move(work.left, work.top, work.width, work.height);
}

} // namespace core
