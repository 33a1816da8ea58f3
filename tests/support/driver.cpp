#include "support/driver.h"

#include <gtest/gtest.h>

#include "core/keys.h"

#include <algorithm>

namespace testsupport {

Driver::Driver() {
    core::setClock(&clock);
    core::setUi(&ui);
    ui.onUnexpected = [](const QString& what) { ADD_FAILURE() << "unexpected prompt: " << what.toStdString(); };
}

Driver::~Driver() {
    core::unloadAllForms();
    // A prompt the test expected and never saw is a failure too.
    for (const QString& what : ui.takePending()) ADD_FAILURE() << "expected prompt never came: " << what.toStdString();
    core::setUi(nullptr);
    core::setClock(nullptr);
}

void Driver::click(core::Form& f, double x, double y, int button, int shift) {
    // The form stays alive (if unloaded, deaf) until the action ends.
    core::HandlerScope alive(&f);
    f.mouseMove(x, y, 0, shift);
    f.mouseDown(x, y, button, shift);
    f.mouseUp(x, y, button, shift);
}

void Driver::click(core::Control& c, int button, int shift) { click(*c.form(), centreX(c), centreY(c), button, shift); }

void Driver::clickListRow(core::Control& list, int row) {
    core::Form& f = *list.form();
    core::HandlerScope alive(&f);
    // A row of the list's font: its height in points, a little leading.
    const double rowHeight = std::max(1.0, list.fontSize()) * 20 * 1.25;
    const double inset = list.clientInset();
    const double bottom = list.height() - 2 * inset;
    const double y = inset + std::min((row + 0.5) * rowHeight, std::max(0.0, bottom - rowHeight / 2));
    const double fx = centreX(list), fy = list.formY() + y;
    EXPECT_EQ(f.hitTest(fx, fy), &list) << "the row of " << list.name().toStdString() << " is covered";
    f.mouseMove(fx, fy, 0, 0);
    f.mouseDown(fx, fy, core::LeftButton, 0);
    if (list.form() && row != list.listIndex() && row >= 0 && row < list.listCount()) list.setListIndex(row);
    f.mouseUp(fx, fy, core::LeftButton, 0);
}

void Driver::dblClick(core::Form& f, double x, double y, int button, int shift) {
    // The form stays alive (if unloaded, deaf) until the action ends.
    core::HandlerScope alive(&f);
    f.mouseMove(x, y, 0, shift);
    f.mouseDown(x, y, button, shift);
    f.mouseUp(x, y, button, shift);
    f.mouseDblPress(x, y, button, shift);
    f.mouseUp(x, y, button, shift);
}

void Driver::dblClick(core::Control& c, int button, int shift) {
    dblClick(*c.form(), centreX(c), centreY(c), button, shift);
}

void Driver::hover(core::Form& f, double x, double y, int shift) { f.mouseMove(x, y, 0, shift); }
void Driver::hover(core::Control& c, int shift) { hover(*c.form(), centreX(c), centreY(c), shift); }
void Driver::press(core::Form& f, double x, double y, int button, int shift) { f.mouseDown(x, y, button, shift); }
void Driver::moveTo(core::Form& f, double x, double y, int button, int shift) { f.mouseMove(x, y, button, shift); }
void Driver::release(core::Form& f, double x, double y, int button, int shift) { f.mouseUp(x, y, button, shift); }

void Driver::drag(core::Form& f, double x1, double y1, double x2, double y2, int steps, int button) {
    // The form stays alive (if unloaded, deaf) until the action ends.
    core::HandlerScope alive(&f);
    f.mouseMove(x1, y1, 0, 0);
    f.mouseDown(x1, y1, button, 0);
    for (int i = 1; i <= steps; ++i)
        f.mouseMove(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps, button, 0);
    f.mouseUp(x2, y2, button, 0);
}

void Driver::type(core::Control& box, const QString& text) {
    // The form stays alive (if unloaded, deaf) until the action ends.
    core::HandlerScope alive(box.form());
    core::Form& f = *box.form();
    if (f.activeControl() != &box) {
        click(box);
        box.setSelStart(static_cast<int>(box.text().size()));
    }
    for (QChar ch : text) {
        int code = 0;
        ushort u = ch.unicode();
        if (u >= 'a' && u <= 'z') code = core::KeyA + (u - 'a');
        else if (u >= 'A' && u <= 'Z') code = core::KeyA + (u - 'A');
        else if (u >= '0' && u <= '9') code = core::Key0 + (u - '0');
        else if (u == ' ') code = core::KeySpace;
        int shift = (u >= 'A' && u <= 'Z') ? 1 : 0;
        if (code) f.keyDown(code, shift);
        int ascii = f.keyPress(u);
        if (ascii != 0 && f.activeControl() == &box) {
            box.setSelText(QString(QChar(ascii)));
        }
        if (code) f.keyUp(code, shift);
    }
}

void Driver::key(core::Form& f, int keyCode, int shift) {
    // The form stays alive (if unloaded, deaf) until the action ends.
    core::HandlerScope alive(&f);
    f.keyDown(keyCode, shift);
    if (keyCode == core::KeyReturn || keyCode == core::KeyEscape || keyCode == core::KeyBack) f.keyPress(keyCode);
    f.keyUp(keyCode, shift);
}

} // namespace testsupport
