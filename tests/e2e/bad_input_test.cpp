// The program on a damaged module: scripts, lists, the text table, the
// context-menu file, pictures and the candidate's records replaced by
// garbage or removed. Whatever the candidate does, nothing may crash, and
// every record the program writes stays a whole file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include "core/forms.h"
#include "core/keys.h"
#include "core/platform.h"
#include "core/registry.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "cover/frm_fengmian.h"
#include "engine/frm_main.h"
#include "session/frm_start.h"
#include "session/frm_tm.h"
#include "session/session_start.h"
#include "support/driver.h"
#include "e2e/module_fixture.h"

namespace {

QString garbageLine(QRandomGenerator& rng) {
    static const QString alphabet = QString::fromUtf8("0123456789000000888899ABCDHKLQRSXYZ|-. 中文字*");
    const int len = rng.bounded(0, 260);
    QString s;
    for (int i = 0; i < len; ++i) s += alphabet[rng.bounded(static_cast<int>(alphabet.size()))];
    return s;
}

// Keeps some lines, damages others: shortened, garbage, or digits swapped.
QStringList damaged(const QStringList& lines, QRandomGenerator& rng) {
    QStringList out;
    for (const QString& l : lines) {
        switch (rng.bounded(6)) {
        case 0: out << garbageLine(rng); break;
        case 1: out << l.left(rng.bounded(0, static_cast<int>(l.size()) + 1)); break;
        case 2: {
            QString m = l;
            for (int k = 0; k < 8 && !m.isEmpty(); ++k)
                m[rng.bounded(static_cast<int>(m.size()))] = QChar(u'0' + rng.bounded(10));
            out << m;
            break;
        }
        default: out << l;
        }
    }
    if (rng.bounded(3) == 0) out << garbageLine(rng);
    return out;
}

class BadInput : public e2e::ModuleFixture, public ::testing::WithParamInterface<int> {
protected:
    // The program without the demonstration.
    void registerWindows() override {
        cover::registerCover();
        engine::registerPracticeWindow();
        session::registerSessionWindows();
    }

    void damageModule(QRandomGenerator& rng) {
        QDir data(root() + "/wdata");
        for (const QString& name : data.entryList(QDir::Files)) {
            const QString path = data.filePath(name);
            const bool text = name.startsWith("2888");
            if (text) {
                // Step scripts, question lists, the text table and the catalogue.
                if (rng.bounded(5) == 0) {
                    QFile::remove(path);
                } else if (auto lines = core::readLines(path)) {
                    ASSERT_TRUE(core::writeLines(path, damaged(*lines, rng)));
                }
            } else if (rng.bounded(4) == 0) {
                // A picture: missing or cut short (written anew: the file
                // may be a link to the suite's copy).
                QFile f(path);
                if (rng.bounded(2) == 0) {
                    f.remove();
                } else if (f.open(QIODevice::ReadOnly)) {
                    const QByteArray head = f.read(rng.bounded(0, 200));
                    f.close();
                    ASSERT_TRUE(core::writeFileAtomic(path, head));
                }
            }
        }
        if (auto menu = core::readLines(root() + "/sMenu.sys")) {
            ASSERT_TRUE(core::writeLines(root() + "/sMenu.sys", damaged(*menu, rng)));
        }
        // The candidate's records.
        for (const char* name : {"288893", "288862", "288892", "182400"}) {
            QStringList lines;
            for (int i = rng.bounded(0, 30); i > 0; --i) lines << garbageLine(rng);
            ASSERT_TRUE(core::writeLines(root() + "/ksdata/" + name + ".rar", lines));
        }
    }

};

// Clicks, right clicks, double clicks and keys spread over a window, for as
// long as the window is there (an action may close it).
template <class Slot>
void poke(testsupport::Driver& d, Slot& slot, QRandomGenerator& rng, int times) {
    for (int i = 0; i < times; ++i) {
        core::Form* f = slot.peek();
        if (!f || !f->visible()) return;
        const double x = rng.bounded(static_cast<int>(std::max(1.0, f->scaleWidth())));
        const double y = rng.bounded(static_cast<int>(std::max(1.0, f->scaleHeight())));
        switch (rng.bounded(6)) {
        case 0: d.click(*f, x, y); break;
        case 1: d.click(*f, x, y, core::RightButton); break;
        case 2: d.dblClick(*f, x, y); break;
        case 3: d.drag(*f, x, y, rng.bounded(12000), rng.bounded(9000)); break;
        case 4: d.key(*f, rng.bounded(2) ? core::KeyReturn : 65 + rng.bounded(26), rng.bounded(8)); break;
        default: d.hover(*f, x, y);
        }
        d.advance(rng.bounded(0, 1200));
    }
}

} // namespace

TEST_P(BadInput, NothingCrashesAndRecordsStayWhole) {
    QRandomGenerator rng(static_cast<quint32>(GetParam()));
    damageModule(rng);
    if (HasFatalFailure()) return;

    testsupport::Driver& d = driver();
    d.ui.onUnexpected = nullptr;  // any prompt may come; it gets its default answer
    // Start-up on the damaged folder, then the cover.
    session::frmStart()();
    d.advance(200);
    ASSERT_TRUE(cover::frmFengmian().loaded());

    core::SessionState& s = core::session();
    int started = 0;
    for (int unit = 0; unit < 6; ++unit) {
        if (!cover::frmFengmian().loaded()) core::windows().showCover();
        session::LblJinRuXX_Click(unit);
        d.advance(700);
        if (!session::frmTm().loaded()) continue;  // refused with a message
        ++started;
        session::FrmTm& tm = session::frmTm()();
        for (int q = 1; q <= std::min<int>(s.QuestionCount, 4); ++q) {
            s.CurrentQuestion = static_cast<int16_t>(q);
            tm.TimerREDO.setEnabled(true);
            d.advance(300);
            poke(d, engine::frmMain(), rng, 25);
            poke(d, session::frmTm(), rng, 5);
            if (!session::frmTm().loaded()) break;
        }
        if (session::frmTm().loaded()) session::frmTm()().EndPractice();
        d.advance(200);
    }
    RecordProperty("sessions", started);
    // The paper and the review lists as well.
    for (auto start : {session::LblStartKs_Click, session::LblErr_Click, session::LblUWrong_Click}) {
        if (!cover::frmFengmian().loaded()) core::windows().showCover();
        start(0);
        d.advance(500);
        core::unloadAllForms();
    }

    // Every record file the program wrote ends with a complete line.
    for (const QFileInfo& fi : QDir(root() + "/ksdata").entryInfoList(QDir::Files)) {
        QFile f(fi.filePath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        if (!bytes.isEmpty()) {
            EXPECT_TRUE(bytes.endsWith("\r\n")) << qPrintable(fi.fileName());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, BadInput, ::testing::Range(1, 7));
