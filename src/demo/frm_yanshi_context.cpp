// The demonstration's drawn context menu and its cascade: drawn with labels
// and lines at the pointer from the context-menu file, the expected row
// framed, and the pointer's flights to the row and to the cascade's entry.
#include "demo/frm_yanshi.h"
#include "demo/frm_yanshi_util.h"

#include <QImage>

#include "context_menu/context_menu_file.h"
#include "core/errors.h"
#include "core/state.h"
#include "core/text.h"

namespace demo {

using core::Control;
using core::ControlArray;
using detail::st;
using detail::sx;
using detail::sy;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int kCascadeRows[] = {1, 3, 5, 7, 8};

// The cascade arrow: a black triangle pointing right on white, 4 x 7 pixels.
QImage cascadeArrow() {
    QImage img(4, 7, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 0; x < 4; ++x)
        for (int y = x; y <= 6 - x; ++y) img.setPixel(x, y, qRgb(0, 0, 0));
    return img;
}

// What the demonstration reads of a right-click step: the code (the
// ActionCode, or the "R"/"RA" code of columns 86-90), the set (a first
// character "3" or "4" of the ActionCode wins over the code), the menu,
// and the row and entry, always from the ActionCode's last two digits.
struct ContextStep {
    int16_t code = 0;
    int set = 0;
    int menu = 0;
    int row = 0;
    int entry = 0;
};

ContextStep contextStep() {
    const QString line = core::session().StepLine;
    const QString action = core::mid(line, 8, 4);
    ContextStep c;
    c.code = context_menu::contextCode(line);
    c.set = context_menu::codeSet(c.code);
    if (action.startsWith(u'3')) c.set = 1;
    if (action.startsWith(u'4')) c.set = 2;
    c.menu = context_menu::codeMenu(c.code);
    c.row = core::val16(core::mid(action, 3, 1));
    c.entry = core::val16(core::mid(action, 4, 1));
    return c;
}

// The menu's 15 block lines, read afresh; all empty when the file cannot be
// read (every row is then present, with empty texts).
context_menu::Block menuBlock(int set, int menu) {
    return context_menu::readBlock(context_menu::contextMenuFile(), set, menu).value_or(context_menu::Block{});
}

bool isEntryRow(int row) { return row == 2 || row == 4 || row == 6 || row == 9; }

// Lays a group's entries one under the other from y, 270 twips an entry
// and 135 a separator "-", labels at left + 300; keeps the widest label.
// Separators beyond the lines there are keep their gap.
void layEntries(const QStringList& items, ControlArray& labels, ControlArray& separators, double left, int& y,
                int& widest, int& sepNo) {
    for (int j = 0; j < items.size(); ++j) {
        if (items[j] == u"-") {
            st([&] {
                Control& sep = separators[sepNo];
                sep.setVisible(true);
                sep.setLine(left + 60, y, sep.x2(), y);
            });
            y += 135;
            ++sepNo;
            continue;
        }
        Control& label = labels[j];
        st([&] { label.setCaption(items[j]); });
        st([&] { label.setVisible(true); });
        st([&] { label.move(left + 300, y); });
        st([&] {
            if (label.width() > widest) widest = cint16(label.width());
        });
        y += 270;
    }
}

} // namespace

void FrmYanShi::styleDrawnMenus() {
    for (Control* body : {&LRightMMenu, &LRightSub}) {
        body->setBackStyle(1);
        body->setBackColor(kWhite);
        body->setBorderStyle(0);
        body->setCaption(QString());
        body->setVisible(false);
    }
    const core::Picture arrow(cascadeArrow());
    for (int r : kCascadeRows) ImgJLSanjiao[r].setPicture(arrow);
    for (core::ControlArray* a : {&LRM2, &LRM4, &LRM6, &LRM9, &LRMJL, &LRS})
        for (const auto& [i, c] : a->elements()) {
            c->setAutoSize(true);
            c->setCaption(QString());
            c->setVisible(false);
        }
    for (core::ControlArray* a : {&LRFGX, &LRSFgx})
        for (const auto& [i, c] : a->elements()) c->setVisible(false);

    // The drawn menus lie over the step's pictures and boxes; in front of
    // them the target frame, the ring and the pointer.
    std::vector<Control*> menus{&LRightMMenu, &ShapeRMain, &LRightSub, &ShapeRSUB};
    for (core::ControlArray* a : {&LRM2, &LRM4, &LRM6, &LRM9, &LRMJL, &ImgJLSanjiao, &LRFGX, &LRS, &LRSFgx})
        for (const auto& [i, c] : a->elements()) menus.push_back(c);
    for (Control* c : menus) c->setAboveWindowed(true);
    // The cascade in front of the main menu, each body behind its texts.
    for (Control* c : {&LRightMMenu, &ShapeRMain}) c->zOrder(0);
    for (core::ControlArray* a : {&LRM2, &LRM4, &LRM6, &LRM9, &LRMJL, &ImgJLSanjiao, &LRFGX})
        for (const auto& [i, c] : a->elements()) c->zOrder(0);
    for (Control* c : {&LRightSub, &ShapeRSUB}) c->zOrder(0);
    for (core::ControlArray* a : {&LRS, &LRSFgx})
        for (const auto& [i, c] : a->elements()) c->zOrder(0);
    Shape1.setAboveWindowed(true);
    for (Control* c : {&Shape1, &Shape5, &ImgICO}) c->zOrder(0);
    // The pointer in front of all, its outline over its fill.
    for (core::ControlArray* a : {&LPoinB, &LPoint})
        for (const auto& [i, c] : a->elements()) c->zOrder(0);
}

void FrmYanShi::clearDrawnMenus() {
    for (int n = 0; n <= 9; ++n) {
        for (core::ControlArray* a : {&LRM2, &LRM4, &LRM6, &LRM9}) {
            st([&] { (*a)[n].setVisible(false); });
            st([&] { (*a)[n].setCaption(QString()); });
        }
        st([&] { LRFGX[n].setVisible(false); });
        st([&] { LRS[n].setVisible(false); });
        st([&] { LRS[n].setCaption(QString()); });
    }
    for (int r : kCascadeRows) {
        st([&] { LRMJL[r].setVisible(false); });
        st([&] { LRMJL[r].setCaption(QString()); });
        st([&] { ImgJLSanjiao[r].setVisible(false); });
    }
    for (int n = 0; n <= 5; ++n) st([&] { LRSFgx[n].setVisible(false); });
    for (Control* c : {&LRightMMenu, &ShapeRMain, &LRightSub, &ShapeRSUB}) st([&] { c->setVisible(false); });
}

// ------------------------------------------------------------------ the drawn menu

void FrmYanShi::RightKeyMenu() {
    if (!core::session().DemoRunning) return;
    Flight& f = m.flight;
    Control& body = LRightMMenu;
    for (Control* c : {&LRightMMenu, &ShapeRMain}) {
        st([&] { c->setVisible(true); });
        st([&] { c->move(f.pointerX, f.pointerY); });
    }
    int y = 0, widest = 0, s = 0;
    st([&] { y = cint16(body.top() + 90); });

    const ContextStep cs = contextStep();
    m.StepCode = cs.code;
    m.ContextMenuNo = int16_t(cs.menu);
    const context_menu::Block block = menuBlock(cs.set, cs.menu);

    ControlArray* groups[10] = {nullptr, nullptr, &LRM2, nullptr, &LRM4, nullptr, &LRM6, nullptr, nullptr, &LRM9};
    for (int row = 1; row <= 9; ++row) {
        const int captionLine = context_menu::captionLineOf(row);
        if (captionLine) {
            const QString& caption = block[captionLine - 1];
            if (context_menu::isAbsent(caption)) continue;
            st([&] { LRMJL[row].setCaption(caption); });
            st([&] { LRMJL[row].setVisible(true); });
            st([&] { LRMJL[row].move(body.left() + 300, y); });
            st([&] { ImgJLSanjiao[row].setVisible(true); });
            st([&] { ImgJLSanjiao[row].setTop(y + 30); });
            y += 270;
            continue;
        }
        const QString& line = block[context_menu::entriesLineOf(row) - 1];
        if (context_menu::isAbsent(line)) continue;
        // Past the tenth separator the gap stays, with no line.
        layEntries(context_menu::splitEntries(line), *groups[row], LRFGX, body.left(), y, widest, s);
    }

    st([&] { body.setWidth(widest + 690); });
    st([&] { body.setHeight(y - body.top()); });
    st([&] { ShapeRMain.move(body.left(), body.top(), body.width(), body.height()); });
    for (int r : kCascadeRows) st([&] { ImgJLSanjiao[r].setLeft(body.left() + body.width() - 180); });
    for (int k = 0; k <= 9; ++k) st([&] { LRFGX[k].setLine(LRFGX[k].x1(), LRFGX[k].y1(), LRFGX[k].x1() + body.width() - 120, LRFGX[k].y2()); });

    // Kept inside the window: opened to the left of the pointer near the
    // right edge, raised to end 600 twips above the bottom near the bottom.
    auto shift = [&](double dx, double dy) {
        for (Control* c : {&LRightMMenu, &ShapeRMain}) st([&] { c->move(c->left() + dx, c->top() + dy); });
        for (ControlArray* a : {&LRM2, &LRM4, &LRM6, &LRM9, &LRMJL, &ImgJLSanjiao})
            for (const auto& [i, c] : a->elements()) st([&] { c->move(c->left() + dx, c->top() + dy); });
        for (const auto& [i, c] : LRFGX.elements())
            st([&] { c->setLine(c->x1() + dx, c->y1() + dy, c->x2() + dx, c->y2() + dy); });
    };
    st([&] {
        const double w = body.width();
        if (body.left() + w >= width() - w) shift(-w, 0);
    });
    st([&] {
        const double h = body.height();
        if (body.top() + h >= height() - 300 * sy()) shift(0, -(body.top() + h - (height() - 600 * sy())));
    });

    // The expected row: an entry of a group, or a cascade's caption.
    st([&] { aimAt(isEntryRow(cs.row) ? (*groups[cs.row])[cs.entry] : LRMJL[cs.row]); });
    st([&] { Shape1.move(body.left(), f.targetY - 135 * sy(), body.width(), 270 * sy()); });
    st([&] { FlightSetup(f); });
    TimerRM.setEnabled(true);
}

void FrmYanShi::TimerRM_Timer() {
    if (!core::session().DemoRunning) return;
    FlightMove(m.flight);
    st([&] { pointMove(); });
    if (!ArrivalTest(m.flight, sx())) return;
    if (isEntryRow(contextStep().row)) {
        ringAtPointer();
        TimerRM.setEnabled(false);
        st([&] { doNext(); });
    } else {
        TimerRM.setEnabled(false);
        st([&] { RightKeySub(); });
    }
    TimerRM.setEnabled(false);
}

// ------------------------------------------------------------------ the cascade

void FrmYanShi::RightKeySub() {
    if (!core::session().DemoRunning) return;
    Flight& f = m.flight;
    const ContextStep cs = contextStep();
    m.StepCode = cs.code;
    m.ContextMenuNo = int16_t(cs.menu);

    Control& body = LRightSub;
    st([&] { body.setVisible(true); });
    st([&] { ShapeRSUB.setVisible(true); });
    // Beside the menu, overlapping its right edge by 60 twips, at the top of
    // the cascade's row; never moved to stay inside the window.
    st([&] { body.setLeft(LRightMMenu.left() + LRightMMenu.width() - 60); });
    st([&] { body.setTop(LRMJL[cs.row].top()); });
    st([&] { ShapeRSUB.move(body.left(), body.top()); });

    const context_menu::Block block = menuBlock(cs.set, cs.menu);
    int y = 0, widest = 0, k = 0;
    st([&] { y = cint16(body.top() + 135); });
    QString line;
    if (context_menu::captionLineOf(cs.row)) line = block[context_menu::entriesLineOf(cs.row) - 1];
    // Only six separator lines exist; a seventh keeps its gap.
    layEntries(context_menu::splitEntries(line), LRS, LRSFgx, body.left(), y, widest, k);
    st([&] { body.setWidth(widest + 690); });
    st([&] { body.setHeight(y - body.top()); });
    st([&] { ShapeRSUB.move(body.left(), body.top(), body.width(), body.height()); });
    for (int n = 0; n <= 5; ++n)
        st([&] { LRSFgx[n].setLine(LRSFgx[n].x1(), LRSFgx[n].y1(), LRSFgx[n].x1() + body.width() - 120, LRSFgx[n].y2()); });

    st([&] { aimAt(LRS[cs.entry]); });
    st([&] { Shape1.move(body.left(), LRS[cs.entry].top() - 60, body.width(), 285); });
    st([&] { FlightSetup(f); });
    TimerRS.setEnabled(true);
}

void FrmYanShi::TimerRS_Timer() {
    if (!core::session().DemoRunning) return;
    FlightMove(m.flight);
    st([&] { pointMove(); });
    if (!ArrivalTest(m.flight, sx())) return;
    ringAtPointer();
    TimerRS.setEnabled(false);
    st([&] { doNext(); });
}

} // namespace demo
