// The demonstration's dialog widgets: the tab strip of a tab dialog and its
// back hot-spot, the list box of a list step and the look-in list.
#include "demo/frm_yanshi.h"
#include "demo/frm_yanshi_util.h"

#include "chrome/design_pictures.h"
#include "core/errors.h"
#include "core/state.h"
#include "core/text.h"
#include "engine/step_record.h"
#include "engine/tab_layout.h"
#include "engine/text_table.h"

namespace demo {

using core::Control;
using detail::actionCode;
using detail::rec;
using detail::st;
using detail::sx;
using detail::sy;
using engine::DialogCode;
using engine::TabLayout;

namespace {

void frameOn(Control& frame, const Control& c) { frame.move(c.left(), c.top(), c.width(), c.height()); }

} // namespace

void FrmYanShi::styleDialogs() {
    // The list's frame: four thin bars in the list border's colour.
    for (Control* bar : {&PicLeft, &PicRight, &PicTop, &PicBottom}) {
        bar->setBorderStyle(0);
        bar->setBackColor(core::rgbValue(127, 157, 185));
        bar->setVisible(false);
    }
}

// ------------------------------------------------------------------ tab dialog

void FrmYanShi::tabStage() {
    const QString dialog = rec().field(130, 5);
    if (!dialog.startsWith(u'X')) {
        st([&] { frameOn(Shape1, Label1); });
        backHotSpotStage();
        return;
    }
    st([&] { Shape4.setVisible(false); });
    const int16_t shown = DialogCode::tabNumber(core::mid(dialog, 3, 1));
    m.TargetTab = DialogCode::tabNumber(core::mid(dialog, 4, 1));
    m.TabImageNo = core::val16(core::mid(dialog, 5, 1));
    st([&] { LHelp.setCaption(QStringLiteral("请选择第%1个选项卡").arg(m.TargetTab)); });
    // A key no built-in layout has keeps the layout of the tab step before.
    if (auto builtIn = engine::builtInTabLayout(core::mid(dialog, 2, 1))) m.ActiveTabLayout = builtIn->record();
    const TabLayout layout(m.ActiveTabLayout);

    if (m.TabImageNo >= 1 && m.TabImageNo <= 5) {
        Control& image = overlay(m.TabImageNo);
        st([&] { m.TabBaseX = cint16(image.left()); });
        st([&] { m.TabBaseY = cint16(image.top()); });
        if (shown != m.TargetTab) st([&] { image.setPicture(dataPicture(layout.tabPicture(shown))); });
    }

    m.TabCount = layout.tabCount();
    for (int i = 0; i <= m.TabCount; ++i) {
        Control& t = LblXXK[i];
        st([&] { t.setHeight(layout.tabHeight() * sy()); });
        st([&] { t.setWidth(1); });
        st([&] { t.setLeft(-1 * sx()); });
        st([&] { t.setTop(m.TabBaseY + layout.tabRowY() * sy()); });
        st([&] { t.setCaption(QString()); });
    }
    for (int i = 1; i <= m.TabCount; ++i) {
        Control& t = LblXXK[i];
        st([&] { t.setLeft(m.TabBaseX + layout.tabLeft(i) * sx()); });
        st([&] { t.setWidth(layout.tabWidth(i) * sx()); });
    }
    // Two rows: this window's own widths for tabs 13 and 7.
    if (m.TabCount > 9) {
        st([&] { LblXXK[13].setWidth(1485 * sx()); });
        st([&] { LblXXK[7].setWidth(1050 * sx()); });
        m.TabFrontRow = shown > 6 ? 2 : 1;
        st([&] { DoubleXXK(); });
    }

    Control& back = LblXXK[0];
    st([&] { back.setLeft(m.TabBaseX + layout.backX() * sx()); });
    st([&] { back.setTop(m.TabBaseY + layout.backY() * sy()); });
    st([&] { back.setWidth(layout.backW() * sx()); });
    st([&] { back.setHeight(layout.backH() * sy()); });

    if (shown == m.TargetTab) {
        st([&] { Label1.setWidth(m.RedBoxW * sx()); });
        st([&] { Label1.setHeight(m.RedBoxH * sy()); });
        st([&] { LHelp.setCaption(m.HintText); });
        st([&] { frameOn(Shape1, Label1); });
    } else {
        // The first leg goes to the tab: the target box waits at 1 x 1.
        st([&] { Label1.setWidth(1); });
        st([&] { Label1.setHeight(1); });
        st([&] { frameOn(Shape1, LblXXK[m.TargetTab]); });
    }
    backHotSpotStage();
}

void FrmYanShi::DoubleXXK() {
    const TabLayout layout(m.ActiveTabLayout);
    const double backRow = m.TabBaseY + layout.tabRowY() * sy();
    const double frontRow = m.TabBaseY + (layout.tabRowY() + 300) * sy();
    for (int i = 1; i <= m.TabCount; ++i) st([&] { LblXXK[i].setTop(backRow); });
    const int from = m.TabFrontRow == 2 ? 7 : 1;
    const int to = m.TabFrontRow == 2 ? m.TabCount : 6;
    for (int i = from; i <= to; ++i) st([&] { LblXXK[i].setTop(frontRow); });
}

void FrmYanShi::backHotSpotStage() {
    if (rec().field(125, 1) != u"Q") return;
    Control& back = LblXXK[0];
    st([&] { back.setHeight(285 * sy()); });
    st([&] { back.setWidth(1095 * sx()); });
    st([&] { back.setLeft(rec().dropX() * sx()); });
    st([&] { back.setTop(rec().dropY() * sy()); });
    st([&] { back.setCaption(QString()); });
}

// ------------------------------------------------------------------ lists

void FrmYanShi::listStage() {
    const QString code = actionCode();
    if (code.startsWith(u'L')) {
        listSetUp();
    } else {
        for (Control* c : {&LstLA, &PicLeft, &PicRight, &PicTop, &PicBottom}) st([&] { c->setVisible(false); });
        st([&] { LblXXK[0].setCaption(QString()); });
    }
    if (code.startsWith(u'K')) {
        st([&] { PicList.move(Text1.left(), Text1.top()); });
        st([&] { PicList.setVisible(true); });
        st([&] { ImgLiN_Click(rec().lookInStartRow()); });
    } else {
        st([&] { PicList.setVisible(false); });
    }
}

void FrmYanShi::listSetUp() {
    for (Control* c : {&LstLA, &PicLeft, &PicRight, &PicTop, &PicBottom}) st([&] { c->setVisible(true); });
    st([&] { LstLA.move(Text1.left(), Text1.top(), Text1.width(), Text1.height()); });
    st([&] { Text1.setVisible(false); });

    const double l = LstLA.left(), t = LstLA.top(), w = LstLA.width(), h = LstLA.height();
    st([&] { PicLeft.move(l, t, 15 * sx(), h); });
    st([&] { PicRight.move(l + w - 15 * sx(), t, 15 * sx(), h); });
    st([&] { PicTop.move(l, t, w, 15 * sy()); });
    st([&] { PicBottom.move(l, t + h - 15 * sy(), w, 15 * sy()); });

    // The items: the text-table line the code's last three digits name, cut
    // at every "|". Line 0 is never counted to, so "000" reads the last line
    // here (the lookup's own "000" is the empty text).
    QString text;
    st([&] {
        const QString ref = rec().listTextLine();
        text = core::shownText(engine::TextTableLookup(ref == u"000" ? QStringLiteral("0") : ref));
    });
    st([&] { LstLA.clearItems(); });
    for (const QString& item : text.split(u'|')) st([&] { LstLA.addItem(item); });
    // An index past the last item leaves the list without a selection.
    st([&] { LstLA.setListIndex(rec().inputTextLineNo()); });
    st([&] {
        const int i = LstLA.listIndex();
        LblXXK[0].setCaption(i >= 0 ? LstLA.items().at(i) : QString());
    });
    st([&] { LblXXK[0].setWidth(LstLA.width()); });
}

void FrmYanShi::ImgLiN_Click(int row) {
    ImgSelAD.setLeft(chrome::lookInRowShift(row) * sx());
    ImgSelAD.setPicture(ImgLiN[row].picture());
    PicList.setHeight(330 * sy());
    if (row == rec().lookInRow()) doNext();
}

} // namespace demo
