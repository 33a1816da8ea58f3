#pragma once
// Acts on forms as a user would: presses, moves and releases the mouse at
// twip points of a form (through the hit-test), types, presses keys,
// advances the test clock and answers prompts.
#include <QString>
#include <QStringList>
#include <ostream>

#include "core/clock.h"
#include "core/forms.h"
#include "core/ui.h"

// Readable test failures for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << '[' << l.join("|").toStdString() << ']'; }

namespace testsupport {

class Driver {
public:
    // Installs a test clock and scripted prompts; an unexpected prompt fails
    // the running test, and so does an expected one still unanswered when the
    // driver goes.
    Driver();
    ~Driver();

    core::TestClock clock;
    core::ScriptedUi ui;

    void click(core::Form& f, double x, double y, int button = 1, int shift = 0);
    void click(core::Control& c, int button = 1, int shift = 0);
    void rightClick(core::Control& c, int shift = 0) { click(c, 2, shift); }
    void dblClick(core::Form& f, double x, double y, int button = 1, int shift = 0);
    void dblClick(core::Control& c, int button = 1, int shift = 0);
    void hover(core::Form& f, double x, double y, int shift = 0);
    void hover(core::Control& c, int shift = 0);
    void press(core::Form& f, double x, double y, int button = 1, int shift = 0);
    void moveTo(core::Form& f, double x, double y, int button = 1, int shift = 0);
    void release(core::Form& f, double x, double y, int button = 1, int shift = 0);
    // Press at (x1, y1), move in `steps` steps, release at (x2, y2).
    void drag(core::Form& f, double x1, double y1, double x2, double y2, int steps = 4, int button = 1);
    // A left click on row `row` of a list box, as the view reports it: the
    // press, the choice of the row (its Click), the release. Rows past the
    // box's height are clicked at its last visible row, as after scrolling.
    void clickListRow(core::Control& list, int row);
    // Focuses the box (as a click on it would) and types each character:
    // KeyDown, KeyPress, the edit, KeyUp.
    void type(core::Control& box, const QString& text);
    // A key press and release on the form's focused control.
    void key(core::Form& f, int keyCode, int shift = 0);
    void advance(int64_t ms) { clock.advance(ms); }

    // Centre of a control in its form's client coordinates.
    static double centreX(const core::Control& c) { return c.formX() + c.width() / 2; }
    static double centreY(const core::Control& c) { return c.formY() + c.height() / 2; }
};

} // namespace testsupport
