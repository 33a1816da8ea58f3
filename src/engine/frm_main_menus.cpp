// The simulated menus of the practice window: hover and press of the main
// hot-spots, the drop-down and submenu rows, the pre-opened drop-downs and
// the matching of menu clicks against the step's action slots.
#include "chrome/layout.h"
#include "chrome/menu_match.h"
#include "chrome/picture_cache.h"
#include "chrome/rows.h"
#include "chrome/zones.h"
#include "core/text.h"
#include "engine/frm_main.h"
#include "engine/frm_main_util.h"

namespace engine {

namespace {

// The extra area's variant picture "XX0" d + suffix, when the step's
// AltSetCode is "X" d.
QString extraVariant(const QString& suffix) {
    const QString alt = rec().altSetCode();
    if (!alt.startsWith(u'X')) return QString();
    return QStringLiteral("XX0") + alt.mid(1, 1) + suffix;
}

} // namespace

void FrmMain::wireMenus() {
    chrome_.lbl1J = &Lbl1J;
    chrome_.lbl2J = &Lbl2J;
    chrome_.img1J = &Img1J;
    chrome_.img2J = &Img2J;
    // The row highlights are shown whenever they hold a picture.
    Img1J.setVisible(true);
    Img2J.setVisible(true);

    for (int i = 0; i <= 99; ++i) {
        LblZHU[i].onMouseMove = [this](Control& c, const core::MouseArgs&) { LblZHU_MouseMove(c.index()); };
        LblZHU[i].onMouseUp = [this](Control& c, const core::MouseArgs& a) { LblZHU_MouseUp(c.index(), a); };
    }
    PicTool.onMouseUp = [this](Control&, const core::MouseArgs& a) { PicTool_MouseUp(a); };
    for (int i = 1; i <= chrome::RowCount; ++i) {
        Lbl1J[i].onMouseMove = [this](Control& c, const core::MouseArgs&) { Lbl1J_MouseMove(c.index()); };
        Lbl1J[i].onClick = [this](Control& c) { Lbl1J_Click(c.index()); };
        Lbl2J[i].onMouseMove = [this](Control& c, const core::MouseArgs&) { Lbl2J_MouseMove(c.index()); };
        Lbl2J[i].onClick = [this](Control& c) { Lbl2J_Click(c.index()); };
    }
    TimTool.onTimer = [this](core::Timer&) { TimTool_Timer(); };
}

Control* FrmMain::zoneHighlight(int index) {
    switch (chrome::zoneOf(index)) {
    case chrome::Zone::MenuBar: return &ImgMenu;
    case chrome::Zone::DrawingBar: return &ImgHui;
    case chrome::Zone::ExtraArea: return &ImgElse;
    case chrome::Zone::Toolbar: return &ImgTool;
    case chrome::Zone::ChartBar: return &ImgTuBiao;
    default: return nullptr;
    }
}

void FrmMain::clearHighlights(const Control* except) {
    for (Control* img : {&ImgMenu, &ImgHui, &ImgTool, &ImgElse, &ImgTuBiao})
        if (img != except) resumeNext([&] { img->clearPicture(); });
}

bool FrmMain::showHotSpotLook(int index, const QString& code, const QString& variantSuffix) {
    Control* img = zoneHighlight(index);
    if (!img) return false;
    const Control& h = LblZHU[index];
    resumeNext([&] { img->move(h.left(), h.top()); });
    // The extra area's variant replaces the plain look; the picture is set
    // once, so a pointer at rest changes nothing.
    std::optional<core::Picture> look;
    if (chrome::zoneOf(index) == chrome::Zone::ExtraArea) {
        const QString v = extraVariant(variantSuffix);
        if (!v.isEmpty()) look = chrome::chromePicture(ExamDataPath, v);
    }
    if (!look) look = chrome::chromePicture(ExamDataPath, code);
    if (!look) {
        img->clearPicture();
        return false;
    }
    img->setPicture(*look);
    return true;
}

void FrmMain::LblZHU_MouseMove(int index) {
    if (OpenMenu == index) return;  // the open drop-down stays
    OpenMenu = 0;
    resumeNext([&] { Pic1J.setVisible(false); });
    resumeNext([&] { Pic2J.setVisible(false); });
    // The zone's own image gets its new look at once (no flicker, nothing
    // changes while the pointer rests on the hot-spot).
    Control* img = zoneHighlight(index);
    clearHighlights(index == 10 ? nullptr : img);
    showHotSpotLook(index, chrome::hoverPictureCode(index), QStringLiteral("88"));
}

void FrmMain::LblZHU_MouseUp(int index, const core::MouseArgs& a) {
    if (a.button != core::LeftButton) {
        StepCode = rec().stepCode();
        if (StepCode > 3300 && StepCode < 3400 && a.button == core::RightButton) {
            const Control& h = LblZHU[index];
            openContextMenu(StepCode, h.formX() + a.x, h.formY() + a.y);
        }
        return;
    }

    clearHighlights();
    OpenMenu = int16_t(index);
    resumeNext([&] { Pic1J.setVisible(false); });

    const chrome::Zone zone = chrome::zoneOf(index);
    bool pressedShown = false;
    if (zone != chrome::Zone::None && (zone != chrome::Zone::ExtraArea || chrome::opensDropDown(index)))
        pressedShown = showHotSpotLook(index, chrome::pressedPictureCode(index), QStringLiteral("99"));

    if (chrome::opensDropDown(index)) {
        const Control& h = LblZHU[index];
        // Below a button by its pressed picture's height; the hot-spot's own
        // height when that picture is missing.
        auto pressedHeight = [&](const Control& img) { return pressedShown ? img.height() : h.height(); };
        const QString code = chrome::dropDownPictureCode(index);
        resumeNext([&] {
            switch (zone) {
            case chrome::Zone::MenuBar:
                chrome::setChromePicture(Pic1J, ExamDataPath, code);
                Pic1J.setLeft(PicMenu.left() + h.left());
                Pic1J.setTop(PicMenu.top() + h.top() + h.height());
                break;
            case chrome::Zone::DrawingBar:
                Pic1J.setLeft(h.left());
                chrome::setChromePicture(Pic1J, ExamDataPath, code);
                Pic1J.setTop(PicHui.top() + h.top() - Pic1J.height());
                break;
            case chrome::Zone::Toolbar:
                Pic1J.setLeft(index == 86 ? h.left() - 825 * sx() : h.left());
                chrome::setChromePicture(Pic1J, ExamDataPath, code);
                Pic1J.setTop(PicTool.top() + h.top() + pressedHeight(ImgTool));
                break;
            case chrome::Zone::ChartBar:
                Pic1J.setLeft(PicTuBiao.left() + h.left());
                chrome::setChromePicture(Pic1J, ExamDataPath, code);
                Pic1J.setTop(PicTuBiao.top() + h.top() + pressedHeight(ImgTuBiao));
                break;
            case chrome::Zone::ExtraArea:
                Pic1J.setLeft(index == 32 ? PicElse.left() + 750 * sx() : PicElse.left());
                chrome::setChromePicture(Pic1J, ExamDataPath, code);
                Pic1J.setTop(PicElse.top() + PicElse.height());
                break;
            default: break;
            }
        });
        resumeNext([&] { Pic1J.setVisible(true); });
        resumeNext([&] { Tool1JCSH(); });
    }

    if (auto branch = chrome::menuClickBranch(core::session().StepLine, chrome::MenuClick::MainSpot, OpenMenu, 0))
        resumeNext([&] { acceptStep(*branch); });
}

void FrmMain::PicTool_MouseUp(const core::MouseArgs& a) {
    StepCode = rec().stepCode();
    if (StepCode > 3000 && StepCode < 6000 && a.button == core::RightButton)
        openContextMenu(StepCode, PicTool.formX() + a.x, PicTool.formY() + a.y);
}

void FrmMain::Tool1JCSH() {
    chrome::layDropDownRows(chrome_, OpenMenu);

    // The background of a SpecialItem row of this drop-down.
    resumeNext([&] { Img1jBK.setVisible(false); });
    const QString slot = rec().actionSlot3();
    if (!slot.startsWith(u'D') || core::val16(core::mid(slot, 2, 2)) != OpenMenu) return;
    // A row that does not exist, or a missing picture, shows nothing.
    const int r = core::val16(core::mid(slot, 4, 2));
    if (r < 1 || r > chrome::RowCount) return;
    resumeNext([&] { Img1jBK.move(Lbl1J[r].left(), Lbl1J[r].top()); });
    if (auto p = chrome::chromePicture(ExamDataPath, core::right(slot, 4) + QStringLiteral("77"))) {
        Img1jBK.setPicture(*p);
        Img1jBK.setVisible(true);
    }
}

void FrmMain::Tool2JCSH() { chrome::laySubmenuRows(chrome_, OpenMenu, OpenItem); }

void FrmMain::Lbl1J_MouseMove(int index) {
    resumeNext([&] { Img1J.move(Lbl1J[index].left(), Lbl1J[index].top()); });
    // A SpecialItem naming this row has its own look; the row's look when
    // that picture is missing.
    std::optional<core::Picture> look;
    const QString slot = rec().actionSlot3();
    if (chrome::specialItemMatches(slot, OpenMenu, index))
        look = chrome::chromePicture(ExamDataPath, core::right(slot, 4) + QStringLiteral("00"));
    if (!look) look = chrome::chromePicture(ExamDataPath, chrome::dropDownRowHighlight(OpenMenu, index));
    if (look)
        Img1J.setPicture(*look);
    else
        Img1J.clearPicture();
    if (OpenItem != index) resumeNext([&] { Pic2J.setVisible(false); });
}

void FrmMain::Lbl1J_Click(int index) {
    OpenItem = int16_t(index);
    if (chrome::opensSubmenu(OpenMenu, OpenItem)) {
        chrome::setChromePicture(Pic2J, ExamDataPath, chrome::submenuPictureCode(OpenMenu, OpenItem));
        resumeNext([&] { Pic2J.setLeft(Pic1J.left() + Pic1J.width() - 15 * sx()); });
        resumeNext([&] { Pic2J.setTop(Pic1J.top() + Lbl1J[OpenItem].top()); });
        resumeNext([&] { Pic2J.setVisible(true); });
        resumeNext([&] { Tool2JCSH(); });
    }
    // The submenu stays on the screen: raised above the bottom line, or
    // put on the left of the drop-down.
    if (Pic2J.top() + Pic2J.height() > 8820 * sy()) Pic2J.setTop(8820 * sy() - Pic2J.height());
    if (Pic2J.left() + Pic2J.width() > 11850 * sx()) Pic2J.setLeft(Pic1J.left() - Pic2J.width() + 15 * sx());

    if (auto branch =
            chrome::menuClickBranch(core::session().StepLine, chrome::MenuClick::DropRow, OpenMenu, OpenItem))
        resumeNext([&] { acceptStep(*branch); });
}

void FrmMain::Lbl2J_MouseMove(int index) {
    resumeNext([&] { Img2J.move(Lbl2J[index].left(), Lbl2J[index].top()); });
    chrome::setChromePicture(Img2J, ExamDataPath, chrome::submenuRowHighlight(OpenMenu, OpenItem, index));
}

void FrmMain::Lbl2J_Click(int index) {
    if (auto branch = chrome::menuClickBranch(core::session().StepLine, chrome::MenuClick::SubRow, OpenMenu,
                                              OpenItem, index))
        resumeNext([&] { acceptStep(*branch); });
}

void FrmMain::ElseToolCSH() {
    const int armed = chrome::ElseToolCSH(chrome_, core::session().StepLine);
    if (armed == 0) return;
    PreOpenedMenu = int16_t(armed);
    TimTool.setEnabled(true);
}

void FrmMain::TimTool_Timer() {
    OpenMenu = PreOpenedMenu;
    TimTool.setEnabled(false);
    Tool1JCSH();
}

} // namespace engine
