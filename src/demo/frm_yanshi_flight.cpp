// Target choice, the pointer and its flights, the arrival dispatch and the
// typing, drop, hold and ring timers of the demonstration.
#include "demo/frm_yanshi.h"
#include "demo/frm_yanshi_util.h"

#include "core/errors.h"
#include "core/text.h"
#include "demo/step_rules.h"
#include "engine/text_table.h"

namespace demo {

using core::Control;
using detail::actionCode;
using detail::centre;
using detail::rec;
using detail::st;
using detail::sx;
using detail::sy;

namespace {

// The pointer's lines as offsets from its reference point.
struct Seg {
    double x1, y1, x2, y2;
};
constexpr Seg kOutline[7] = {{60, 0, 60, 240},     {60, 240, 120, 180},  {120, 180, 180, 300}, {150, 150, 225, 285},
                             {165, 150, 240, 150}, {60, -15, 240, 165}, {195, 300, 225, 270}};
constexpr Seg kFill[6] = {{75, 15, 75, 210},   {105, 45, 105, 180},  {135, 75, 135, 150},
                          {165, 105, 165, 135}, {195, 120, 195, 135}, {135, 165, 210, 300}};

} // namespace

void FrmYanShi::flyTo(double x, double y) {
    m.flight.targetX = int32_t(core::roundHalfEven(x));
    m.flight.targetY = int32_t(core::roundHalfEven(y));
    FlightSetup(m.flight);
}

void FrmYanShi::aimAt(const Control& c) {
    m.flight.targetX = centre(c.left(), c.width());
    m.flight.targetY = centre(c.top(), c.height());
}

void FrmYanShi::flyToCentre(const Control& c) {
    aimAt(c);
    FlightSetup(m.flight);
}

void FrmYanShi::MuBiaoWei() {
    if (!core::session().DemoRunning) return;
    Flight& f = m.flight;
    const QString code = actionCode();
    switch (targetKind(code, rec().field(130, 5))) {
    case TargetKind::Tab:
        st([&] { aimAt(LblXXK[m.TargetTab]); });
        break;
    case TargetKind::Target:
        st([&] { aimAt(Label1); });
        break;
    case TargetKind::Source:
        st([&] { aimAt(Label4); });
        break;
    case TargetKind::TextBox:
        st([&] {
            f.targetX = int32_t(core::roundHalfEven(Text1.left() + 300));
            f.targetY = centre(Text1.top(), Text1.height());
        });
        break;
    case TargetKind::Image5:
        st([&] { aimAt(Image5); });
        break;
    case TargetKind::MenuHotSpot:
        st([&] {
            const Control& h = LblZHU[m.OpenMenu];
            Shape1.move(h.left(), h.top(), h.width(), h.height());
        });
        st([&] { Shape1.setVisible(true); });
        st([&] { aimAt(LblZHU[m.OpenMenu]); });
        break;
    case TargetKind::KeyHold:
        m.TickCount = 0;
        f.targetX = f.pointerX;
        f.targetY = f.pointerY;
        Timer4.setEnabled(true);
        Timer2.setEnabled(false);
        return;
    case TargetKind::WaitHold:
        Timer4.setEnabled(true);
        Timer2.setEnabled(false);
        return;
    case TargetKind::List:
        st([&] { aimAt(LstLA); });
        break;
    case TargetKind::LookIn:
        st([&] {
            f.targetX = int32_t(core::roundHalfEven(PicList.left() + PicList.width() / 2));
            f.targetY = int32_t(core::roundHalfEven(PicList.top() + 165 * sy()));
        });
        break;
    case TargetKind::Previous: break;  // the previous target stays
    }
    st([&] { FlightSetup(f); });
    Timer2.setEnabled(true);
}

void FrmYanShi::pointMove() {
    setTopmost(true);
    const double px = m.flight.pointerX, py = m.flight.pointerY;
    auto place = [&](Control& l, const Seg& s) {
        l.setLine(px + s.x1 * sx(), py + s.y1 * sy(), px + s.x2 * sx(), py + s.y2 * sy());
    };
    for (int i = 0; i < 7; ++i) place(LPoint[i], kOutline[i]);
    LPoint[7].setLine(LPoint[2].x2(), LPoint[2].y2(), LPoint[6].x1(), LPoint[6].y1());
    for (int i = 0; i < 6; ++i) place(LPoinB[i], kFill[i]);
}

void FrmYanShi::ringAtPointer() {
    st([&] { Shape5.move(m.flight.pointerX - 180, m.flight.pointerY - 180); });
    Timer5.setEnabled(true);
}

void FrmYanShi::completeClick() {
    const QString branch = rec().redBoxBranch();
    if (actionCode() == u"0001" && !branch.isEmpty() && branch != u"0")
        GoStep(branch);
    else
        doNext();
}

// ------------------------------------------------------------------ flight timer

void FrmYanShi::Timer2_Timer() {
    const QString code = actionCode();
    st([&] { Shape5.setBorderColor(ringColour(code)); });
    if (!core::session().DemoRunning) {
        Timer2.setEnabled(false);
        return;
    }
    st([&] { Shape6.move(Shape6.left(), Shape6.top(), 1, 1); });
    FlightMove(m.flight);

    // The drag cursor in place of the pointer: both legs of a frame drag, the
    // second leg of a move drag.
    const bool frameDrag = code.startsWith(u"004");
    if (frameDrag || (code.startsWith(u"005") && secondLeg())) {
        if (frameDrag && m.Dragging) {
            st([&] {
                const double w = m.flight.pointerX - Shape6.left() + 120 * sx();
                const double h = m.flight.pointerY - Shape6.top() + 120 * sy();
                if (w >= 0) Shape6.setWidth(w);
                if (h >= 0) Shape6.setHeight(h);
            });
        }
        st([&] {
            const QString c = rec().field(101, 5);
            const QString file = c.startsWith(u'S') ? engine::cursorFile(QStringLiteral("00"))
                                                    : engine::cursorFile(core::mid(c, 4, 2));
            if (auto pic = detail::cachedPicture(file)) ImgICO.setPicture(*pic);
        });
        st([&] { ImgICO.move(m.flight.pointerX, m.flight.pointerY); });
        st([&] { ImgICO.setVisible(true); });
        for (int i = 0; i <= 5; ++i) st([&] { LPoinB[i].setLine(-100, LPoinB[i].y1(), -100, LPoinB[i].y2()); });
        for (int i = 0; i <= 7; ++i) st([&] { LPoint[i].setLine(-100, LPoint[i].y1(), -100, LPoint[i].y2()); });
    } else {
        st([&] { ImgICO.setVisible(false); });
        st([&] { pointMove(); });
    }

    if (!ArrivalTest(m.flight, sx())) return;
    ringAtPointer();

    switch (arrivalCase(code, rec().field(130, 5), secondLeg())) {
    case ArrivalCase::TabReached:
        st([&] {
            const int k = m.TabImageNo;
            if (k >= 1 && k <= 5) overlay(k).setPicture(dataPicture(rec().imagePicture(k)));
        });
        st([&] { Label1.setVisible(true); });
        st([&] { LHelp.setCaption(m.HintText); });
        st([&] { Label1.setHeight(m.RedBoxH * sy()); });
        st([&] { Label1.setWidth(m.RedBoxW * sx()); });
        st([&] { Shape1.move(Label1.left(), Label1.top(), Label1.width(), Label1.height()); });
        st([&] { flyToCentre(Label1); });
        setSecondLeg();
        Timer2_Timer();
        return;
    case ArrivalCase::Advance:
        completeClick();
        return;
    case ArrivalCase::DragSource:
        st([&] { flyToCentre(Label1); });
        m.Dragging = true;
        st([&] { Shape6.move(Shape4.left(), Shape4.top(), 1, 1); });
        st([&] { Shape6.setVisible(code.startsWith(u"004")); });
        setSecondLeg();
        st([&] { Shape4.setWidth(15); });
        Timer2_Timer();
        return;
    default: break;
    }

    st([&] { Shape6.setVisible(false); });
    switch (arrivalCase(code, rec().field(130, 5), secondLeg())) {
    case ArrivalCase::LookInOpen: {
        st([&] { PicList.setHeight(3720 * sy()); });
        const int n = core::val16(code.right(2));
        st([&] { flyTo(PicList.left() + PicList.width() / 2, PicList.top() + (n + 1) * 255 * sy()); });
        setSecondLeg();
        st([&] { ImgLiN[n].setVisible(true); });
        Timer2_Timer();
        return;
    }
    case ArrivalCase::ClickShift: doNext(); return;
    case ArrivalCase::ContextMenu:
        st([&] { RightKeyMenu(); });
        Timer2.setEnabled(false);
        return;
    case ArrivalCase::Typing:
        typingSetUp();
        return;
    case ArrivalCase::Drop:
        st([&] {
            const double x = m.DropX != 0 ? m.DropX * sx() : m.flight.targetX;
            const double y = m.DropY != 0 ? m.DropY * sy() : m.flight.targetY;
            flyTo(x, y);
        });
        Timer2.setEnabled(false);
        Timer3.setEnabled(true);
        return;
    case ArrivalCase::End:
        startEnd();
        Timer2.setEnabled(false);
        return;
    case ArrivalCase::Menu:
        Timer2.setEnabled(false);
        st([&] { ClickZHU(); });
        return;
    default:
        // A code that no case knows ends like a completed click.
        completeClick();
        return;
    }
}

void FrmYanShi::typingSetUp() {
    st([&] {
        const QString ref = rec().answerLine();
        const QString text = ref == u"000" ? QString() : engine::TextTableLookup(ref);
        const qsizetype bar = text.indexOf(u'|');
        m.TypeText = bar < 0 ? text : text.left(bar);
    });
    st([&] {
        const QString have = Text1.text();
        if (m.TypeText.left(have.size()) == have) m.TypePos = int16_t(have.size());
    });
    Timer1.setEnabled(true);
    Timer2.setEnabled(false);
}

// ------------------------------------------------------------------ typing, drop, hold, ring

void FrmYanShi::Timer1_Timer() {
    if (!core::session().DemoRunning) {
        Timer1.setEnabled(false);
        return;
    }
    const QString code = actionCode();
    m.TypePos = int16_t(m.TypePos + 1);
    if (code == u"0023") {
        m.TypePos = 300;  // nothing to type: the step ends at this tick
    } else {
        Control& box = code == u"0021" ? Text2 : Text1;
        st([&] { box.setText(m.TypeText.left(m.TypePos)); });
        st([&] { box.setSelStart(m.TypePos); });
        if (m.TypePos < m.TypeText.size()) return;
    }
    m.TypePos = 0;
    Timer1.setEnabled(false);
    if (code == u"0022" || code == u"0026") {
        st([&] { flyToCentre(Label1); });
        setSecondLeg();
        Timer2.setEnabled(true);
        return;
    }
    doNext();
}

void FrmYanShi::Timer3_Timer() {
    if (!core::session().DemoRunning) return;
    FlightMove(m.flight);
    st([&] { pointMove(); });
    st([&] {
        Image5.move(m.flight.pointerX - Image5.width() / 2, m.flight.pointerY - Image5.height() / 2);
    });
    if (!ArrivalTest(m.flight, sx())) return;
    doNext();
    Timer3.setEnabled(false);
}

void FrmYanShi::Timer4_Timer() {
    m.TickCount = int16_t(m.TickCount + 1);
    if (m.TickCount < 5) return;
    m.TickCount = 0;
    Timer4.setEnabled(false);
    doNext();
}

void FrmYanShi::Timer5_Timer() {
    if (!core::session().DemoRunning) return;
    st([&] { Shape5.setVisible(m.TickCount % 2 == 0); });
    m.TickCount = int16_t(m.TickCount + 1);
    if (m.TickCount < 3) return;
    m.TickCount = 0;
    st([&] { Shape5.setVisible(false); });
    Timer5.setEnabled(false);
}

} // namespace demo
