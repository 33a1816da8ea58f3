// Tab strips of the simulated dialogs and the back hot-spot.
#include <QtGlobal>

#include "core/errors.h"
#include "core/pictures.h"
#include "core/state.h"
#include "core/text.h"
#include "engine/frm_main.h"
#include "engine/frm_main_util.h"
#include "engine/step_record.h"
#include "engine/tab_layout.h"

namespace engine {

namespace {

QString tabHint(int tab) { return QStringLiteral("请选择第%1个选项卡").arg(tab); }

void frameOn(Control& frame, const Control& c) { frame.move(c.left(), c.top(), c.width(), c.height()); }

int16_t whole16(double v) {
    const long r = core::roundHalfEven(v);
    if (r < -32768 || r > 32767) throw core::RuntimeError(core::ErrOverflow, "overflow");
    return int16_t(r);
}

} // namespace

void FrmMain::setupTabDialogStage() {
    const std::optional<DialogCode> code = rec().dialogCode();

    // A tab or image number the dialog cannot have: no tab dialog. An
    // unknown key before any tab step has no layout at all: the dialog then
    // has no tabs, and its tab hint frames the parked hot-spot of the tab.
    bool usable = false;
    if (code) {
        const TabLayout layout = builtInTabLayout(code->tabKey).value_or(TabLayout(ActiveTabLayout));
        const int n = layout.isEmpty() ? TabLayout::MaxTabs : layout.tabCount();
        usable = code->imageNo >= 1 && code->imageNo <= 5 && code->shownTab >= 1 && code->shownTab <= n &&
                 code->targetTab >= 1 && code->targetTab <= n;
        if (!usable)
            qWarning("step %d: dialog code %s names no tab of layout %s or no image 1-5; no tab dialog",
                     int(core::session().CurrentStep), qPrintable(rec().field(130, 5)),
                     qPrintable(layout.isEmpty() ? QStringLiteral("(none)") : layout.key()));
    }
    if (!usable) {
        resumeNext([&] { frameOn(Shape1, Label1); });
        return;
    }

    const int16_t shown = code->shownTab;
    TargetTab = code->targetTab;
    TabImageNo = code->imageNo;
    resumeNext([&] { LHelp.setCaption(tabHint(TargetTab)); });
    if (auto builtIn = builtInTabLayout(code->tabKey)) ActiveTabLayout = builtIn->record();
    const TabLayout layout(ActiveTabLayout);

    Control& image = overlay(TabImageNo);
    resumeNext([&] { DialogLeft = whole16(image.left()); });
    resumeNext([&] { DialogTop = whole16(image.top()); });
    if (shown != TargetTab) resumeNext([&] { image.setPicture(dataPicture(layout.tabPicture(shown))); });

    TabCount = layout.tabCount();
    const double rowTop = DialogTop + layout.tabRowY() * sy();
    for (int i = 0; i <= TabCount; ++i) {
        Control& t = LblXXK[i];
        resumeNext([&] { t.setHeight(layout.tabHeight() * sy()); });
        resumeNext([&] { t.setWidth(1); });
        resumeNext([&] { t.setLeft(-1 * sx()); });
        resumeNext([&] { t.setTop(rowTop); });
        resumeNext([&] { t.setCaption(QString()); });
    }
    for (int i = 1; i <= TabCount; ++i) {
        Control& t = LblXXK[i];
        resumeNext([&] { t.setLeft(DialogLeft + layout.tabLeft(i) * sx()); });
        resumeNext([&] { t.setWidth(layout.tabWidth(i) * sx()); });
    }
    if (TabCount >= 10) {
        resumeNext([&] { LblXXK[12].setWidth(1050 * sx()); });
        resumeNext([&] { LblXXK[6].setWidth(1050 * sx()); });
        TabFrontRow = shown > 6 ? 2 : 1;
        resumeNext([&] { DoubleXXK(); });
    }

    Control& back = LblXXK[0];
    resumeNext([&] { back.setLeft(DialogLeft + layout.backX() * sx()); });
    resumeNext([&] { back.setTop(DialogTop + layout.backY() * sy()); });
    resumeNext([&] { back.setWidth(layout.backW() * sx()); });
    resumeNext([&] { back.setHeight(layout.backH() * sy()); });

    if (TargetTab == shown) {
        resumeNext([&] { Label1.setWidth(RedBoxW * sx()); });
        resumeNext([&] { Label1.setHeight(RedBoxH * sy()); });
        resumeNext([&] { LHelp.setCaption(HintText); });
        resumeNext([&] { frameOn(Shape1, Label1); });
    } else {
        resumeNext([&] { Label1.setWidth(1); });
        resumeNext([&] { Label1.setHeight(1); });
        resumeNext([&] { frameOn(Shape1, LblXXK[TargetTab]); });
    }
}

void FrmMain::setupBackHotSpotStage() {
    const StepRecord r = rec();
    if (r.field(125, 1) != QStringLiteral("Q")) {
        BackStepCode = QStringLiteral("NONO");
        return;
    }
    BackStepCode = r.field(125, 5);
    Control& back = LblXXK[0];
    resumeNext([&] { back.setHeight(285 * sy()); });
    resumeNext([&] { back.setWidth(1095 * sx()); });
    resumeNext([&] { back.setLeft(DropX * sx()); });
    resumeNext([&] { back.setTop(DropY * sy()); });
    resumeNext([&] { back.setCaption(QString()); });
}

void FrmMain::DoubleXXK() {
    const TabLayout layout(ActiveTabLayout);
    const double back = DialogTop + layout.tabRowY() * sy();
    const double front = DialogTop + (layout.tabRowY() + 300) * sy();
    for (int i = 1; i <= TabCount; ++i) LblXXK[i].setTop(back);
    if (TabFrontRow == 2) {
        for (int i = 7; i <= TabCount; ++i) LblXXK[i].setTop(front);
    } else {
        for (int i = 1; i <= 6; ++i) LblXXK[i].setTop(front);
    }
}

void FrmMain::LblXXK_Click(int index) {
    core::SessionState& s = core::session();
    if (index == 0) {
        // Back: the count of a "Q" code (0 or no digit: 1), else one step;
        // never before the question's first step.
        int steps = 0;
        if (BackStepCode.startsWith(u'Q')) {
            steps = core::val16(core::mid(BackStepCode, 5, 1));
            if (steps == 0) steps = 1;
        } else if (s.CurrentStep > 1) {
            steps = 1;
        }
        s.CurrentStep = int16_t(std::max(1, s.CurrentStep - steps));
        setData();
        return;
    }

    const TabLayout layout(ActiveTabLayout);
    Control* image = TabImageNo >= 1 && TabImageNo <= 5 ? &overlay(TabImageNo) : nullptr;
    // A page picture that cannot be read leaves the one shown.
    auto show = [&](const QString& number) {
        if (!image) return;
        if (auto p = core::pictureStore().load(core::config().dataFile(number))) image->setPicture(*p);
    };
    show(layout.tabPicture(index));
    if (TabCount >= 10) {
        TabFrontRow = index > 6 ? 2 : 1;
        DoubleXXK();
    }
    if (index == TargetTab) {
        show(rec().imagePicture(TabImageNo));
        Label1.setVisible(true);
        Label1.setHeight(RedBoxH * sy());
        Label1.setWidth(RedBoxW * sx());
        LHelp.setCaption(HintText);
        frameOn(Shape1, Label1);
    } else {
        LHelp.setCaption(tabHint(TargetTab));
        Label1.setWidth(1);
        Label1.setHeight(1);
        frameOn(Shape1, LblXXK[TargetTab]);
    }
    QString t = LHelp.caption();
    t.replace(u'|', QStringLiteral("\r\n"));
    LHelp.setCaption(t);
}

} // namespace engine
