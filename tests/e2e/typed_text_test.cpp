// Text that reaches a box without key presses (pasted with the keyboard,
// the middle button or the box's menu, dropped, committed by an input
// method) ends as typing the same characters would leave it: a box with a
// KeyPress handler sees every character through it. Run on the windows of
// the program as the candidate sees them.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include "core/state.h"
#include "cover/frm_fengmian.h"
#include "e2e/module_fixture.h"
#include "engine/frm_main.h"
#include "engine/step_record.h"
#include "engine/text_table.h"
#include "session/frm_logon.h"
#include "session/frm_start.h"
#include "support/driver.h"
#include "view/form_window.h"
#include "view/view_host.h"

namespace {

enum Way { Typed, KeyboardPaste, MenuPaste, MiddleClick, Dropped, Committed, Composed };
const char* const kWayNames[] = {"typed", "Ctrl+V", "menu paste", "middle click", "dropped", "committed",
                                 "composed and committed"};

void send(QWidget* w, QEvent& e) { QCoreApplication::sendEvent(w, &e); }

void key(QWidget* w, int k, const QString& text, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QKeyEvent down(QEvent::KeyPress, k, m, text);
    send(w, down);
    QKeyEvent up(QEvent::KeyRelease, k, m, text);
    send(w, up);
}

// The key that types c on a US keyboard (0 where none does).
int keyOf(QChar c) {
    if (c.isDigit() && c.unicode() < 128) return Qt::Key_0 + (c.unicode() - '0');
    if (c.unicode() < 128 && c.isLetter()) return Qt::Key_A + (c.toUpper().unicode() - 'A');
    return 0;
}

void mouse(QWidget* w, QEvent::Type t, QPoint p, Qt::MouseButton b, Qt::MouseButtons held) {
    QMouseEvent e(t, QPointF(p), QPointF(w->mapToGlobal(p)), b, held, Qt::NoModifier);
    send(w, e);
}

// The text arrives in the box `w` the given way. MiddleClick and Dropped
// put it at the end of the box's text (where the mouse is), the others at
// the caret or over the selection.
void arrive(QWidget* w, Way way, const QString& text) {
    const QPoint end(w->width() - 3, w->height() / 2);
    switch (way) {
    case Typed:
        for (QChar c : text) key(w, keyOf(c), QString(c));
        break;
    case KeyboardPaste:
        QGuiApplication::clipboard()->setText(text);
        key(w, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
        break;
    case MenuPaste: {
        QGuiApplication::clipboard()->setText(text);
        QContextMenuEvent open(QContextMenuEvent::Mouse, end, w->mapToGlobal(end));
        send(w, open);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no menu";
        QAction* paste = nullptr;
        for (QAction* a : menu->actions())
            if (a->text().startsWith("&Paste")) paste = a;
        ASSERT_NE(paste, nullptr);
        paste->trigger();
        menu->close();
        break;
    }
    case MiddleClick:
        view::primarySelectionSource() = [text] { return text; };
        mouse(w, QEvent::MouseButtonPress, end, Qt::MiddleButton, Qt::MiddleButton);
        mouse(w, QEvent::MouseButtonRelease, end, Qt::MiddleButton, Qt::NoButton);
        view::primarySelectionSource() = nullptr;
        break;
    case Dropped: {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        send(w, enter);
        QDropEvent drop(QPointF(end), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        send(w, drop);
        break;
    }
    case Committed: {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        send(w, commit);
        break;
    }
    case Composed: {
        for (const char* pre : {"z", "zh", "zhang"}) {
            QInputMethodEvent compose(QString::fromLatin1(pre), {});
            send(w, compose);
        }
        QInputMethodEvent commit;
        commit.setCommitString(text);
        send(w, commit);
        break;
    }
    }
}

class TypedText : public e2e::ModuleFixture {
protected:
    void TearDown() override {
        view::primarySelectionSource() = nullptr;
        host_.reset();
        ModuleFixture::TearDown();
    }
    view::ViewHost& host() {
        if (!host_) host_ = std::make_unique<view::ViewHost>();
        host_->sync();
        return *host_;
    }
    std::unique_ptr<view::ViewHost> host_;
};

} // namespace

TEST_F(TypedText, EveryWayOfArrivalLeavesWhatTypingLeaves) {
    testsupport::Driver& d = driver();
    session::frmStart()();
    d.advance(200);
    cover::FrmFengmian& c = cover::frmFengmian()();
    d.click(c.LblKaCH);
    d.click(c.LblStartKs[0]);
    ASSERT_TRUE(session::frmLogon().loaded());
    d.advance(100);
    session::FrmLogon& l = session::frmLogon()();
    const QString sample = l.TxtSFZ.text();
    ASSERT_EQ(sample.size(), 18);

    struct Case {
        const char* what;
        core::Control* box;
        QString start;     // all of it selected
        QString input;
        QString selected;  // the text over the selection
        QString atEnd;     // the text put at the end
    };
    const Case cases[] = {
        {"letters over the sample number", &l.TxtSFZ, sample, "abcdef", sample, sample},
        // X passes once the box holds 17 characters, as the whole sample does.
        {"the check letter over the sample number", &l.TxtSFZ, sample, "aXb", "X", sample},
        {"Chinese over the sample number", &l.TxtSFZ, sample, QString::fromUtf8("张三"), sample, sample},
        {"digits among letters", &l.TxtSFZ, sample, "12ab34", "1234", sample},
        {"the check letter after 17 digits", &l.TxtSFZ, "", "11010519491231002X", "11010519491231002X",
         "11010519491231002X"},
        {"the check letter first", &l.TxtSFZ, "", "X123x", "123", "123"},
        {"more digits than fit", &l.TxtSFZ, "", "1234567890123456789012", "123456789012345678",
         "123456789012345678"},
        {"the seat box takes anything", &l.TxtZwh, "18", QString::fromUtf8("张7"), QString::fromUtf8("张7"),
         QString::fromUtf8("18张")},
        {"the seat box's length", &l.TxtZwh, "18", "12345", "123", "181"},
    };
    view::ViewHost& h = host();
    for (const Case& k : cases) {
        for (Way way : {Typed, KeyboardPaste, MenuPaste, MiddleClick, Dropped, Committed, Composed}) {
            SCOPED_TRACE(std::string(k.what) + ", " + kWayNames[way]);
            auto* w = qobject_cast<QLineEdit*>(h.widgetOf(*k.box));
            ASSERT_NE(w, nullptr);
            // The candidate clicks into the box; the program fills and selects it.
            mouse(w, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
            mouse(w, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
            ASSERT_EQ(l.activeControl(), k.box);
            k.box->setText(k.start);
            k.box->setSelStart(0);
            k.box->setSelLength(int(k.start.size()));
            h.sync();
            ASSERT_EQ(w->selectedText(), k.start);

            arrive(w, way, k.input);
            h.sync();
            const QString want = way == MiddleClick || way == Dropped ? k.atEnd : k.selected;
            EXPECT_EQ(k.box->text(), want);
            EXPECT_EQ(w->text(), want) << "the box shows the model's text";
        }
    }

    // The confirmation page shows what the box kept.
    auto* id = qobject_cast<QLineEdit*>(h.widgetOf(l.TxtSFZ));
    l.TxtSFZ.setText(sample);
    l.TxtSFZ.setSelStart(0);
    l.TxtSFZ.setSelLength(18);
    h.sync();
    arrive(id, Composed, QString::fromUtf8("张三"));
    d.click(l.CmdLog);
    EXPECT_EQ(l.LblSfz.caption(), sample);
}

TEST_F(TypedText, ACommittedChineseAnswerCompletesItsStep) {
    nothingSolved();
    // A question whose first step is a typed answer in Chinese.
    const std::vector<int> counts = e2e::unitCounts(root());
    core::SessionState& s = core::session();
    int unit = -1, question = 0;
    QString answer;
    for (int u = 0; u < int(counts.size()) && unit < 0; ++u) {
        for (int q = 1; q <= counts[u] && unit < 0; ++q) {
            if (session::frmTm().loaded()) session::frmTm()().EndPractice();
            driver().advance(200);
            if (!cover::frmFengmian().loaded()) core::windows().showCover();
            if (!openQuestion(u, q)) return;
            const engine::StepRecord r(s.StepLine);
            if (s.CurrentStep != 1 || r.action() != engine::ActionTypeLive) continue;
            const QString a = engine::AnswerText(r.answerLine()).first;
            bool chinese = !a.isEmpty();
            for (QChar ch : a) chinese = chinese && ch.unicode() >= 0x2E80;
            if (chinese) {
                unit = u;
                question = q;
                answer = a;
            }
        }
    }
    ASSERT_GE(unit, 0) << "the sample has no typed Chinese answer";

    engine::FrmMain& f = engine::frmMain()();
    view::ViewHost& h = host();
    auto* box = qobject_cast<QLineEdit*>(h.widgetOf(f.Text1));
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(box->isVisible());
    mouse(box, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    mouse(box, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
    arrive(box, Composed, answer);
    h.sync();
    EXPECT_TRUE(s.QuestionState[question] & 4) << "unit " << unit << " question " << question << ": "
                                                << qPrintable(f.Text1.text());
}
