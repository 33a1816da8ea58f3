// Drags: the source box Label4 (rubber-band frames and moves onto the
// target) and the overlay Image5 dragged to a drop point.
#include <cmath>

#include "core/errors.h"
#include "core/pictures.h"
#include "core/state.h"
#include "core/text.h"
#include "engine/frm_main.h"
#include "engine/frm_main_util.h"
#include "engine/step_record.h"
#include "engine/text_table.h"

namespace engine {

namespace {

// "004" + S (frame) or "005" + S (move): whether the code is a source-box
// drag of kind `lead` (or either, for an empty lead) held with `shift`.
bool dragWith(const StepRecord& r, const char16_t* lead, int shift) {
    const QString c = r.field(8, 3);
    const bool kind = lead ? c == QStringView(lead) : (c == u"004" || c == u"005");
    return kind && r.dragModifiers() == shift;
}

} // namespace

void FrmMain::setupSourceBoxStage() {
    const StepRecord r = rec();
    if (r.hasSource()) {
        resumeNext([&] { Label4.setVisible(true); });
        resumeNext([&] { Label4.setLeft(r.sourceX() * sx()); });
        resumeNext([&] { Label4.setTop(r.sourceY() * sy()); });
        resumeNext([&] { Label4.setWidth(r.sourceW() * sx()); });
        resumeNext([&] { Label4.setHeight(r.sourceH() * sy()); });
    } else {
        resumeNext([&] { Label4.setWidth(1); });
        resumeNext([&] { Label4.setHeight(1); });
        resumeNext([&] { Label4.setLeft(-1); });
    }
    resumeNext([&] { Shape4.move(Label4.left(), Label4.top(), Label4.width(), Label4.height()); });
}

void FrmMain::Label4_MouseDown(const core::MouseArgs& a) {
    const StepRecord r = rec();
    const QString ee = QStringLiteral("EE");
    if (r.actionCode() != QStringLiteral("0028") && r.sourceBranch() == QStringLiteral("0") &&
        a.button == core::LeftButton && r.altSetCode() != ee && r.barsCode() != ee) {
        doNext();
        return;
    }
    if (dragWith(r, u"004", a.shift)) {
        Shape6.setWidth(15);
        Shape6.setHeight(15);
        Shape6.setVisible(true);
        DragStartX = int32_t(core::roundHalfEven(Label4.left() + a.x));
        DragStartY = int32_t(core::roundHalfEven(Label4.top() + a.y));
    }
    if (dragWith(r, nullptr, a.shift)) Dragging = 1;
}

void FrmMain::Label4_MouseMove(const core::MouseArgs& a) {
    const StepRecord r = rec();
    if (dragWith(r, u"004", a.shift)) {
        if (!Shape6.visible()) return;
        // The outline hangs from the press point, right and down.
        Shape6.setLeft(DragStartX);
        Shape6.setTop(DragStartY);
        Shape6.setWidth(std::abs(Label4.left() + a.x - Shape6.left()));
        Shape6.setHeight(std::abs(Label4.top() + a.y - Shape6.top()));
    }
    if (dragWith(r, nullptr, a.shift) && Dragging) setDragPointer();
}

void FrmMain::setDragPointer() {
    const StepRecord r = rec();
    const QString nn = r.field(104, 2);
    if (r.field(101, 1) == QStringLiteral("S")) {
        Label4.setMousePointer(core::val16(nn));
        return;
    }
    // A cursor file that cannot be read shows the default pointer; the
    // pointer number stays the custom one.
    Label4.setMousePointer(core::PtrCustom);
    const QString file = cursorFile(nn);
    Label4.setMouseIcon(core::readCursorFile(file).ok ? file : QString());
}

void FrmMain::Label4_MouseUp(const core::MouseArgs& a) {
    const StepRecord r = rec();
    const double px = Label4.left() + a.x, py = Label4.top() + a.y;
    // Borders count as inside.
    const bool inside = px >= Label1.left() && px <= Label1.left() + Label1.width() && py >= Label1.top() &&
                        py <= Label1.top() + Label1.height();

    if (dragWith(r, u"004", a.shift)) {
        Shape6.setWidth(15);
        Shape6.setHeight(15);
        if (Shape6.visible() && inside) {
            doNext();
            return;
        }
        Shape6.setVisible(false);
    }
    if (dragWith(r, nullptr, a.shift)) {
        Dragging = 0;
        if (inside && Label4.mousePointer() != core::PtrDefault) {
            const QString branch = r.dropBranch();
            if (branch != QStringLiteral("0"))
                GoStep(branch);
            else
                doNext();
            return;
        }
        Label4.setMousePointer(core::PtrDefault);
    }
    if (r.actionCode() == QStringLiteral("0028")) {
        if (LooseAnswerMatch(Text1.text(), AnswerText(r.answerLine()))) {
            doNext();
            return;
        }
    }
    if (r.sourceBranch() != QStringLiteral("0")) GoStep(r.sourceBranch());
}

void FrmMain::Image5_MouseMove(const core::MouseArgs& a) {
    if (a.button != core::LeftButton) return;
    const bool horizontal = StepCode == 8001 || StepCode == 8002 || (StepCode >= 8006 && StepCode <= 8009);
    const bool vertical = StepCode == 8003 || StepCode == 8004 || (StepCode >= 8006 && StepCode <= 8009);
    // The corner closes half the distance to the pointer.
    if (horizontal) {
        Image5.setLeft(DragLeft + a.x / 2);
        DragLeft = int32_t(core::roundHalfEven(Image5.left()));
    }
    if (vertical) {
        Image5.setTop(DragTop + a.y / 2);
        DragTop = int32_t(core::roundHalfEven(Image5.top()));
    }
}

void FrmMain::Image5_MouseUp(const core::MouseArgs&) {
    const double tx = DropX * sx(), ty = DropY * sy();
    bool ok = false;
    bool horizontal = false, vertical = false;
    switch (StepCode) {
    case 8001: ok = DragLeft <= tx, horizontal = true; break;
    case 8002: ok = DragLeft >= tx, horizontal = true; break;
    case 8003: ok = DragTop <= ty, vertical = true; break;
    case 8004: ok = DragTop >= ty, vertical = true; break;
    case 8006: ok = DragTop >= ty && DragLeft <= tx, horizontal = vertical = true; break;
    case 8007: ok = DragTop >= ty && DragLeft >= tx, horizontal = vertical = true; break;
    case 8008: ok = DragTop <= ty && DragLeft <= tx, horizontal = vertical = true; break;
    case 8009: ok = DragTop <= ty && DragLeft >= tx, horizontal = vertical = true; break;
    default: return;
    }
    if (ok) {
        if (vertical) Image5.setTop(ty);
        if (horizontal) Image5.setLeft(tx);
        doNext();
        return;
    }
    // Back to the record's place, and the drag starts from there again.
    const StepRecord r = rec();
    if (vertical) {
        Image5.setTop(r.imageY(5) * sy());
        DragTop = int32_t(core::roundHalfEven(Image5.top()));
    }
    if (horizontal) {
        Image5.setLeft(r.imageX(5) * sx());
        DragLeft = int32_t(core::roundHalfEven(Image5.left()));
    }
}

} // namespace engine
