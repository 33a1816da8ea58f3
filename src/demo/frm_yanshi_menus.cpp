// The demonstration's menu and toolbar clicks: the press on the main
// hot-spot, the drop-down and submenu it opens, the flights to their rows
// and the row clicks; and the reset of what a step left open.
#include "demo/frm_yanshi.h"
#include "demo/frm_yanshi_util.h"

#include "chrome/layout.h"
#include "chrome/menu_match.h"
#include "chrome/picture_cache.h"
#include "chrome/rows.h"
#include "chrome/zones.h"
#include "core/text.h"

namespace demo {

using core::Control;
using core::ControlArray;
using detail::rec;
using detail::st;
using detail::sx;
using detail::sy;

void FrmYanShi::wireMenus() {
    chrome_.img1J = &Img1J;  // the row layout empties the row highlight
    Timer6.onTimer = [this](core::Timer&) { Timer6_Timer(); };
    Timer7.onTimer = [this](core::Timer&) { Timer7_Timer(); };
}

// ------------------------------------------------------------------ reset

void FrmYanShi::CSH() {
    if (!core::session().DemoRunning) return;
    st([&] { clearDrawnMenus(); });
    // A drop-down pre-opened on 33 or 34 stays.
    if (m.OpenMenu != 33 && m.OpenMenu != 34) st([&] { Pic1J.setVisible(false); });
    st([&] { Pic2J.setVisible(false); });
    st([&] { ImgMenu.clearPicture(); });
    st([&] { ImgElse.clearPicture(); });
    st([&] { PicList.setHeight(330 * sy()); });
}

// ------------------------------------------------------------------ main hot-spot

namespace {

// The pressed-look image of a main hot-spot's zone; none for the extra
// area's hot-spots without a drop-down, for the chart bar (this window has
// none) and for indices outside the zones.
Control* pressedImage(FrmYanShi& y, int index) {
    switch (chrome::zoneOf(index)) {
    case chrome::Zone::MenuBar: return &y.ImgMenu;
    case chrome::Zone::DrawingBar: return &y.ImgHui;
    case chrome::Zone::Toolbar: return &y.ImgTool;
    case chrome::Zone::ExtraArea: return chrome::opensDropDown(index) ? &y.ImgElse : nullptr;
    default: return nullptr;
    }
}

} // namespace

void FrmYanShi::endMenuStep() {
    const QString jump = m.JumpStep;
    if (jump == u"0")
        doNext();
    else
        GoStep(jump);
}

void FrmYanShi::ClickZHU() {
    const int index = m.OpenMenu;
    for (Control* img : {&ImgMenu, &ImgHui, &ImgTool, &ImgElse}) st([&] { img->clearPicture(); });
    if (m.OpenItem == 0 && m.OpenSubItem == 0) {
        // The hot-spot alone: the ring is the only sign of the click.
        Timer2.setEnabled(false);
        endMenuStep();
        return;
    }

    // The drop-down the step shows already open on hot-spot 33 stays in
    // its place; the pointer goes on to its row.
    if (index == 33 && Pic1J.visible()) {
        st([&] { Tool1JCSH(); });
        return;
    }

    st([&] { Pic1J.setVisible(false); });
    const chrome::Zone zone = chrome::zoneOf(index);
    bool pressedShown = false;
    if (Control* img = pressedImage(*this, index)) {
        st([&] { img->move(LblZHU[index].left(), LblZHU[index].top()); });
        pressedShown = chrome::setChromePicture(*img, m.ExamDataPath, chrome::pressedPictureCode(index));
        // The extra area's variant replaces the plain look when it exists.
        const QString alt = rec().altSetCode();
        if (zone == chrome::Zone::ExtraArea && alt.startsWith(u'X'))
            if (auto v = chrome::chromePicture(m.ExamDataPath, QStringLiteral("XX0") + alt.mid(1, 1) + "99")) {
                img->setPicture(*v);
                pressedShown = true;
            }
    }

    // A hot-spot without a drop-down here (chart bar 89-99 included, which
    // this window lacks): the press is all, and the step ends.
    if (!chrome::opensDropDown(index) || index > 88) {
        endMenuStep();
        return;
    }

    const QString code = chrome::dropDownPictureCode(index);
    auto load = [&] { chrome::setChromePicture(Pic1J, m.ExamDataPath, code); };
    switch (zone) {
    case chrome::Zone::MenuBar:
        st(load);
        st([&] { Pic1J.setLeft(PicMenu.left() + LblZHU[index].left()); });
        st([&] { Pic1J.setTop(LblZHU[index].top() + LblZHU[index].height()); });
        break;
    case chrome::Zone::DrawingBar:
        // Upward: its bottom edge on the drawing bar's top edge.
        st([&] { Pic1J.setLeft(LblZHU[index].left()); });
        st(load);
        st([&] { Pic1J.setTop(PicHui.top() - Pic1J.height()); });
        break;
    case chrome::Zone::Toolbar:
        st([&] { Pic1J.setLeft(index == 86 ? LblZHU[86].left() - 825 * sx() : LblZHU[index].left()); });
        st(load);
        // Below the pressed picture; by the hot-spot's height when that
        // picture is missing.
        st([&] {
            const Control& h = LblZHU[index];
            Pic1J.setTop(h.top() + (pressedShown ? ImgTool.height() : h.height()));
        });
        break;
    case chrome::Zone::ExtraArea:
        st([&] {
            double left = PicElse.left();
            if (index == 32) left += 750 * sx();
            if (index == 37) left += -2595 * sx() + 195 * sx();
            Pic1J.setLeft(left);
        });
        st(load);
        st([&] { Pic1J.setTop(PicElse.top() + PicElse.height()); });
        break;
    default: break;
    }
    st([&] { Pic1J.setVisible(true); });
    st([&] { Tool1JCSH(); });
}

// ------------------------------------------------------------------ rows

void FrmYanShi::Tool1JCSH() {
    chrome::layDropDownRows(chrome_, m.OpenMenu);
    // A row that does not exist leaves the previous target and frame.
    flyToRow(Lbl1J, m.OpenItem, Timer6);
}

// The row's centre as the target, the red frame on the row, the flight
// started on its timer.
void FrmYanShi::flyToRow(const ControlArray& rows, int16_t row, core::Timer& timer) {
    st([&] { aimAt(rows[row]); });
    st([&] {
        const Control& r = rows[row];
        Shape1.move(r.left(), r.top(), r.width(), r.height());
    });
    st([&] { FlightSetup(m.flight); });
    timer.setEnabled(true);
}

void FrmYanShi::Tool2JCSH() {
    chrome::laySubmenuRows(chrome_, m.OpenMenu, m.OpenItem);
    // No submenu row to click: no frame and no flight, so the step that
    // ends in the drop-down row's click advances once.
    if (m.OpenSubItem == 0) return;
    flyToRow(Lbl2J, m.OpenSubItem, Timer7);
}

bool FrmYanShi::rowFlightTick(core::Timer& t) {
    if (!core::session().DemoRunning) return false;
    FlightMove(m.flight);
    st([&] { pointMove(); });
    if (!ArrivalTest(m.flight, sx())) return false;
    // The ring moves to the row and counts again from there.
    m.TickCount = 0;
    ringAtPointer();
    t.setEnabled(false);
    return true;
}

void FrmYanShi::Timer6_Timer() {
    if (rowFlightTick(Timer6)) Click1J(m.OpenItem);
}

void FrmYanShi::Timer7_Timer() {
    if (rowFlightTick(Timer7)) Click2J();
}

void FrmYanShi::Click1J(int16_t index) {
    m.OpenItem = index;
    if (chrome::opensSubmenu(m.OpenMenu, m.OpenItem)) {
        st([&] {
            chrome::setChromePicture(Pic2J, m.ExamDataPath, chrome::submenuPictureCode(m.OpenMenu, m.OpenItem));
        });
        // Level with the row, over the drop-down's right edge.
        st([&] { Pic2J.setLeft(Pic1J.left() + Pic1J.width() - 15 * sx()); });
        st([&] { Pic2J.setTop(Lbl1J[m.OpenItem].top()); });
        st([&] { Pic2J.setVisible(true); });
    }
    // Kept inside the window: raised above the bottom line, or put on the
    // drop-down's left side.
    st([&] {
        if (Pic2J.top() + Pic2J.height() > 8820 * sy()) Pic2J.setTop(8820 * sy() - Pic2J.height());
    });
    st([&] {
        if (Pic2J.left() + Pic2J.width() > 11850 * sx()) Pic2J.setLeft(Pic1J.left() - Pic2J.width() + 15 * sx());
    });
    st([&] { Tool2JCSH(); });

    st([&] { Img1J.move(Lbl1J[index].left(), Lbl1J[index].top()); });
    st([&] {
        // A SpecialItem naming this row has its own look; the row's look
        // when that picture is missing.
        std::optional<core::Picture> look;
        const QString slot = rec().actionSlot3();
        if (chrome::specialItemMatches(slot, m.OpenMenu, index))
            look = chrome::chromePicture(m.ExamDataPath, core::right(slot, 4) + QStringLiteral("00"));
        if (!look) look = chrome::chromePicture(m.ExamDataPath, chrome::dropDownRowHighlight(m.OpenMenu, index));
        if (look)
            Img1J.setPicture(*look);
        else
            Img1J.clearPicture();
    });
    st([&] { Img1J.setVisible(true); });

    if (m.OpenSubItem == 0) endMenuStep();
}

void FrmYanShi::Click2J() {
    if (m.OpenSubItem == 0) return;
    endMenuStep();
    st([&] { Img1J.setVisible(false); });
}

} // namespace demo
