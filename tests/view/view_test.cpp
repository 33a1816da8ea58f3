#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTextEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include "core/clock.h"
#include "core/forms.h"
#include "core/keys.h"
#include "core/state.h"
#include "support/driver.h"
#include "view/form_window.h"
#include "view/qt_ui.h"
#include "view/view_host.h"
#include "view/window_frame.h"

using namespace core;
using testsupport::Driver;

namespace {

// 200 x 150 pixels, borderless, at the screen's corner.
struct TestForm : Form {
    QStringList log;
    Control* lbl;
    Control* pic;
    Control* inner;
    Control* box;
    Control* list;
    TestForm() : Form("TestForm") {
        setBorderStyle(0);
        move(0, 0, 3000, 2250);
        setBackColor(rgbValue(255, 255, 255));
        lbl = &add(Kind::Label, "Lbl");
        lbl->move(150, 150, 600, 300);  // pixels (10, 10) 40 x 20
        pic = &add(Kind::PictureBox, "Pic");
        pic->move(1500, 150, 1200, 900);  // pixels (100, 10) 80 x 60
        inner = &add(Kind::Label, "Inner", pic);
        inner->move(300, 300, 300, 300);  // pixels (20, 20) of Pic
        box = &add(Kind::TextBox, "Box");
        box->move(150, 1500, 1200, 375);  // pixels (10, 100) 80 x 25
        list = &add(Kind::ListBox, "List");
        list->move(1500, 1200, 1200, 900);  // pixels (100, 80) 80 x 60
        for (Control* c : {lbl, inner, box, list, pic}) {
            const QString n = c->name();
            auto mouse = [this, n](const char* what) {
                return [this, n, what](Control&, const MouseArgs& a) {
                    log << QString("%1.%2(%3,%4,%5,%6)").arg(n, what).arg(a.button).arg(a.shift).arg(a.x).arg(a.y);
                };
            };
            c->onMouseDown = mouse("Down");
            c->onMouseUp = mouse("Up");
            c->onClick = [this, n](Control&) { log << n + ".Click"; };
            c->onDblClick = [this, n](Control&) { log << n + ".DblClick"; };
            c->onChange = [this, n](Control& self) { log << n + ".Change:" + self.text(); };
            c->onKeyPress = [this, n](Control&, int& k) {
                log << QString("%1.KeyPress(%2)").arg(n).arg(k);
                if (k == '9') k = 0;  // a filter that discards a character
            };
        }
        onKeyDown = [this](int& k, int s) { log << QString("Form.KeyDown(%1,%2)").arg(k).arg(s); };
        onKeyPress = [this](int& k) { log << QString("Form.KeyPress(%1)").arg(k); };
        onKeyUp = [this](int& k, int s) { log << QString("Form.KeyUp(%1,%2)").arg(k).arg(s); };
    }
};

void sendMouse(QWidget* w, QEvent::Type t, QPoint local, Qt::MouseButton b, Qt::MouseButtons held,
               Qt::KeyboardModifiers m = Qt::NoModifier) {
    QMouseEvent e(t, QPointF(local), QPointF(w->mapToGlobal(local)), b, held, m);
    QCoreApplication::sendEvent(w, &e);
}

void click(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
    sendMouse(w, QEvent::MouseButtonPress, p, b, b, m);
    sendMouse(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton, m);
}

void sendKey(QWidget* w, int key, const QString& text, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QKeyEvent down(QEvent::KeyPress, key, m, text);
    QCoreApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, m, text);
    QCoreApplication::sendEvent(w, &up);
}

struct ViewTest : ::testing::Test {
    Driver d;
    view::ViewHost host;
    FormSlot<TestForm> slot;

    TestForm& shown() {
        TestForm& f = slot();
        f.show();
        host.sync();
        return f;
    }
    view::FormWindow* window(Form& f) { return host.windowOf(f); }
};

// A cursor file: one opaque blue 32 x 32 image with the given hot spot.
QByteArray cursorFile(int hotX, int hotY) {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(qRgba(0, 0, 255, 255));
    return core::cursorData(img, hotX, hotY);
}

} // namespace

TEST_F(ViewTest, MouseAndKeysReachTheModelInTwips) {
    TestForm& f = shown();
    view::FormWindow* w = window(f);
    ASSERT_NE(w, nullptr);
    QWidget* pic = host.widgetOf(*f.pic);
    ASSERT_NE(pic, nullptr);

    // A windowless label painted by the form: coordinates relative to it,
    // modifiers as a sum, the click order.
    click(w, QPoint(20, 15), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(f.log, (QStringList{"Lbl.Down(1,3,150,75)", "Lbl.Up(1,3,150,75)", "Lbl.Click"}));
    f.log.clear();

    // A label inside a picture box, pressed through the picture box's widget.
    click(pic, QPoint(25, 25), Qt::RightButton);
    EXPECT_EQ(f.log, (QStringList{"Inner.Down(2,0,75,75)", "Inner.Up(2,0,75,75)", "Inner.Click"}));
    f.log.clear();

    // The picture box itself, outside its label.
    click(pic, QPoint(70, 50));
    EXPECT_EQ(f.log, (QStringList{"Pic.Down(1,0,1050,750)", "Pic.Up(1,0,1050,750)", "Pic.Click"}));
    f.log.clear();

    // Double click: no second MouseDown.
    sendMouse(w, QEvent::MouseButtonPress, {20, 15}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonRelease, {20, 15}, Qt::LeftButton, Qt::NoButton);
    sendMouse(w, QEvent::MouseButtonDblClick, {20, 15}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonRelease, {20, 15}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(f.log, (QStringList{"Lbl.Down(1,0,150,75)", "Lbl.Up(1,0,150,75)", "Lbl.Click", "Lbl.DblClick",
                                  "Lbl.Up(1,0,150,75)"}));
    f.log.clear();

    // Keys on the form (the picture box took the focus with the click):
    // virtual-key codes whatever the Shift state, the
    // keypad's own codes, no KeyPress for keys that type nothing.
    f.setActiveControl(nullptr);
    host.sync();
    sendKey(w, Qt::Key_A, "A", Qt::ShiftModifier);
    sendKey(w, Qt::Key_1, "1", Qt::KeypadModifier);
    sendKey(w, Qt::Key_F1, QString());
    sendKey(w, Qt::Key_Return, "\r");
    EXPECT_EQ(f.log, (QStringList{"Form.KeyDown(65,1)", "Form.KeyPress(65)", "Form.KeyUp(65,1)",
                                  "Form.KeyDown(97,0)", "Form.KeyPress(49)", "Form.KeyUp(97,0)",
                                  "Form.KeyDown(112,0)", "Form.KeyUp(112,0)",
                                  "Form.KeyDown(13,0)", "Form.KeyPress(13)", "Form.KeyUp(13,0)"}));
}

TEST_F(ViewTest, ThePressedControlKeepsTheMouseUntilRelease) {
    TestForm& f = shown();
    QWidget* pic = host.widgetOf(*f.pic);
    int moves = 0;
    QString lastMove;
    f.inner->onMouseMove = [&](Control&, const MouseArgs& a) {
        ++moves;
        lastMove = QString("%1,%2,%3").arg(a.button).arg(a.x).arg(a.y);
    };
    // Press on the label inside the picture box; Qt's grab keeps sending to
    // the picture box's widget, now far outside it.
    sendMouse(pic, QEvent::MouseButtonPress, {25, 25}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(pic, QEvent::MouseMove, {-50, 100}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(lastMove, "1,-1050,1200");
    sendMouse(pic, QEvent::MouseButtonRelease, {-50, 100}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(f.log, (QStringList{"Inner.Down(1,0,75,75)", "Inner.Up(1,0,-1050,1200)"}));  // no Click outside

    // A press on the bare form and a release over the label: the form has the mouse.
    f.log.clear();
    view::FormWindow* w = window(f);
    sendMouse(w, QEvent::MouseButtonPress, {60, 140}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonRelease, {20, 15}, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(f.log.isEmpty()) << f.log.join(" ").toStdString();
}

TEST_F(ViewTest, ProgramChangesDoNotEchoAndUserEditsRaiseOneChange) {
    TestForm& f = shown();
    auto* edit = qobject_cast<QLineEdit*>(host.widgetOf(*f.box));
    ASSERT_NE(edit, nullptr);

    f.box->setText("hello");
    host.sync();
    EXPECT_EQ(edit->text(), "hello");
    EXPECT_EQ(f.log, (QStringList{"Box.Change:hello"}));

    // The program focuses the box; the widget follows.
    f.box->setFocus();
    host.sync();
    EXPECT_EQ(window(f)->focusWidget(), edit);
    f.log.clear();

    // Assigning the text left the caret at 0; the user types there.
    sendKey(edit, Qt::Key_X, "x");
    EXPECT_EQ(f.box->text(), "xhello");
    EXPECT_EQ(f.box->selStart(), 1);
    EXPECT_EQ(f.log, (QStringList{"Box.KeyPress(120)", "Box.Change:xhello"}));
    f.log.clear();
    // The caret moved by the user reaches the model.
    sendKey(edit, Qt::Key_End, QString());
    EXPECT_EQ(f.box->selStart(), 6);

    // A KeyPress handler that discards the character: nothing is typed.
    sendKey(edit, Qt::Key_9, "9");
    EXPECT_EQ(f.box->text(), "xhello");
    EXPECT_EQ(edit->text(), "xhello");
    EXPECT_FALSE(f.log.join(" ").contains("Change"));
    f.log.clear();

    // The program's own change in a Change handler reaches the widget, once.
    f.box->onChange = [&](Control& b) {
        f.log << "Box.Change:" + b.text();
        if (b.text().contains("!")) b.setText("done");
    };
    sendKey(edit, Qt::Key_Exclam, "!", Qt::ShiftModifier);
    EXPECT_EQ(edit->text(), "done");
    EXPECT_EQ(f.log.filter("Change"), (QStringList{"Box.Change:xhello!", "Box.Change:done"}));

    // List box: the program's selection shows without a second Click; the
    // user's selection reaches the model.
    auto* lw = qobject_cast<QListWidget*>(host.widgetOf(*f.list));
    ASSERT_NE(lw, nullptr);
    for (const char* s : {"a", "b", "c"}) f.list->addItem(s);
    f.log.clear();
    f.list->setListIndex(2);
    host.sync();
    EXPECT_EQ(lw->count(), 3);
    EXPECT_EQ(lw->currentRow(), 2);
    EXPECT_EQ(f.log, (QStringList{"List.Click"}));
    f.log.clear();
    click(lw->viewport(), lw->visualItemRect(lw->item(0)).center());
    EXPECT_EQ(f.list->listIndex(), 0);
    ASSERT_GE(f.log.size(), 2);
    EXPECT_TRUE(f.log[0].startsWith("List.Down(1,0,"));
    EXPECT_EQ(f.log[1], "List.Click");
}

TEST_F(ViewTest, PointersFollowTheModel) {
    const std::pair<int, Qt::CursorShape> table[] = {
        {0, Qt::ArrowCursor}, {1, Qt::ArrowCursor}, {2, Qt::CrossCursor}, {3, Qt::IBeamCursor},
        {4, Qt::ArrowCursor}, {5, Qt::SizeAllCursor}, {6, Qt::SizeBDiagCursor}, {7, Qt::SizeVerCursor},
        {8, Qt::SizeFDiagCursor}, {9, Qt::SizeHorCursor}, {10, Qt::UpArrowCursor}, {11, Qt::WaitCursor},
        {12, Qt::ForbiddenCursor}, {13, Qt::BusyCursor}, {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor},
        {-3, Qt::ArrowCursor}, {1000, Qt::ArrowCursor}};
    for (auto [n, shape] : table) EXPECT_EQ(view::pointerShape(n), shape) << n;

    QTemporaryDir dir;
    const QString cur = dir.filePath("ico07.CUR");
    {
        QFile file(cur);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(cursorFile(5, 7));
    }

    TestForm& f = shown();
    view::FormWindow* w = window(f);
    f.setMousePointer(PtrHourglass);
    f.lbl->setMousePointer(PtrCross);
    host.sync();
    EXPECT_EQ(w->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(host.widgetOf(*f.box)->cursor().shape(), Qt::IBeamCursor);  // text box default

    // The pointer of the control under the mouse.
    sendMouse(w, QEvent::MouseMove, {20, 15}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(w->cursor().shape(), Qt::CrossCursor);
    // Changed by the program while the mouse rests on the label.
    f.lbl->setMouseIcon(cur);
    f.lbl->setMousePointer(PtrCustom);
    host.sync();
    EXPECT_EQ(w->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(w->cursor().hotSpot(), QPoint(5, 7));
    EXPECT_EQ(w->cursor().pixmap().size(), QSize(32, 32));
    // A label with the default pointer shows the form's.
    f.lbl->setMousePointer(PtrDefault);
    host.sync();
    EXPECT_EQ(w->cursor().shape(), Qt::WaitCursor);
    // A missing cursor file gives the arrow, never a failure.
    EXPECT_EQ(view::pointerCursor(PtrCustom, dir.filePath("none.cur")).shape(), Qt::ArrowCursor);
}

TEST_F(ViewTest, RendersPicturesShapesLabelsAndTextBoxes) {
    struct Scene : Form {
        Control* hidden;
        Scene() : Form("Scene") {
            setBorderStyle(0);
            move(0, 0, 3000, 2250);
            setBackColor(rgbValue(255, 255, 255));
            QImage blue(100, 100, QImage::Format_RGB32);
            blue.fill(qRgb(0, 0, 255));
            setPicture(Picture(blue));
            Control& shape = add(Kind::Shape, "Shape1");
            shape.move(300, 300, 300, 300);  // (20, 20) 20 x 20
            shape.setFillStyle(0);
            shape.setFillColor(rgbValue(255, 0, 0));
            shape.setBorderStyle(0);
            Control& clear = add(Kind::Label, "Clear");
            clear.setBackStyle(0);
            clear.setCaption("x");
            clear.move(750, 750, 600, 300);  // (50, 50) 40 x 20, over the picture
            Control& green = add(Kind::Label, "Green");
            green.setBackColor(rgbValue(0, 255, 0));
            green.move(1800, 150, 900, 300);  // (120, 10) 60 x 20
            hidden = &add(Kind::Label, "Hidden");
            hidden->setBackColor(rgbValue(0, 0, 0));
            hidden->move(0, 0, 3000, 2250);
            hidden->setVisible(false);
            Control& box = add(Kind::TextBox, "Text1");
            box.setBackColor(rgbValue(255, 255, 0));
            box.setText("ab");
            box.move(1650, 1500, 1200, 375);  // (110, 100) 80 x 25
        }
    };
    FormSlot<Scene> slot;
    Scene& f = slot();
    auto check = [](const QImage& img) {
        ASSERT_EQ(img.size(), QSize(200, 150));
        EXPECT_EQ(img.pixel(30, 30), qRgb(255, 0, 0));    // the shape over the picture
        EXPECT_EQ(img.pixel(10, 10), qRgb(0, 0, 255));    // the picture
        EXPECT_EQ(img.pixel(85, 65), qRgb(0, 0, 255));    // through the transparent label
        EXPECT_EQ(img.pixel(175, 25), qRgb(0, 255, 0));   // opaque label
        EXPECT_EQ(img.pixel(150, 70), qRgb(255, 255, 255));  // the form
        EXPECT_EQ(img.pixel(180, 112), qRgb(255, 255, 0));   // inside the text box
    };
    // Not shown: rendered offscreen.
    check(view::renderForm(f).convertToFormat(QImage::Format_RGB32));
    // Shown: the window itself.
    f.show();
    host.sync();
    ASSERT_NE(host.windowOf(f), nullptr);
    check(view::renderForm(f).convertToFormat(QImage::Format_RGB32));
}

TEST_F(ViewTest, ControlsAboveWindowedOnesArePaintedOverTheBoxes) {
    struct Scene : Form {
        Control* high;
        Control* low;
        Scene() : Form("Scene") {
            setBorderStyle(0);
            move(0, 0, 3000, 2250);
            setBackColor(rgbValue(255, 255, 255));
            Control& box = add(Kind::TextBox, "Text1");
            box.setBackColor(rgbValue(255, 255, 0));
            box.move(1500, 1500, 1200, 375);  // (100, 100) 80 x 25
            low = &add(Kind::Line, "Low");
            low->setBorderStyle(1);
            low->setBorderColor(rgbValue(0, 0, 255));
            low->setBorderWidth(3);
            low->setLine(1800, 600, 1800, 2100);  // x 120, y 40 to 140
            high = &add(Kind::Line, "High");
            high->setBorderStyle(1);
            high->setBorderColor(rgbValue(255, 0, 0));
            high->setBorderWidth(3);
            high->setLine(2400, 600, 2400, 2100);  // x 160
            high->setAboveWindowed(true);
        }
    };
    FormSlot<Scene> slot;
    Scene& f = slot();
    auto check = [](const QImage& img) {
        EXPECT_EQ(img.pixel(120, 60), qRgb(0, 0, 255));     // the plain line beside the box
        EXPECT_EQ(img.pixel(120, 112), qRgb(255, 255, 0));  // and under it
        EXPECT_EQ(img.pixel(160, 60), qRgb(255, 0, 0));
        EXPECT_EQ(img.pixel(160, 112), qRgb(255, 0, 0));    // the line above the box
    };
    check(view::renderForm(f).convertToFormat(QImage::Format_RGB32));
    f.show();
    host.sync();
    check(view::renderForm(f).convertToFormat(QImage::Format_RGB32));
    // It moves with the model.
    f.high->setLine(2100, 600, 2100, 2100);  // x 140
    host.sync();
    const QImage img = view::renderForm(f).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(img.pixel(140, 112), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(160, 112), qRgb(255, 255, 0));
}

TEST_F(ViewTest, WindowsComeAndGoWithTheForms) {
    TestForm& f = shown();
    view::FormWindow* w = window(f);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(w->geometry(), QRect(0, 0, 200, 150));

    f.setCaption("标题");
    f.move(1500, 750);
    f.lbl->setToolTipText("tip");
    f.box->setToolTipText("box tip");
    f.box->setEnabled(false);
    host.sync();
    EXPECT_EQ(w->windowTitle(), "标题");
    EXPECT_EQ(w->pos(), QPoint(100, 50));
    EXPECT_EQ(host.widgetOf(*f.box)->toolTip(), "box tip");
    EXPECT_FALSE(host.widgetOf(*f.box)->isEnabled());

    // A multi-line box shows the scroll bars the model asks for.
    Control& area = f.add(Kind::TextBox, "Area");
    area.setMultiLine(true);
    area.move(0, 0, 1500, 600);
    host.sync();
    auto* edit = qobject_cast<QTextEdit*>(host.widgetOf(area));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    area.setScrollBars(2);
    host.sync();
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // The user closes the window: the model decides.
    int asked = 0;
    f.onQueryUnload = [&](int& cancel, int mode) {
        ++asked;
        EXPECT_EQ(mode, 0);
        cancel = 1;
    };
    QCloseEvent close;
    QApplication::sendEvent(w, &close);  // not spontaneous: accepted as is
    EXPECT_EQ(asked, 0);
    f.hide();
    host.sync();
    EXPECT_EQ(window(f), nullptr);
    f.show();
    host.sync();
    ASSERT_NE(window(f), nullptr);
    EXPECT_NE(window(f), w);

    f.onQueryUnload = nullptr;
    f.unload();
    host.sync();
    EXPECT_EQ(host.windowOf(f), nullptr);
}

TEST_F(ViewTest, AMaximisedFramelessWindowFillsTheAvailableScreen) {
    // Where the platform maximises (offscreen, a window manager) the view
    // keeps the size it gave; where it does not (the minimal platform, an X
    // server without a window manager: the run view_no_window_manager) the
    // view gives the window that size itself, and the model lays out for it.
    TestForm& f = slot();
    f.setWindowState(StateMaximized);
    f.show();
    host.sync();
    view::FormWindow* w = window(f);
    ASSERT_NE(w, nullptr);
    ASSERT_NE(w->screen(), nullptr);
    const QRect avail = w->screen()->availableGeometry();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(w->geometry(), avail) << qPrintable(QGuiApplication::platformName());
    EXPECT_TRUE(w->isMaximized());
    EXPECT_EQ(f.windowState(), StateMaximized);
    EXPECT_EQ(view::pxX(f.scaleWidth()), avail.width());
    EXPECT_EQ(view::pxY(f.scaleHeight()), avail.height());
}

TEST_F(ViewTest, EveryWindowHasATitleAndTaskbarEntriesFollowTheModel) {
    const QString appTitle = config().AppTitle;
    config().AppTitle = QString();
    TestForm& f = slot();
    f.setShowInTaskbar(false);
    f.show();
    host.sync();
    view::FormWindow* w = window(f);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowType(), Qt::Tool);
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8(ProgramTitle));  // before the settings are read

    config().AppTitle = "Norvane职称计算机考试 Word模块";
    f.setCaption(" ");
    f.setCaption(QString());
    host.sync();
    EXPECT_EQ(w->windowTitle(), config().AppTitle);
    f.setCaption("题目");
    host.sync();
    EXPECT_EQ(w->windowTitle(), "题目");
    config().AppTitle = appTitle;

    Form other("Other");
    EXPECT_EQ(view::windowFlagsOf(other) & Qt::WindowType_Mask, Qt::Window);  // shown in the taskbar

    view::setProgramIdentity();
    EXPECT_EQ(QGuiApplication::desktopFileName(), QString::fromLatin1(DesktopAppId));
    EXPECT_EQ(QCoreApplication::applicationName(), QString::fromLatin1(DesktopAppId));
}

TEST_F(ViewTest, BorderlessWindowDragsAndRunsAfterMoveOnRelease) {
    TestForm& f = shown();
    view::FormWindow* w = window(f);
    int after = 0;
    f.lbl->onMouseDown = [&](Control&, const MouseArgs&) {
        view::startWindowMove(f, [&] {
            ++after;
            f.log << "after";
        });
        f.log << "started";
    };
    const QPoint start = w->pos();
    sendMouse(w, QEvent::MouseButtonPress, {20, 15}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(after, 0);
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 15), QPointF(w->mapToGlobal(QPoint(20, 15)) + QPoint(40, 20)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
    EXPECT_EQ(after, 0);
    EXPECT_EQ(w->pos(), start + QPoint(40, 20));
    sendMouse(w, QEvent::MouseButtonRelease, {20, 15}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(after, 1);
    EXPECT_DOUBLE_EQ(f.left(), (start.x() + 40) * 15.0);
    EXPECT_DOUBLE_EQ(f.top(), (start.y() + 20) * 15.0);
    // The press went to the move: no MouseUp, no Click.
    EXPECT_EQ(f.log, (QStringList{"started", "after"}));
    host.sync();
    EXPECT_EQ(w->pos(), start + QPoint(40, 20));
}

TEST_F(ViewTest, ModalFormsRunANestedLoopWithTimers) {
    view::QtUi ui;
    core::setUi(&ui);
    core::setClock(nullptr);  // real timers for this test
    struct Dialog : Form {
        int ticks = 0;
        bool sawModalWindow = false;
        Dialog() : Form("Dialog") {
            move(0, 0, 3000, 2000);
            Timer& t = addTimer("Timer1", 5, true);
            t.onTimer = [this](Timer& self) {
                if (auto* w = view::ViewHost::instance()->windowOf(*this))
                    sawModalWindow = w->isVisible() && w->windowModality() == Qt::ApplicationModal;
                if (++ticks == 3) {
                    self.setEnabled(false);
                    hide();
                }
            };
        }
    };
    FormSlot<Dialog> slot;
    Dialog& f = slot();
    f.show(true);
    EXPECT_EQ(f.ticks, 3);
    EXPECT_TRUE(f.sawModalWindow);
    EXPECT_FALSE(f.visible());
    f.unload();
    core::setClock(&d.clock);
    core::setUi(&d.ui);
}

TEST_F(ViewTest, TheInnermostModalBoxIsTheTopWindow) {
    // Where no window manager keeps the order, the view stacks the windows
    // itself: a topmost dialog opened from another topmost dialog comes above
    // it, whichever form is older in memory, and a message box opened from
    // it stays above both when another topmost window shows meanwhile. The
    // box goes, unanswered, when its form unloads.
    view::QtUi ui;
    core::setUi(&ui);
    struct Dialog : Form {
        Dialog() : Form("Dialog") {
            move(0, 0, 3000, 2000);
            setTopmost(true);
        }
    };
    FormSlot<Dialog> first, second, third;
    // The outer dialog is the one at the higher address (raising topmost
    // windows in the order of their forms' addresses puts it on top).
    Dialog* outer = &first();
    Dialog* inner = &second();
    if (std::less<Dialog*>()(outer, inner)) std::swap(outer, inner);
    QWidget* topAtInner = nullptr;
    QWidget* innerWindow = nullptr;
    QWidget* topAtBox = nullptr;
    QWidget* box = nullptr;
    int answer = 0;
    bool boxHidden = false;
    QTimer::singleShot(0, [&] {
        outer->dispatch("Click", [&] {
            QTimer::singleShot(0, [&] {
                topAtInner = host.stackingOrder().back();
                innerWindow = window(*inner);
                inner->dispatch("Click", [&] {
                    QTimer::singleShot(0, [&] {
                        box = QApplication::activeModalWidget();
                        third().show();
                        host.sync();
                        topAtBox = host.stackingOrder().back();
                        inner->unload();
                        host.sync();
                        boxHidden = box && !box->isVisible();
                    });
                    answer = MsgBox("look now?", MbYesNo, "t");
                });
            });
            inner->show(true);
        });
        outer->hide();
    });
    outer->show(true);
    core::setUi(&d.ui);
    ASSERT_NE(innerWindow, nullptr);
    EXPECT_EQ(topAtInner, innerWindow);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(topAtBox, box);
    EXPECT_TRUE(boxHidden);
    EXPECT_EQ(answer, MrNo);
    EXPECT_FALSE(view::ViewHost::isLoaded(inner));
    third().unload();
    outer->unload();
}

TEST_F(ViewTest, PopupMenuRunsTheChosenEntryBeforeReturning) {
    view::QtUi ui;
    struct MenuForm : Form {
        QStringList log;
        MenuForm() : Form("MenuForm") {
            setBorderStyle(0);
            move(0, 0, 3000, 2250);
            Menu& pop = addMenu("Pop");
            pop.setVisible(false);
            for (const char* c : {"A", "-", "B", "C"}) addMenu(QString("Item%1").arg(c), &pop).setCaption(c);
            menu("ItemB").setVisible(false);
            Menu& c = menu("ItemC");
            for (const char* s : {"C1", "C2"}) {
                Menu& m = addMenu(s, &c);
                m.setCaption(s);
                m.onClick = [this](Menu& self) { log << self.caption() + ".Click"; };
            }
        }
    };
    FormSlot<MenuForm> slot;
    MenuForm& f = slot();
    f.show();
    host.sync();
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!m) return;
        QMenu* cascade = nullptr;
        for (QAction* a : m->actions()) {
            seen << (a->isSeparator() ? "-" : a->text());
            if (a->menu()) cascade = a->menu();
        }
        if (cascade)
            for (QAction* a : cascade->actions())
                if (a->text() == "C1") a->trigger();
        m->close();
    });
    ui.popupMenu(f, f.menu("Pop"), 300, 300, PopupLeftAlign);
    f.log << "returned";
    EXPECT_EQ(seen, (QStringList{"A", "-", "C"}));
    EXPECT_EQ(f.log, (QStringList{"C1.Click", "returned"}));
}

// Runs the event loop until the posted work (syncs, repaints) is done.
void settle() {
    for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
}

// Records the regions painted on the widgets it watches.
struct PaintLog : QObject {
    PaintLog(std::initializer_list<QWidget*> watched) {
        for (QWidget* w : watched) w->installEventFilter(this);
    }
    std::map<QObject*, QRegion> painted;
    int events = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            painted[o] += static_cast<QPaintEvent*>(e)->region();
            ++events;
        }
        return false;
    }
};

TEST_F(ViewTest, TheViewFollowsTheModelAndRepaintsOnlyWhatChanged) {
    TestForm& f = shown();
    view::FormWindow* w = window(f);
    QWidget* pic = host.widgetOf(*f.pic);
    ASSERT_TRUE(w && pic);
    settle();
    PaintLog log{w, pic};

    // Nobody calls sync: the change itself brings the repaint, of the
    // label's pixels (40 x 20 at 10, 10) and a pixel around them.
    f.lbl->setCaption("changed");
    settle();
    EXPECT_TRUE(QRect(7, 7, 46, 26).contains(log.painted[w].boundingRect())) << log.painted[w].boundingRect().x();
    EXPECT_FALSE(log.painted[w].isEmpty());
    EXPECT_TRUE(log.painted[pic].isEmpty());

    // A label inside the picture box: only that part of the box.
    log.painted.clear();
    f.inner->setBackColor(rgbValue(0, 0, 255));
    settle();
    EXPECT_FALSE(log.painted[pic].isEmpty());
    EXPECT_TRUE(QRect(17, 17, 26, 26).contains(log.painted[pic].boundingRect()));

    // Moves over a still scene, and values set again, repaint nothing.
    log.painted.clear();
    log.events = 0;
    for (int x = 0; x < 200; x += 10) sendMouse(w, QEvent::MouseMove, QPoint(x, 60), Qt::NoButton, Qt::NoButton);
    f.pic->clearPicture();
    f.lbl->setCaption("changed");
    settle();
    EXPECT_EQ(log.events, 0);
}

// Many changes at once repaint the whole form: the picture box's contents
// too (a label inside it that changed with them), not only the form's own
// pixels around the box.
TEST_F(ViewTest, AWholeFormRepaintReachesThePictureBoxes) {
    TestForm& f = shown();
    view::FormWindow* w = window(f);
    QWidget* pic = host.widgetOf(*f.pic);
    ASSERT_TRUE(w && pic);
    settle();
    PaintLog log{w, pic};

    for (int i = 0; i < 60; ++i) f.lbl->move(150 + 15 * (i % 2), 150);
    f.inner->setBackColor(rgbValue(0, 0, 255));
    settle();
    EXPECT_TRUE(log.painted[w].contains(QRect(0, 0, 200, 150)));
    EXPECT_TRUE(log.painted[pic].contains(QRect(20, 20, 20, 20))) << "the label inside the box was not repainted";
}

TEST_F(ViewTest, PopupShowsEveryVisibleSeparator) {
    // Leading, doubled and trailing "-" take their room, also in a cascade;
    // hidden items take none.
    Form f("SepForm");
    Menu& pop = f.addMenu("Pop");
    int n = 0;
    auto item = [&](Menu& parent, const char* caption) -> Menu& {
        Menu& m = f.addMenu(QString("I%1").arg(++n), &parent);
        m.setCaption(caption);
        return m;
    };
    for (const char* c : {"-", "A", "-", "-", "B", "-", "C"}) item(pop, c);
    f.menu("I5").setVisible(false);  // B
    Menu& cascade = f.menu("I7");
    for (const char* c : {"-", "-", "C1"}) item(cascade, c);

    QMenu qm;
    std::map<QAction*, Menu*> actions;
    view::addPopupItems(qm, pop, actions);
    auto layout = [](QMenu& m) {
        m.ensurePolished();
        m.adjustSize();
        QStringList out;
        for (QAction* a : m.actions())
            out << (a->isSeparator() ? (m.actionGeometry(a).height() > 0 ? "-" : "(collapsed)") : a->text());
        return out;
    };
    EXPECT_EQ(layout(qm), (QStringList{"-", "A", "-", "-", "-", "C"}));
    QMenu* sub = qm.actions().last()->menu();
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(layout(*sub), (QStringList{"-", "-", "C1"}));
    EXPECT_EQ(actions.size(), 2u);  // A and C1 can be chosen
}

TEST(ViewMsgBox, StyleGivesButtonsIconAndDefault) {
    struct Case {
        int style;
        std::vector<QMessageBox::StandardButton> buttons;
        QMessageBox::StandardButton dflt;
        QMessageBox::Icon icon;
    };
    using SB = QMessageBox::StandardButton;
    const Case cases[] = {
        {MbOkOnly, {SB::Ok}, SB::Ok, QMessageBox::NoIcon},
        {MbOkCancel | MbExclamation, {SB::Ok, SB::Cancel}, SB::Ok, QMessageBox::Warning},
        {MbYesNo | MbQuestion | MbDefaultButton2, {SB::Yes, SB::No}, SB::No, QMessageBox::Question},
        {MbYesNoCancel | MbDefaultButton3, {SB::Yes, SB::No, SB::Cancel}, SB::Cancel, QMessageBox::NoIcon},
        {MbAbortRetryIgnore | MbCritical, {SB::Abort, SB::Retry, SB::Ignore}, SB::Abort, QMessageBox::Critical},
        {MbRetryCancel | MbInformation | MbDefaultButton3, {SB::Retry, SB::Cancel}, SB::Retry,
         QMessageBox::Information},
    };
    for (const Case& c : cases) {
        auto box = view::makeMessageBox("prompt", c.style, "title");
        EXPECT_EQ(box->buttons().size(), static_cast<qsizetype>(c.buttons.size())) << c.style;
        for (SB b : c.buttons) EXPECT_NE(box->button(b), nullptr) << c.style;
        EXPECT_EQ(box->defaultButton(), box->button(c.dflt)) << c.style;
        EXPECT_EQ(box->icon(), c.icon) << c.style;
        EXPECT_EQ(box->windowTitle(), "title");
    }
    // Shown for real: the answer of the clicked button.
    view::QtUi ui;
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->button(SB::No)->click();
    });
    EXPECT_EQ(ui.msgBox("continue?", MbYesNo, "t"), MrNo);
}

TEST(ViewMsgBox, ClosedByTheDesktopAnswersItsCancellingButton) {
    // Never the default button where that would act: the view-answer
    // question's Yes starts the answer's demonstration.
    const struct {
        int style;
        int answer;
    } cases[] = {
        {MbOkOnly, MrOk},
        {MbYesNo, MrNo},
        {MbYesNo | MbQuestion | MbDefaultButton2, MrNo},
        {MbOkCancel, MrCancel},
        {MbYesNoCancel, MrCancel},
        {MbRetryCancel, MrCancel},
    };
    view::QtUi ui;
    for (const auto& c : cases) {
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                QCloseEvent close;
                QApplication::sendEvent(box, &close);
            }
        });
        EXPECT_EQ(ui.msgBox("prompt", c.style, "t"), c.answer) << c.style;
    }
}

TEST_F(ViewTest, ALabelsAmpersandUnderlinesTheNextCharacter) {
    // "&W" shows W underlined, as wide as a plain "W"; "&&" shows one "&".
    struct Scene : Form {
        Control* label;
        Scene() : Form("Scene") {
            setBorderStyle(0);
            move(0, 0, 1500, 750);
            setBackColor(rgbValue(255, 255, 255));
            label = &add(Kind::Label, "Label1");
            label->setBackStyle(0);
            label->setAutoSize(true);
            label->setFontSize(20);
            label->move(150, 150);
        }
    };
    FormSlot<Scene> slot;
    Scene& f = slot();
    auto inked = [&](const QString& caption) {
        f.label->setCaption(caption);
        const QImage img = view::renderForm(f).convertToFormat(QImage::Format_RGB32);
        std::vector<int> rows;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != qRgb(255, 255, 255)) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    };
    const std::vector<int> plain = inked("W");
    const double plainWidth = f.label->width();
    const std::vector<int> underlined = inked("&W");
    EXPECT_EQ(f.label->width(), plainWidth);
    ASSERT_FALSE(plain.empty());
    ASSERT_FALSE(underlined.empty());
    EXPECT_GT(underlined.back(), plain.back()) << "a line below the W";
    inked("&&");
    const double doubled = f.label->width();
    inked("&");
    EXPECT_EQ(doubled, f.label->width());
}

namespace {

// TestForm with border style `border`: its client area still 200 x 150
// pixels, its outer position at pixel (100, 50).
TestForm& bordered(FormSlot<TestForm>& slot, int border) {
    TestForm& f = slot();
    f.setBorderStyle(border);
    f.move(1500, 750, 3000 + 2 * f.frameLeft(), 2250 + f.frameTop() + f.frameLeft());
    return f;
}

// While it lives the view acts as if no window manager ran (or not).
struct AssumeNoWindowManager {
    explicit AssumeNoWindowManager(bool on = true) { view::assumeNoWindowManager(on); }
    ~AssumeNoWindowManager() { view::assumeNoWindowManager(false); }
};

} // namespace

// Where no window manager frames the windows, a bordered form's window is
// its outer size with the client area inside a frame the view draws;
// everything inside keeps its place relative to the client area.
TEST_F(ViewTest, TheViewFramesABorderedWindowOnlyWhereNoWindowManagerDoes) {
    struct Case {
        const char* name;
        int border;
        bool windowManager;
        QMargins frame;
    };
    const Case cases[] = {
        {"fixed single, no window manager", 1, false, QMargins(4, 23, 4, 4)},
        {"fixed dialog, no window manager", 3, false, QMargins(4, 23, 4, 4)},
        {"borderless, no window manager", 0, false, QMargins()},
        {"fixed single, window manager", 1, true, QMargins()},
        {"fixed dialog, window manager", 3, true, QMargins()},
        {"sizable, window manager", 2, true, QMargins()},
        {"borderless, window manager", 0, true, QMargins()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AssumeNoWindowManager seam(!c.windowManager);
        TestForm& f = bordered(slot, c.border);
        f.lbl->setMousePointer(PtrCross);
        f.show();
        host.sync();
        view::FormWindow* w = window(f);
        ASSERT_NE(w, nullptr);
        const QPoint at(c.frame.left(), c.frame.top());
        EXPECT_EQ(w->pos(), QPoint(100, 50));
        EXPECT_EQ(w->size(), QSize(200, 150).grownBy(c.frame));
        EXPECT_EQ(w->clientOrigin(), at);
        EXPECT_EQ(w->closeBox().isEmpty(), c.frame.isNull());
        EXPECT_EQ(w->windowFlags().testFlag(Qt::FramelessWindowHint), c.border == 0 || !c.frame.isNull());
        // No border or a fixed one: the window keeps the form's size (a
        // fixed border without a minimise or maximise button); a sizable
        // one keeps both.
        const bool fixed = c.border != 2;
        const QSize any(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        EXPECT_EQ(w->minimumSize(), fixed ? w->size() : QSize(0, 0));
        EXPECT_EQ(w->maximumSize(), fixed ? w->size() : any);
        ASSERT_NE(w->windowHandle(), nullptr);
        EXPECT_EQ(w->windowHandle()->minimumSize(), w->minimumSize());
        EXPECT_EQ(w->windowHandle()->maximumSize(), w->maximumSize());
        const Qt::WindowFlags shown = w->windowHandle()->flags();
        if (c.windowManager && c.border != 0) {
            EXPECT_EQ(shown.testFlag(Qt::WindowMaximizeButtonHint), !fixed);
            EXPECT_EQ(shown.testFlag(Qt::WindowMinimizeButtonHint), !fixed);
            EXPECT_TRUE(shown.testFlag(Qt::WindowCloseButtonHint));
        }
        // The limits follow the model's size; a maximised form is let go.
        f.setWidth(f.width() + 300);
        host.sync();
        EXPECT_EQ(w->size(), QSize(220, 150).grownBy(c.frame));
        EXPECT_EQ(w->maximumSize(), fixed ? w->size() : any);
        f.setWindowState(StateMaximized);
        host.sync();
        EXPECT_EQ(w->maximumSize(), any);
        f.setWindowState(StateNormal);
        f.move(1500, 750, 3000 + 2 * f.frameLeft(), 2250 + f.frameTop() + f.frameLeft());
        host.sync();
        EXPECT_EQ(w->size(), QSize(200, 150).grownBy(c.frame));
        EXPECT_EQ(w->minimumSize(), fixed ? w->size() : QSize(0, 0));
        QWidget* pic = host.widgetOf(*f.pic);
        EXPECT_EQ(pic->geometry(), QRect(at + QPoint(100, 10), QSize(80, 60)));

        // The same twips through the window and through the picture box.
        click(w, at + QPoint(20, 15));
        click(pic, QPoint(70, 50));
        EXPECT_EQ(f.log, (QStringList{"Lbl.Down(1,0,150,75)", "Lbl.Up(1,0,150,75)", "Lbl.Click",
                                      "Pic.Down(1,0,1050,750)", "Pic.Up(1,0,1050,750)", "Pic.Click"}));
        sendMouse(w, QEvent::MouseMove, at + QPoint(20, 15), Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(w->cursor().shape(), Qt::CrossCursor);

        // The form's surface starts at the client area, and a change of the
        // label repaints the label's pixels there.
        const QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(img.size(), w->size());
        EXPECT_EQ(img.pixel(at + QPoint(2, 2)), qRgb(255, 255, 255));
        if (!c.frame.isNull()) {
            EXPECT_NE(img.pixel(at + QPoint(2, -2)), qRgb(255, 255, 255)) << "no title bar";
        }
        settle();
        PaintLog log{w};
        f.lbl->setBackColor(rgbValue(255, 0, 0));
        settle();
        w->removeEventFilter(&log);
        EXPECT_TRUE(log.painted[w].contains(QRect(at + QPoint(10, 10), QSize(40, 20))));
        EXPECT_TRUE(QRect(at + QPoint(7, 7), QSize(46, 26)).contains(log.painted[w].boundingRect()));
        EXPECT_EQ(w->grab().toImage().pixel(at + QPoint(20, 15)), qRgb(255, 0, 0));

        f.unload();
        host.sync();
    }
}

TEST_F(ViewTest, TheDrawnTitleBarShowsTheCaptionClosesAsTheDesktopDoesAndDrags) {
    AssumeNoWindowManager seam;
    TestForm& f = bordered(slot, 1);
    f.setCaption("帮助");
    f.setMousePointer(PtrHourglass);
    f.onMouseDown = [&](const MouseArgs&) { f.log << "Form.Down"; };
    f.onMouseMove = [&](const MouseArgs&) { f.log << "Form.Move"; };
    f.onMouseUp = [&](const MouseArgs&) { f.log << "Form.Up"; };
    f.show();
    host.sync();
    view::FormWindow* w = window(f);
    ASSERT_NE(w, nullptr);

    // A close box at the title bar's right end.
    const QRect box = w->closeBox();
    EXPECT_GE(box.width(), 16);
    EXPECT_GE(box.height(), 14);
    EXPECT_GE(box.top(), 0);
    EXPECT_LE(box.top(), 6);
    EXPECT_LE(box.right(), w->width() - 1);
    EXPECT_GE(box.right(), w->width() - 1 - 6);
    // Drawn: dark cross on a light face; the caption in the title bar.
    const QImage boxShot = w->grab(box).toImage();
    int dark = 0, light = 0;
    for (int y = 0; y < boxShot.height(); ++y)
        for (int x = 0; x < boxShot.width(); ++x) {
            const int g = qGray(boxShot.pixel(x, y));
            dark += g < 64;
            light += g > 180;
        }
    EXPECT_GT(dark, 10);
    EXPECT_GT(light, 40);
    const QRect title(0, 0, box.left(), w->clientOrigin().y());
    const QImage titled = w->grab(title).toImage();
    f.setCaption("其他标题");
    host.sync();
    EXPECT_NE(w->grab(title).toImage(), titled) << "the caption is not drawn";

    // Presses, moves and releases on the frame are not the form's: the
    // borders, a right click on the close box, a pass over the title bar.
    click(w, QPoint(1, 100));
    click(w, QPoint(w->width() - 2, 100));
    click(w, QPoint(100, w->height() - 2));
    click(w, box.center(), Qt::RightButton);
    sendMouse(w, QEvent::MouseMove, QPoint(60, 10), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(f.log, QStringList());
    EXPECT_TRUE(slot.loaded());

    // The title bar drags the window; the model gets its outer position
    // when the drag ends.
    const QPoint start = w->pos();
    sendMouse(w, QEvent::MouseButtonPress, {60, 10}, Qt::LeftButton, Qt::LeftButton);
    QMouseEvent drag(QEvent::MouseMove, QPointF(60, 10), QPointF(w->mapToGlobal(QPoint(60, 10)) + QPoint(30, 20)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &drag);
    EXPECT_EQ(w->pos(), start + QPoint(30, 20));
    sendMouse(w, QEvent::MouseButtonRelease, {60, 10}, Qt::LeftButton, Qt::NoButton);
    EXPECT_DOUBLE_EQ(f.left(), (start.x() + 30) * 15.0);
    EXPECT_DOUBLE_EQ(f.top(), (start.y() + 20) * 15.0);
    EXPECT_EQ(f.log, QStringList());
    // Back in the client area the form hears the mouse again.
    sendMouse(w, QEvent::MouseMove, w->clientOrigin() + QPoint(60, 60), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(f.log, QStringList{"Form.Move"});
    EXPECT_EQ(w->cursor().shape(), Qt::WaitCursor);
    f.log.clear();

    // The close box closes as the desktop's close: QueryUnload with
    // unloadMode 0, which may refuse. Released off the box, it does nothing.
    std::vector<int> modes;
    bool refuse = true;
    f.onQueryUnload = [&](int& cancel, int mode) {
        modes.push_back(mode);
        cancel = refuse ? 1 : 0;
    };
    const QPoint off(box.left() - 10, box.center().y());
    sendMouse(w, QEvent::MouseButtonPress, box.center(), Qt::LeftButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseMove, off, Qt::NoButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonRelease, off, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(modes.empty());
    click(w, box.center());
    EXPECT_EQ(modes, std::vector<int>{0});
    ASSERT_TRUE(slot.loaded());
    EXPECT_EQ(f.log, QStringList());
    refuse = false;
    click(w, box.topLeft());
    EXPECT_EQ(modes, (std::vector<int>{0, 0}));
    EXPECT_FALSE(slot.loaded());
}
