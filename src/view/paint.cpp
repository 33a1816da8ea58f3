// Drawing of windowless controls and painted windowed controls; pointers
// and fonts.
#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>

#include "core/pictures.h"
#include "view/form_window.h"
#include "view/paint.h"
#include "view/view_host.h"

namespace view {

namespace {

int toPixels(double twips, double perPixel) {
    double v = perPixel > 0 ? twips / perPixel : 0;
    if (!std::isfinite(v)) return 0;
    return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6)));
}

QColor colour(uint32_t c) { return QColor(core::toQRgb(c)); }

QRect boundsOf(const core::Control& c) {
    return QRect(pxX(c.left()), pxY(c.top()), std::max(0, pxX(c.width())), std::max(0, pxY(c.height())));
}

Qt::PenStyle penStyle(int borderStyle) {
    switch (borderStyle) {
    case 2: return Qt::DashLine;
    case 3: return Qt::DotLine;
    case 4: return Qt::DashDotLine;
    case 5: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
    }
}

int hAlign(int alignment) {
    return alignment == 1 ? Qt::AlignRight : alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
}

void paintLabel(QPainter& p, const core::Control& c) {
    QRect r = boundsOf(c);
    if (r.isEmpty()) return;
    p.save();
    p.setClipRect(r);
    if (c.backStyle() == 1) p.fillRect(r, colour(c.backColor()));
    if (c.borderStyle() == 1) {
        p.setPen(QColor(0, 0, 0));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    const CaptionLayout cap = captionLayout(c);
    p.setFont(cap.font);
    p.setPen(c.enabled() ? colour(c.foreColor()) : QColor(128, 128, 128));
    p.drawText(cap.rect.translated(r.topLeft()), cap.flags, c.caption());
    p.restore();
}

void paintImage(QPainter& p, const core::Control& c) {
    QRect r = boundsOf(c);
    if (r.isEmpty()) return;
    p.save();
    p.setClipRect(r);
    if (const core::Picture& pic = c.picture(); !pic.isNull()) {
        if (c.stretch())
            p.drawImage(r, pic.image());
        else
            p.drawImage(r.topLeft(), pic.image());
    }
    if (c.borderStyle() == 1) {
        p.setPen(QColor(0, 0, 0));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    p.restore();
}

void paintShape(QPainter& p, const core::Control& c) {
    QRect r = boundsOf(c);
    if (r.isEmpty()) return;
    const int shape = c.shape();
    if (shape == 1 || shape == 3 || shape == 5) {  // square, circle, rounded square
        int side = std::min(r.width(), r.height());
        r = QRect(r.x() + (r.width() - side) / 2, r.y() + (r.height() - side) / 2, side, side);
    }
    const int bw = c.borderStyle() == 0 ? 0 : std::max(1, c.borderWidth());
    // The border lies inside the control's rectangle.
    QRectF body = QRectF(r).adjusted(bw / 2.0, bw / 2.0, -bw / 2.0, -bw / 2.0);
    const bool oval = shape == 2 || shape == 3;
    const bool rounded = shape == 4 || shape == 5;
    const double radius = std::min(r.width(), r.height()) / 6.0;
    auto draw = [&](const QRectF& rect) {
        if (oval)
            p.drawEllipse(rect);
        else if (rounded)
            p.drawRoundedRect(rect, radius, radius);
        else
            p.drawRect(rect);
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing, oval || rounded);
    p.setPen(Qt::NoPen);
    if (c.backStyle() == 1) {
        p.setBrush(colour(c.backColor()));
        draw(body);
    }
    static const Qt::BrushStyle fills[] = {Qt::SolidPattern, Qt::NoBrush, Qt::HorPattern, Qt::VerPattern,
                                           Qt::BDiagPattern, Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    const int fs = c.fillStyle();
    Qt::BrushStyle brush = fs >= 0 && fs < 8 ? fills[fs] : Qt::NoBrush;
    if (brush != Qt::NoBrush) {
        p.setBrush(QBrush(colour(c.fillColor()), brush));
        draw(body);
    }
    if (bw > 0) {
        QPen pen(colour(c.borderColor()), bw, penStyle(c.borderStyle()));
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        draw(body);
    }
    p.restore();
}

void paintLine(QPainter& p, const core::Control& c) {
    if (c.borderStyle() == 0) return;
    p.save();
    p.setPen(QPen(colour(c.borderColor()), std::max(1, c.borderWidth()), penStyle(c.borderStyle())));
    p.drawLine(QPoint(pxX(c.x1()), pxY(c.y1())), QPoint(pxX(c.x2()), pxY(c.y2())));
    p.restore();
}

} // namespace

void raisedEdge(QPainter& p, const QRect& r, bool sunken) {
    const QColor light(255, 255, 255), mid(128, 128, 128), dark(64, 64, 64);
    QRect o = r.adjusted(0, 0, -1, -1);
    p.setPen(sunken ? dark : light);
    p.drawLine(o.topLeft(), o.topRight());
    p.drawLine(o.topLeft(), o.bottomLeft());
    p.setPen(sunken ? light : dark);
    p.drawLine(o.bottomLeft(), o.bottomRight());
    p.drawLine(o.topRight(), o.bottomRight());
    QRect i = o.adjusted(1, 1, -1, -1);
    p.setPen(mid);
    if (sunken) {
        p.drawLine(i.topLeft(), i.topRight());
        p.drawLine(i.topLeft(), i.bottomLeft());
    } else {
        p.drawLine(i.bottomLeft(), i.bottomRight());
        p.drawLine(i.topRight(), i.bottomRight());
    }
}

int pxX(double twips) { return toPixels(twips, core::twipsPerPixelX()); }
int pxY(double twips) { return toPixels(twips, core::twipsPerPixelY()); }

void paintWindowless(QPainter& p, const core::Container& cont, bool above) {
    for (const core::Control* c : cont.children()) {
        if (!c->visible() || !core::isWindowless(c->kind()) || c->aboveWindowed() != above) continue;
        switch (c->kind()) {
        case core::Kind::Label: paintLabel(p, *c); break;
        case core::Kind::Image: paintImage(p, *c); break;
        case core::Kind::Shape: paintShape(p, *c); break;
        case core::Kind::Line: paintLine(p, *c); break;
        default: break;
        }
    }
}

void paintSurface(QPainter& p, QWidget& w, const core::Control& c, bool pressed) {
    const QRect r = w.rect();
    switch (c.kind()) {
    case core::Kind::PictureBox: {
        p.fillRect(r, colour(c.backColor()));
        const int in = pxX(c.clientInset());
        if (c.borderStyle() == 1) {
            if (in >= 2) {
                raisedEdge(p, r, true);
            } else {
                p.setPen(QColor(0, 0, 0));
                p.drawRect(r.adjusted(0, 0, -1, -1));
            }
        }
        p.save();
        p.setClipRect(r.adjusted(in, in, -in, -in));
        p.translate(in, in);
        if (const core::Picture& pic = c.picture(); !pic.isNull()) p.drawImage(0, 0, pic.image());
        paintWindowless(p, c);
        p.restore();
        break;
    }
    case core::Kind::Frame: {
        p.fillRect(r, colour(c.backColor()));
        QFontMetrics fm(w.font());
        const int top = c.caption().isEmpty() ? 0 : fm.height() / 2;
        if (c.borderStyle() != 0) {
            QRect b = r.adjusted(0, top, -1, -1);
            p.setPen(QColor(128, 128, 128));
            p.drawRect(b.adjusted(0, 0, -1, -1));
            p.setPen(QColor(255, 255, 255));
            p.drawRect(b.adjusted(1, 1, 0, 0));
        }
        if (!c.caption().isEmpty()) {
            QString text = c.caption();
            int tw = fm.horizontalAdvance(text) + 4;
            QRect tr(6, 0, tw, fm.height());
            p.fillRect(tr, colour(c.backColor()));
            p.setPen(c.enabled() ? colour(c.foreColor()) : QColor(128, 128, 128));
            p.drawText(tr, Qt::AlignCenter | Qt::TextHideMnemonic, text);
        }
        paintWindowless(p, c);
        break;
    }
    case core::Kind::CommandButton: {
        if (c.graphicalStyle()) {
            p.fillRect(r, colour(c.backColor()));
            const core::Picture& pic = c.picture();
            QFontMetrics fm(w.font());
            const bool hasText = !c.caption().isEmpty();
            if (!pic.isNull()) {
                const QImage& img = pic.image();
                int avail = r.height() - (hasText ? fm.height() : 0);
                QPoint at(r.center().x() - img.width() / 2 + 1, std::max(0, (avail - img.height()) / 2));
                if (pressed) at += QPoint(1, 1);
                p.drawImage(at, img);
            }
            if (hasText) {
                p.setPen(c.enabled() ? colour(c.foreColor()) : QColor(128, 128, 128));
                const CaptionLayout cap = captionLayout(c);
                p.drawText(cap.rect.translated(pressed ? 1 : 0, pressed ? 1 : 0), cap.flags, c.caption());
            }
            raisedEdge(p, r, pressed);
        } else {
            QStyleOptionButton opt;
            opt.initFrom(&w);
            opt.rect = r;
            opt.text = c.caption();
            opt.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
            if (!c.enabled()) opt.state &= ~QStyle::State_Enabled;
            w.style()->drawControl(QStyle::CE_PushButton, &opt, &p, &w);
        }
        break;
    }
    case core::Kind::CheckBox: {
        p.fillRect(r, colour(c.backColor()));
        QStyleOptionButton opt;
        opt.initFrom(&w);
        opt.rect = r;
        opt.text = c.caption();
        opt.state |= c.value() == 1 ? QStyle::State_On : c.value() == 2 ? QStyle::State_NoChange : QStyle::State_Off;
        if (!c.enabled()) opt.state &= ~QStyle::State_Enabled;
        opt.palette.setColor(QPalette::WindowText, colour(c.foreColor()));
        w.style()->drawControl(QStyle::CE_CheckBox, &opt, &p, &w);
        break;
    }
    default: break;
    }
}

// ---------------------------------------------------------------- pointers

Qt::CursorShape pointerShape(int pointer) {
    switch (pointer) {
    case core::PtrCross: return Qt::CrossCursor;
    case core::PtrIBeam: return Qt::IBeamCursor;
    case core::PtrSize: return Qt::SizeAllCursor;
    case core::PtrSizeNESW: return Qt::SizeBDiagCursor;
    case core::PtrSizeNS: return Qt::SizeVerCursor;
    case core::PtrSizeNWSE: return Qt::SizeFDiagCursor;
    case core::PtrSizeWE: return Qt::SizeHorCursor;
    case core::PtrUpArrow: return Qt::UpArrowCursor;
    case core::PtrHourglass: return Qt::WaitCursor;
    case core::PtrNoDrop: return Qt::ForbiddenCursor;
    case core::PtrArrowHourglass: return Qt::BusyCursor;
    case core::PtrArrowQuestion: return Qt::WhatsThisCursor;
    case core::PtrSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;  // default, arrow, icon, unknown
    }
}

namespace {
QCursor customCursor(const QString& path) {
    // Cursor files are part of the read-only module: read each once.
    static QHash<QString, QCursor> cache;
    auto it = cache.constFind(path);
    if (it != cache.constEnd()) return *it;
    QCursor cur(Qt::ArrowCursor);
    if (!path.isEmpty()) {
        core::CursorImage ci = core::readCursorFile(path);
        if (ci.ok && !ci.image.isNull()) cur = QCursor(QPixmap::fromImage(ci.image), ci.hotX, ci.hotY);
    }
    cache.insert(path, cur);
    return cur;
}
}

QCursor pointerCursor(int pointer, const QString& iconFile, Qt::CursorShape dflt) {
    if (pointer == core::PtrDefault) return QCursor(dflt);
    if (pointer == core::PtrCustom) return customCursor(iconFile);
    return QCursor(pointerShape(pointer));
}

QCursor cursorOver(const core::Form& form, const core::Control* c) {
    for (const core::Control* k = c; k; k = k->container()) {
        if (k->mousePointer() != core::PtrDefault) return pointerCursor(k->mousePointer(), k->mouseIcon());
        // A windowless control shows its container's pointer.
        if (!core::isWindowless(k->kind())) return QCursor(k->kind() == core::Kind::TextBox ? Qt::IBeamCursor : Qt::ArrowCursor);
    }
    return pointerCursor(form.mousePointer(), form.mouseIcon());
}

bool sameCursor(const QCursor& a, const QCursor& b) {
    if (a.shape() != b.shape()) return false;
    if (a.shape() != Qt::BitmapCursor) return true;
    return a.pixmap().cacheKey() == b.pixmap().cacheKey() && a.hotSpot() == b.hotSpot();
}

void applyCursor(QWidget* w, const QCursor& c) {
    if (!sameCursor(w->cursor(), c)) w->setCursor(c);
}

// ---------------------------------------------------------------- fonts

QFont controlFont(const core::Control& c) {
    static QHash<QString, QString> families;
    auto it = families.constFind(c.fontName());
    if (it == families.constEnd()) {
        QString fam = QFontDatabase::hasFamily(c.fontName()) ? c.fontName() : QStringLiteral("WenQuanYi Micro Hei");
        it = families.insert(c.fontName(), fam);
    }
    QFont f(*it);
    double size = c.fontSize();
    f.setPointSizeF(std::isfinite(size) && size > 0 ? std::min(size, 500.0) : 9.0);
    f.setBold(c.fontBold());
    f.setItalic(c.fontItalic());
    f.setUnderline(c.fontUnderline());
    return f;
}

namespace {

bool closerStandIns = true;

// Installed faces nearer in metrics and look than the sans stand-in to the
// font named, best first: Ming faces for Song-style fonts, Kai faces (then
// Ming) for Kai-style ones.
QStringList closerFaces(const QString& named) {
    static const QString ming = QStringLiteral("AR PL UMing CN"), kai = QStringLiteral("AR PL UKai CN");
    auto has = [&named](const char* word) { return named.contains(QLatin1String(word), Qt::CaseInsensitive); };
    QStringList faces;
    if (named.contains(u'楷') || has("kai"))
        faces = {kai, ming};
    else if (named.contains(u'宋') || named.contains(u'明') || has("song") || has("sun") || has("ming"))
        faces = {ming};
    QStringList installed;
    for (const QString& f : faces)
        if (QFontDatabase::hasFamily(f)) installed << f;
    return installed;
}

// Within half a pixel: what a glyph's overhang loses to the clip is not seen.
bool fitsIn(const QFont& f, const QString& text, QSize box, int flags) {
    const QRectF need = QFontMetricsF(f).boundingRect(QRectF(QPointF(0, 0), QSizeF(box)), flags, text);
    return need.width() <= box.width() + 0.5 && need.height() <= box.height() + 0.5;
}

QFont fitCaption(const QFont& base, const QString& named, const QString& text, QSize box, int flags) {
    // The font named draws the caption as its box was made for.
    if (base.family() == named || fitsIn(base, text, box, flags)) return base;
    if (closerStandIns) {
        for (const QString& face : closerFaces(named)) {
            QFont f = base;
            f.setFamily(face);
            if (fitsIn(f, text, box, flags)) return f;
        }
    }
    // The stand-in at the largest size, in half points, at which it fits
    // (half a point at the least).
    QFont shrink = base;
    int lo = 2, hi = static_cast<int>(std::ceil(base.pointSizeF() * 2)) - 1, best = 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        shrink.setPointSizeF(mid / 2.0);
        if (fitsIn(shrink, text, box, flags)) {
            best = mid;
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    shrink.setPointSizeF(best / 2.0);
    return shrink;
}

// Fitted fonts by font, box and caption: a repaint measures nothing.
QHash<QString, QFont>& fitCache() {
    static QHash<QString, QFont> cache;
    return cache;
}

QFont fittedFont(const QFont& base, const QString& named, const QString& text, QSize box, int flags) {
    if (text.isEmpty() || box.isEmpty()) return base;
    QString key = base.key();
    key += QChar(u'\x1f') + named + QChar(u'\x1f') + QString::number(flags) + QChar(u'x') +
           QString::number(box.width()) + QChar(u'x') + QString::number(box.height()) + QChar(u'\x1f') + text;
    QHash<QString, QFont>& cache = fitCache();
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return *it;
    if (cache.size() > 4096) cache.clear();
    return *cache.insert(key, fitCaption(base, named, text, box, flags));
}

} // namespace

void useCloserStandIns(bool on) {
    closerStandIns = on;
    fitCache().clear();
}

CaptionLayout captionLayout(const core::Control& c) {
    CaptionLayout cap;
    const QRect r(0, 0, std::max(0, pxX(c.width())), std::max(0, pxY(c.height())));
    switch (c.kind()) {
    case core::Kind::Label:
        cap.rect = c.borderStyle() == 1 ? r.adjusted(1, 1, -1, -1) : r;
        // AutoSize labels are as large as their caption's lines; others wrap.
        cap.flags = Qt::AlignTop | hAlign(c.alignment()) | Qt::TextShowMnemonic | (c.autoSize() ? 0 : Qt::TextWordWrap);
        break;
    case core::Kind::CommandButton:
        if (c.graphicalStyle()) {
            cap.rect = r.adjusted(2, 2, -2, -2);
            cap.flags = (c.picture().isNull() ? Qt::AlignCenter : (Qt::AlignHCenter | Qt::AlignBottom)) |
                        Qt::TextShowMnemonic | Qt::TextWordWrap;
        } else {
            QStyleOptionButton opt;
            opt.rect = r;
            opt.text = c.caption();
            cap.rect = QApplication::style()->subElementRect(QStyle::SE_PushButtonContents, &opt);
            cap.flags = Qt::AlignCenter | Qt::TextShowMnemonic;
        }
        break;
    case core::Kind::CheckBox: {
        QStyleOptionButton opt;
        opt.rect = r;
        opt.text = c.caption();
        cap.rect = QApplication::style()->subElementRect(QStyle::SE_CheckBoxContents, &opt);
        cap.flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
        break;
    }
    case core::Kind::Frame:
        // Drawn over the top edge, inset from the corners.
        cap.rect = QRect(8, 0, std::max(0, r.width() - 16), r.height());
        cap.flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextHideMnemonic;
        break;
    default: cap.rect = r; break;
    }
    cap.font = fittedFont(controlFont(c), c.fontName(), c.caption(), cap.rect.size(), cap.flags);
    return cap;
}

} // namespace view
