#include <gtest/gtest.h>
#include <Qt>

#include "core/clock.h"
#include "core/forms.h"
#include "core/keys.h"
#include "core/ui.h"
#include "support/driver.h"

using namespace core;
using testsupport::Driver;

namespace {

struct LogForm : Form {
    QStringList log;
    Control* lbl;
    Control* pic;
    Control* shape;
    Control* box;
    Control* list;
    LogForm() : Form("LogForm") {
        setBorderStyle(0);
        move(0, 0, 6000, 6000);
        pic = &add(Kind::PictureBox, "Pic");
        pic->move(3000, 3000, 2000, 2000);
        lbl = &add(Kind::Label, "Lbl");
        lbl->move(100, 100, 1000, 500);
        shape = &add(Kind::Shape, "Shape1");
        shape->move(0, 0, 2000, 2000);
        box = &add(Kind::TextBox, "Text1");
        box->move(100, 2500, 2000, 300);
        list = &add(Kind::ListBox, "List1");
        list->move(5000, 100, 900, 900);
        for (Control* c : {lbl, pic, box, list}) {
            QString n = c->name();
            c->onMouseDown = [this, n](Control&, const MouseArgs& a) {
                log << QString("%1.Down(%2,%3,%4,%5)").arg(n).arg(a.button).arg(a.shift).arg(a.x).arg(a.y);
            };
            c->onMouseUp = [this, n](Control&, const MouseArgs& a) { log << QString("%1.Up(%2)").arg(n).arg(a.button); };
            c->onClick = [this, n](Control&) { log << n + ".Click"; };
            c->onDblClick = [this, n](Control&) { log << n + ".DblClick"; };
            c->onChange = [this, n](Control& self) { log << n + ".Change:" + self.text(); };
        }
        onClick = [this] { log << "Form.Click"; };
    }
};

} // namespace

TEST(Forms, ClickAndDoubleClickOrder) {
    Driver d;
    FormSlot<LogForm> slot;
    LogForm& f = slot();
    d.click(f, 200, 300, 1, 2);
    EXPECT_EQ(f.log, (QStringList{"Lbl.Down(1,2,100,200)", "Lbl.Up(1)", "Lbl.Click"}));
    f.log.clear();
    d.dblClick(*f.lbl);
    EXPECT_EQ(f.log, (QStringList{"Lbl.Down(1,0,500,250)", "Lbl.Up(1)", "Lbl.Click", "Lbl.DblClick", "Lbl.Up(1)"}));
    f.log.clear();
    // Right click: labels click with either button; list boxes only with the left one.
    d.rightClick(*f.lbl);
    EXPECT_EQ(f.log.last(), "Lbl.Click");
    f.log.clear();
    d.rightClick(*f.list);
    EXPECT_EQ(f.log, (QStringList{"List1.Down(2,0,450,450)", "List1.Up(2)"}));
}

TEST(Forms, HitTestShapesHiddenDisabledAndContainers) {
    Driver d;
    FormSlot<LogForm> slot;
    LogForm& f = slot();
    // The shape lies over the label but never takes the mouse.
    EXPECT_EQ(f.hitTest(200, 300), f.lbl);
    // Windowed controls lie above windowless ones whatever the z-order.
    Control& lbl2 = f.add(Kind::Label, "Over");
    lbl2.move(100, 2500, 500, 300);
    EXPECT_EQ(f.hitTest(200, 2600), f.box);
    // A label inside a picture box is above the box.
    Control& inner = f.add(Kind::Label, "Inner", f.pic);
    inner.move(100, 100, 300, 300);
    EXPECT_EQ(f.hitTest(3200, 3200), &inner);
    EXPECT_EQ(inner.formX(), 3100);
    EXPECT_EQ(f.hitTest(3900, 3900), f.pic);
    // Hidden controls take nothing; a hidden container hides its children.
    f.pic->setVisible(false);
    EXPECT_EQ(f.hitTest(3200, 3200), nullptr);
    f.pic->setVisible(true);
    // A disabled label lets the mouse through to what lies below.
    f.lbl->setEnabled(false);
    EXPECT_EQ(f.hitTest(200, 300), nullptr);
    d.click(f, 200, 300);
    EXPECT_EQ(f.log.last(), "Form.Click");
    // A disabled windowed control cannot be pressed.
    f.box->setEnabled(false);
    f.log.clear();
    d.click(*f.box);
    EXPECT_TRUE(f.log.isEmpty());
    // Z-order within the windowless group.
    Control& a = f.add(Kind::Label, "A");
    Control& b = f.add(Kind::Label, "B");
    a.move(4000, 100, 500, 500);
    b.move(4000, 100, 500, 500);
    EXPECT_EQ(f.hitTest(4100, 200), &b);
    a.zOrder(0);
    EXPECT_EQ(f.hitTest(4100, 200), &a);
    a.zOrder(1);
    EXPECT_EQ(f.hitTest(4100, 200), &b);
}

TEST(Forms, ProgramMadeChangesRaiseEvents) {
    Driver d;
    FormSlot<LogForm> slot;
    LogForm& f = slot();
    f.box->setText("abc");
    f.box->setText("abc");  // the same text again: Change again
    f.list->addItem("x");
    f.list->addItem("y");
    f.list->setListIndex(1);
    EXPECT_EQ(f.log, (QStringList{"Text1.Change:abc", "Text1.Change:abc", "List1.Click"}));
    f.log.clear();
    d.type(*f.box, "d");
    EXPECT_EQ(f.box->text(), "abcd");
    EXPECT_EQ(f.log.last(), "Text1.Change:abcd");
}

TEST(Forms, CaptureSendsMovesAndReleaseToPressedControl) {
    Driver d;
    FormSlot<LogForm> slot;
    LogForm& f = slot();
    QStringList moves;
    f.lbl->onMouseMove = [&](Control&, const MouseArgs& a) { moves << QString("%1,%2,%3").arg(a.button).arg(a.x).arg(a.y); };
    d.drag(f, 200, 200, 5200, 5200, 2);
    EXPECT_EQ(moves, (QStringList{"0,100,100", "1,2600,2600", "1,5100,5100"}));
    EXPECT_EQ(f.log.last(), "Lbl.Up(1)");  // released outside: no Click
}

namespace {
struct LoadingForm : Form {
    static FormSlot<LoadingForm>* slot;
    static int loads;
    bool sawSelf = false;
    Control* btn;
    LoadingForm() : Form("LoadingForm") {
        btn = &add(Kind::CommandButton, "Cmd");
        btn->move(0, 0, 1000, 1000);
        onLoad = [this] {
            ++loads;
            sawSelf = &(*slot)() == this;  // nested reference during Load
        };
        btn->onClick = [this](Control& self) {
            unload();
            // Still safe to touch our own controls after unloading.
            self.setCaption("after");
            btn->setCaption("after");
        };
    }
};
FormSlot<LoadingForm>* LoadingForm::slot = nullptr;
int LoadingForm::loads = 0;
}

TEST(Forms, ImplicitLoadAndUnloadDuringHandler) {
    Driver d;
    FormSlot<LoadingForm> slot;
    LoadingForm::slot = &slot;
    LoadingForm::loads = 0;
    EXPECT_FALSE(slot.loaded());
    LoadingForm& f = slot();
    EXPECT_TRUE(f.sawSelf);
    EXPECT_EQ(LoadingForm::loads, 1);
    f.show();
    d.click(*f.btn);
    EXPECT_FALSE(slot.loaded());
    LoadingForm& g = slot();  // fresh after unload
    EXPECT_EQ(LoadingForm::loads, 2);
    EXPECT_EQ(g.btn->caption(), "");
}

TEST(Forms, TimersOnTheTestClock) {
    Driver d;
    Form f("T");
    std::vector<int64_t> ticks;
    Timer& t = f.addTimer("Timer1", 100, false);
    t.onTimer = [&](Timer&) { ticks.push_back(d.clock.nowMs()); };
    d.advance(500);
    EXPECT_TRUE(ticks.empty());
    t.setEnabled(true);  // at 500
    d.advance(150);      // tick at 600
    t.setEnabled(true);  // running: not restarted
    d.advance(50);       // tick at 700
    t.setInterval(100);  // restarts from 700
    d.advance(50);
    EXPECT_EQ(ticks, (std::vector<int64_t>{600, 700}));
    d.advance(50);
    EXPECT_EQ(ticks.back(), 800);
    t.setEnabled(false);
    d.advance(1000);
    EXPECT_EQ(ticks.size(), 3u);
    // A one-shot timer that disables itself; ticks of two timers in order.
    std::vector<QString> order;
    Timer& a = f.addTimer("A", 300, true);
    Timer& b = f.addTimer("B", 200, true);
    a.onTimer = [&](Timer& self) { order.push_back("A"); self.setEnabled(false); };
    b.onTimer = [&](Timer&) { order.push_back("B"); };
    d.advance(450);
    EXPECT_EQ(order, (std::vector<QString>{"B", "A", "B"}));
}

TEST(Forms, TickWithNestedLoopIsNotReentered) {
    Driver d;
    Form f("T");
    Timer& t = f.addTimer("T", 100, true);
    int depth = 0, maxDepth = 0, count = 0;
    t.onTimer = [&](Timer&) {
        ++count;
        maxDepth = std::max(maxDepth, ++depth);
        if (count == 1) d.advance(500);  // stands for a nested event loop
        --depth;
    };
    d.advance(100);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(count, 1);
}

TEST(Forms, ErrorsStopAtTheEventBoundary) {
    Driver d;
    FormSlot<LogForm> slot;
    LogForm& f = slot();
    bool after = false;
    f.lbl->onClick = [&](Control&) {
        f.array("Missing");
        (void)f.array("Missing")[3];  // raises
        after = true;
    };
    d.click(*f.lbl);
    EXPECT_FALSE(after);
    d.click(*f.lbl);  // the program keeps running
}

TEST(Forms, ControlArraysAndMenus) {
    Form f("M");
    Control& base = f.addElement(Kind::Label, "LblZHU", 0);
    base.move(10, 20, 30, 40);
    int clicked = -1;
    base.onClick = [&](Control& self) { clicked = self.index(); };
    Control& e5 = f.array("LblZHU").load(5);
    EXPECT_FALSE(e5.visible());
    EXPECT_EQ(e5.width(), 30);
    e5.setVisible(true);
    e5.raiseClick();
    EXPECT_EQ(clicked, 5);
    EXPECT_THROW(f.array("LblZHU")[4], RuntimeError);
    EXPECT_EQ(f.array("LblZHU").ubound(), 5);

    Menu& top = f.addMenu("wm100");
    top.setVisible(false);
    Menu& item0 = f.addMenu("sVemo", &top, 0);
    item0.setCaption("-");
    EXPECT_TRUE(item0.isSeparator());
    Menu& item1 = f.menuArray("sVemo").load(1);
    item1.setCaption("复制(C)");
    EXPECT_EQ(top.items().size(), 2u);
    EXPECT_EQ(top.items()[1], &item1);
}

TEST(Forms, PopupChoiceRunsBeforeCallReturns) {
    Driver d;
    Form f("P");
    Menu& top = f.addMenu("wm100");
    Menu& a = f.addMenu("Item", &top, 0);
    a.setCaption("粘贴(P)");
    bool ran = false;
    a.onClick = [&](Menu&) { ran = true; };
    d.ui.expectPopup("wm100", "粘贴(P)");
    ui().popupMenu(f, top, 100, 200, PopupRightAlign);
    EXPECT_TRUE(ran);
    EXPECT_EQ(d.ui.lastPopupFlags, PopupRightAlign);
    d.ui.expectMsgBox("退出", MrYes);
    EXPECT_EQ(MsgBox("确实要退出吗？", MbYesNo), MrYes);
}

TEST(Forms, AFormsMessageBoxesCloseUnansweredWhenItUnloads) {
    // A's handler asks; while it waits, B's handler asks too and unloads A.
    // A's box closes and answers "no choice" whatever would have been
    // chosen; B's box stays and keeps its answer.
    const struct {
        int style;
        int chosen;
        int unanswered;
    } cases[] = {
        {MbYesNo, MrYes, MrNo},
        {MbOkCancel, MrOk, MrCancel},
        {MbYesNoCancel | MbQuestion, MrYes, MrCancel},
        {MbOkOnly, MrOk, MrOk},
    };
    struct Asker : Form {
        Asker() : Form("A") {}
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        Driver d;
        FormSlot<Asker> a;
        Form b("B");
        int answerA = 0, answerB = 0;
        QStringList openWhileB;
        d.ui.expectMsgBox("A asks", c.chosen, [&] {
            d.ui.expectMsgBox("B asks", MrYes, [&] {
                a().unload();
                openWhileB = d.ui.openMsgBoxes();
            });
            b.dispatch("Click", [&] { answerB = MsgBox("B asks", MbYesNo); });
        });
        Form& form = a();
        form.dispatch("Click", [&] { answerA = MsgBox("A asks", c.style); });
        EXPECT_FALSE(d.ui.pending());
        EXPECT_FALSE(a.loaded());
        EXPECT_EQ(openWhileB, QStringList{"B asks"});
        EXPECT_EQ(answerA, c.unanswered);
        EXPECT_EQ(answerB, MrYes);
        EXPECT_TRUE(d.ui.openMsgBoxes().isEmpty());
    }
}

TEST(Forms, PictureSizesImage) {
    Form f("I");
    Control& img = f.add(Kind::Image, "Image1");
    Picture pic(QImage(40, 20, QImage::Format_RGB32));
    img.setPicture(pic);
    EXPECT_EQ(img.width(), 600);
    EXPECT_EQ(img.height(), 300);
    Control& st = f.add(Kind::Image, "Image2");
    st.setStretch(true);
    st.move(0, 0, 100, 100);
    st.setPicture(pic);
    EXPECT_EQ(st.width(), 100);
}

TEST(Keys, QtKeysMapToKeyCodes) {
    struct Case { int qt; bool pad; int code; } cases[] = {
        {Qt::Key_Return, false, 13}, {Qt::Key_Enter, true, 13}, {Qt::Key_Tab, false, 9}, {Qt::Key_A, false, 65},
        {Qt::Key_Z, false, 90}, {Qt::Key_0, false, 48}, {Qt::Key_5, true, 101}, {Qt::Key_F1, false, 112},
        {Qt::Key_F12, false, 123}, {Qt::Key_Delete, false, 46}, {Qt::Key_Escape, false, 27},
        {Qt::Key_Exclam, false, 49}, {Qt::Key_Space, false, 32}, {Qt::Key_Left, false, 37},
    };
    for (const auto& c : cases) EXPECT_EQ(keyCodeFromQt(c.qt, c.pad), c.code) << c.qt;
    EXPECT_EQ(shiftFromQt(Qt::ShiftModifier | Qt::AltModifier), 5);
    EXPECT_EQ(buttonFromQt(Qt::RightButton), 2);
}

namespace {
struct SelfUnloading : Form {
    int ticks = 0;
    SelfUnloading() : Form("SelfUnloading") {
        Timer& t = addTimer("Timer1", 100, true);
        t.onTimer = [this](Timer&) {
            ++ticks;
            unload();  // the form and its timer go away inside their own tick
        };
    }
};
}

TEST(Forms, TickThatUnloadsItsOwnFormIsSafe) {
    Driver d;
    FormSlot<SelfUnloading> slot;
    slot();
    d.advance(100);
    EXPECT_FALSE(slot.loaded());
    d.advance(1000);  // no further tick of the freed timer
    SelfUnloading& again = slot();
    EXPECT_EQ(again.ticks, 0);
}

namespace {

// The damage of a form as one rectangle (nothing: an empty one).
QRectF damageBounds(const Form::Damage& d) {
    QRectF r;
    for (const QRectF& x : d.rects) r = r.united(x);
    return r;
}

} // namespace

TEST(FormChanges, SettingTheValueAPropertyHasIsNoChange) {
    LogForm f;
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    const Picture pic(img);
    Control& image = f.add(Kind::Image, "Img");
    image.setPicture(pic);
    f.lbl->setCaption("A");
    f.box->setText("abc");
    f.list->addItem("x");
    f.list->setListIndex(0);
    struct Case {
        const char* what;
        std::function<void()> set;
    };
    const Case cases[] = {
        {"caption", [&] { f.lbl->setCaption("A"); }},
        {"geometry", [&] { f.lbl->move(100, 100, 1000, 500); }},
        {"visible", [&] { f.lbl->setVisible(true); }},
        {"pointer", [&] { f.lbl->setMousePointer(PtrDefault); }},
        {"same picture", [&] { image.setPicture(pic); }},
        {"empty picture cleared", [&] { f.pic->clearPicture(); }},
        {"text", [&] { f.box->setText("abc"); }},
        {"selection", [&] { f.box->setSelStart(f.box->selStart()); }},
        {"list index", [&] { f.list->setListIndex(0); }},
        {"line", [&] { f.shape->setLine(0, 0, 2000, 2000); }},
        {"form caption", [&] { f.setCaption(f.caption()); }},
        {"form picture", [&] { f.setPicture(Picture()); }},
        {"form colour", [&] { f.setBackColor(f.backColor()); }},
    };
    for (const Case& c : cases) {
        c.set();  // the line case sets its value the first time
        f.takeDamage();
        const uint64_t rev = f.revision(), all = modelRevision();
        c.set();
        EXPECT_EQ(f.revision(), rev) << c.what;
        EXPECT_EQ(modelRevision(), all) << c.what;
        EXPECT_TRUE(f.takeDamage().empty()) << c.what;
    }
}

TEST(FormChanges, AChangeDamagesOnlyTheControlsItTouched) {
    Driver driver;
    LogForm f;
    f.takeDamage();
    f.lbl->setCaption("changed");
    Form::Damage d = f.takeDamage();
    EXPECT_FALSE(d.all);
    const QRectF lbl(100, 100, 1000, 500);
    // The label's area and a pixel around it, nothing more.
    EXPECT_TRUE(damageBounds(d).contains(lbl));
    EXPECT_TRUE(lbl.adjusted(-30, -30, 30, 30).contains(damageBounds(d)));

    // A move damages where the control was and where it is now; a control in
    // a container, in form coordinates.
    f.lbl->setLeft(4000);
    d = f.takeDamage();
    EXPECT_TRUE(damageBounds(d).contains(QRectF(100, 100, 4900, 500)));
    Control& inner = f.add(Kind::Label, "Inner", f.pic);
    inner.move(10, 20, 300, 300);
    f.takeDamage();
    inner.setBackColor(0xFF);
    EXPECT_TRUE(damageBounds(f.takeDamage()).contains(QRectF(3010, 3020, 300, 300)));

    // Form properties repaint the whole form; timers and menus nothing.
    f.setBackColor(0x123456);
    EXPECT_TRUE(f.takeDamage().all);
    Timer& t = f.addTimer("T", 100);
    const uint64_t rev = f.revision();
    t.setEnabled(true);
    t.setEnabled(false);
    f.addMenu("M").setCaption("m");
    EXPECT_EQ(f.revision(), rev);
}
