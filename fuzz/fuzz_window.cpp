// The practice window driven offscreen on a fuzzed step script, text table
// and context-menu file, with fuzzed clicks, drags, keys, typing and time.
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <functional>

#include "core/clock.h"
#include "core/forms.h"
#include "core/keyboard_layout.h"
#include "core/pictures.h"
#include "core/platform.h"
#include "core/registry.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"
#include "engine/frm_main.h"
#include "fuzz_support.h"
#include "session/bank.h"
#include "session/session_start.h"

using namespace core;

namespace {

// The user's actions, read one byte at a time (zeros once they run out).
struct Actions {
    QByteArray bytes;
    qsizetype at = 0;
    int next() { return at < bytes.size() ? uint8_t(bytes[at++]) : 0; }
    bool more() const { return at < bytes.size(); }
    int word() { return next() | (next() << 8); }
};

Actions* g_actions = nullptr;

// Prompts answered from the actions; a popup chooses one of its items.
class FuzzUi : public UiService {
public:
    int msgBox(const QString&, int style, const QString&) override {
        const int b = g_actions ? g_actions->next() : 0;
        switch (style & 7) {
        case MbOkCancel: return b & 1 ? MrOk : MrCancel;
        case MbYesNo: return b & 1 ? MrYes : MrNo;
        case MbYesNoCancel: return b % 3 == 0 ? MrYes : b % 3 == 1 ? MrNo : MrCancel;
        default: return MrOk;
        }
    }
    void runModal(Form& form) override {
        if (form.loaded() && form.visible()) form.hide();
    }
    void popupMenu(Form&, Menu& menu, double, double, int) override {
        std::vector<Menu*> items;
        std::function<void(Menu&)> collect = [&](Menu& m) {
            for (Menu* it : m.items()) {
                if (!it->visible()) continue;
                if (!it->isSeparator() && it->enabled()) items.push_back(it);
                collect(*it);
            }
        };
        collect(menu);
        const int b = g_actions ? g_actions->next() : 0;
        if (items.empty() || b == 0) return;
        items[size_t(b) % items.size()]->raiseClick();
    }
};

std::unique_ptr<TestClock> g_clock;
FuzzUi g_ui;
QString g_prog;
QStringList g_moduleFiles;  // the module copy as made, to drop what a run adds

QStringList filesUnder(const QString& dir) {
    QStringList out;
    QDirIterator it(dir, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) out << it.next();
    return out;
}

// Everything an input depends on made anew: no platform, registry, layout,
// clock or file state is carried from one input to the next.
void freshState() {
    auto platform = std::make_shared<FakePlatform>();
    platform->folder = g_prog;
    setPlatform(platform);
    setRegistryStore(std::make_shared<MemoryRegistryStore>());
    setKeyboardLayouts(std::make_shared<FakeKeyboardLayouts>());
    setClock(nullptr);
    g_clock = std::make_unique<TestClock>();
    setClock(g_clock.get());
}

void dropAddedFiles() {
    QStringList added = filesUnder(g_prog);
    std::sort(added.begin(), added.end(), std::greater<>());  // a folder's files before the folder
    for (const QString& f : added) {
        if (g_moduleFiles.contains(f)) continue;
        if (QFileInfo(f).isDir()) QDir().rmdir(f);
        else QFile::remove(f);
    }
}

QString sampleDir() {
    const QByteArray env = qgetenv("EXAMSIM_SAMPLE");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath() + "/../sample-module";
}

bool copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& fi : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + "/" + fi.fileName();
        if (fi.isDir() ? !copyTree(fi.filePath(), target) : !QFile::copy(fi.filePath(), target)) return false;
    }
    return true;
}

// Mouse and keys as a user gives them, the form kept alive meanwhile.
void click(Form& f, double x, double y, int button, int shift, bool dbl) {
    HandlerScope alive(&f);
    f.mouseMove(x, y, 0, shift);
    f.mouseDown(x, y, button, shift);
    f.mouseUp(x, y, button, shift);
    if (dbl) {
        f.mouseDblPress(x, y, button, shift);
        f.mouseUp(x, y, button, shift);
    }
}

void drag(Form& f, double x1, double y1, double x2, double y2, int button) {
    HandlerScope alive(&f);
    f.mouseMove(x1, y1, 0, 0);
    f.mouseDown(x1, y1, button, 0);
    for (int i = 1; i <= 3; ++i) f.mouseMove(x1 + (x2 - x1) * i / 3, y1 + (y2 - y1) * i / 3, button, 0);
    f.mouseUp(x2, y2, button, 0);
}

void key(Form& f, int code, int shift) {
    HandlerScope alive(&f);
    f.keyDown(code, shift);
    if (code == 13 || code == 27 || code == 8) f.keyPress(code);
    f.keyUp(code, shift);
}

// Typed text: key events of each character, then the box's new text.
void type(Form& f, Actions& a) {
    HandlerScope alive(&f);
    static const QString alphabet = QString::fromUtf8("abcXYZ019 .|-文字表格插入");
    const int n = a.next() % 8;
    for (int i = 0; i < n; ++i) {
        const QChar ch = alphabet[a.next() % alphabet.size()];
        Control* box = f.activeControl();
        const int ascii = f.keyPress(ch.unicode() < 128 ? ch.unicode() : 0);
        box = f.activeControl();
        if (!box || !box->form() || box->kind() != Kind::TextBox) continue;
        if (ascii != 0 || ch.unicode() >= 128) f.userEdit(*box, box->text() + ch, int(box->text().size()) + 1);
    }
}

// The visible controls of a container and its containers.
void visibleControls(const Container& c, std::vector<Control*>& out) {
    for (Control* k : c.children()) {
        if (!k->visible()) continue;
        out.push_back(k);
        visibleControls(*k, out);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet();
    fuzz::guiApp();
    g_prog = fuzz::scratch() + "/prog";
    const QString src = sampleDir();
    if (!copyTree(src + "/wdata", g_prog + "/wdata") || !copyTree(src + "/examdata", g_prog + "/examdata") ||
        !QFile::copy(src + "/ver.txt", g_prog + "/ver.txt")) {
        std::fprintf(stderr, "no sample module at %s (set EXAMSIM_SAMPLE)\n", qPrintable(src));
        std::abort();
    }
    g_moduleFiles = filesUnder(g_prog);
    g_moduleFiles << g_prog + "/sMenu.sys";
    setUi(&g_ui);
    session::registerSessionWindows();
    engine::registerPracticeWindow();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Parts: step script, text table, context-menu file, actions.
    const QList<QByteArray> p = fuzz::parts(fuzz::bytes(data, size), 4);
    Actions actions{p[3]};
    g_actions = &actions;

    resetSharedState();
    freshState();
    ModuleConfig& c = config();
    c.ProgramDir = g_prog;
    c.DataDir = g_prog + "/wdata/";
    c.ModuleName = QStringLiteral("字处理");
    SessionState& s = core::session();
    s.ScriptFile = session::stepScriptFile(session::ReviewSlot);
    s.QuestionFile = session::questionListFile(session::ReviewSlot);
    s.TextTableFile = c.dataFile(QStringLiteral("288890"));
    fuzz::writeFile(s.ScriptFile, p[0]);
    fuzz::writeFile(s.TextTableFile, p[1]);
    fuzz::writeFile(g_prog + "/sMenu.sys", p[2]);
    fuzz::writeFile(s.QuestionFile, "000199fuzz\r\n000299two\r\n");
    const int mode = actions.next();
    s.RunMode = int16_t(1 + mode % 3);
    s.ListKind = ListUnitWrong;
    s.SetNo = int16_t(session::ReviewSlot - ListUnitWrong);
    s.QuestionCount = 2;
    s.QuestionId[1] = 1;
    s.QuestionId[2] = 2;
    s.CurrentQuestion = 1;
    s.CurrentStep = int16_t(1 + (mode >> 4));
    s.StepStart[1] = 1;
    s.StepStart[2] = int16_t(1 + actions.next() % 40);
    s.ImeSimEnabled = (mode & 8) ? -1 : 0;
    const QStringList lines = splitLines(fromGbk(p[0]));

    {
        engine::FrmMain& f = engine::frmMain()();
        f.setData();
        for (int n = 0; n < 48 && actions.more() && engine::frmMain().loaded(); ++n) {
            Form& form = *engine::frmMain().peek();
            const double w = std::max(1.0, form.width()), h = std::max(1.0, form.height());
            const int op = actions.next() % 10;
            switch (op) {
            case 0:
            case 1:
            case 2: {
                std::vector<Control*> visible;
                visibleControls(form, visible);
                if (visible.empty()) break;
                Control* k = visible[size_t(actions.next()) % visible.size()];
                const double x = k->formX() + k->width() / 2, y = k->formY() + k->height() / 2;
                click(form, x, y, op == 2 ? RightButton : LeftButton, actions.next() % 8, op == 1);
                break;
            }
            case 3: click(form, actions.word() % int(w), actions.word() % int(h), 1 << (actions.next() % 3), 0, false); break;
            case 4: drag(form, actions.word() % int(w), actions.word() % int(h), actions.word() % int(w), actions.word() % int(h), 1); break;
            case 5: key(form, actions.next(), actions.next() % 8); break;
            case 6: type(form, actions); break;
            case 7: g_clock->advance(actions.next() * 20); break;
            case 8: form.mouseMove(actions.word() % int(w), actions.word() % int(h), 0, 0); break;
            case 9: {
                // Another question, as the question window opens it.
                s.CurrentQuestion = int16_t(1 + actions.next() % 2);
                s.CurrentStep = 1;
                if (engine::frmMain().loaded()) engine::frmMain().peek()->setData();
                break;
            }
            }
            // The step shown is always a record of the script, of a question
            // of the list.
            FUZZ_CHECK(s.StepLine.isEmpty() || lines.contains(s.StepLine));
            FUZZ_CHECK(s.CurrentQuestion >= 1 && s.CurrentQuestion <= s.QuestionCount);
            FUZZ_CHECK(s.CurrentStep >= 0);
        }
    }
    g_clock->advance(1000);
    FUZZ_CHECK(s.StepLine.isEmpty() || lines.contains(s.StepLine));
    g_actions = nullptr;
    unloadAllForms();
    dropAddedFiles();
    return 0;
}
