#include "question_window_fixture.h"

#include "core/keyboard_layout.h"
#include "engine/frm_main.h"
#include "session/frm_ime.h"

using namespace core;
using namespace session;

namespace {

struct ImeTest : qwtest::Fixture {
    std::shared_ptr<FakeKeyboardLayouts> layouts = std::make_shared<FakeKeyboardLayouts>();
    int inputFocus = 0;

    void SetUp() override {
        Fixture::SetUp();
        setKeyboardLayouts(layouts);
        windows().focusPracticeInput = [this] { ++inputFocus; };
        // Page p of the information series is p pixels wide.
        for (int p = 1; p <= 17; ++p) picture(infoPagePicture(p), p, 4);
    }
    void TearDown() override {
        setKeyboardLayouts(nullptr);
        Fixture::TearDown();
    }

    static int pageShown(const Form& f) { return f.picture().widthPixels(); }
    QStringList option() { return read(imeOptionFile()); }
    void setOption(const QStringList& lines) { write(imeOptionFile(), lines); }

    // Clicks "?" and runs `act` on the open help; the help is then closed
    // as the scripted modal loop closes it (hidden) unless act closed it.
    void withHelp(FrmTm& w, std::function<void(FrmIME&)> act) {
        d.ui.expectModal("FrmIME", [act](Form& f) { act(static_cast<FrmIME&>(f)); });
        d.click(w.CmdEn);
        EXPECT_FALSE(frmIme().loaded()) << "the help stays loaded after it closed";
    }

    std::vector<QString> visibleEntries(FrmTm& w) {
        std::vector<QString> out;
        for (Menu* m : w.menu("mIme").items())
            if (m->visible()) out.push_back(m->caption());
        return out;
    }
};

KeyboardLayout plain(const char* id) { return {QString::fromLatin1(id), QString()}; }
KeyboardLayout ime(const char* id, const char* desc) { return {QString::fromLatin1(id), QString::fromUtf8(desc)}; }

} // namespace

TEST_F(ImeTest, MenuFollowsTheInstalledLayouts) {
    std::vector<KeyboardLayout> twelve = {plain("us")};
    for (int i = 1; i <= 12; ++i)
        twelve.push_back({QString("im%1").arg(i), QString::fromUtf8("输入法%1").arg(i)});
    std::vector<QString> twelveShown = {QString::fromUtf8("英语（美国）")};
    for (int i = 1; i <= 10; ++i) twelveShown.push_back(QString::fromUtf8("输入法%1").arg(i));

    struct Case {
        const char* name;
        std::vector<KeyboardLayout> layouts;
        std::vector<QString> shown;
        int next;
        QString choose;
        QString activates;
    };
    const Case cases[] = {
        {"English only", {plain("us")}, {QString::fromUtf8("英语（美国）"), QString::fromUtf8("中文1")}, 1,
         QString::fromUtf8("英语（美国）"), "us"},
        {"English and three input methods",
         {plain("us"), ime("pinyin", "拼音"), ime("wubi", "五笔"), ime("shuangpin", "双拼")},
         {QString::fromUtf8("英语（美国）"), QString::fromUtf8("拼音"), QString::fromUtf8("五笔"),
          QString::fromUtf8("双拼")},
         4, QString::fromUtf8("五笔"), "wubi"},
        {"twelve input methods", twelve, twelveShown, 13, QString::fromUtf8("输入法10"), "im10"},
        // The plain layout need not come first: each entry keeps its own.
        {"plain layout last", {ime("pinyin", "拼音"), plain("us")},
         {QString::fromUtf8("英语（美国）"), QString::fromUtf8("拼音")}, 2, QString::fromUtf8("拼音"), "pinyin"},
        {"every layout described", {ime("pinyin", "拼音"), ime("wubi", "五笔")},
         {QString::fromUtf8("英语（美国）"), QString::fromUtf8("拼音"), QString::fromUtf8("五笔")}, 3,
         QString::fromUtf8("英语（美国）"), "pinyin"},
        {"no layouts", {}, {QString::fromUtf8("英语（美国）"), QString::fromUtf8("中文1")}, 1,
         QString::fromUtf8("中文1"), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        layouts->layouts = c.layouts;
        s().ImeSimEnabled = -1;
        s().ImeLayout = "before";
        FrmTm& w = startSession(3);
        EXPECT_EQ(w.NextImeItem, c.next);
        EXPECT_EQ(visibleEntries(w), c.shown);

        const int focusBefore = inputFocus;
        d.ui.expectPopup("mIme", c.choose);
        d.click(w.LblIME);
        EXPECT_EQ(d.ui.lastPopupFlags, PopupRightAlign);
        EXPECT_DOUBLE_EQ(d.ui.lastPopupX, w.LblIME.left());
        EXPECT_DOUBLE_EQ(d.ui.lastPopupY, w.FrmZhuYa.top() + w.LblIME.top() - 300.0 * c.next);
        EXPECT_EQ(s().ImeLayout, c.activates);
        EXPECT_EQ(inputFocus, focusBefore + 1);
        EXPECT_TRUE(qwtest::practice()().visible());

        s().AllowCloseQuestion = true;
        w.unload();
    }
}

TEST_F(ImeTest, MenuOpensOnlyWhileTheOptionIsOn) {
    layouts->layouts = {plain("us"), ime("pinyin", "拼音")};
    s().ImeSimEnabled = 0;
    FrmTm& w = startSession(3);
    d.click(w.LblIME);
    EXPECT_TRUE(d.ui.shown.empty());
    EXPECT_EQ(s().ImeLayout, QString());

    // Turned on in the help, the menu opens; turned off again, it does not.
    withHelp(w, [&](FrmIME& h) { d.click(h.Check1); });
    EXPECT_EQ(s().ImeSimEnabled, -1);
    d.ui.expectPopup("mIme", QString::fromUtf8("拼音"));
    d.click(w.LblIME);
    EXPECT_EQ(s().ImeLayout, "pinyin");
    withHelp(w, [&](FrmIME& h) {
        ASSERT_EQ(h.Check1.value(), 1);
        d.click(h.Check1);
    });
    EXPECT_EQ(s().ImeSimEnabled, 0);
    EXPECT_EQ(option(), QStringList({"0"}));
    const size_t shown = d.ui.shown.size();
    d.click(w.LblIME);
    EXPECT_EQ(d.ui.shown.size(), shown);
}

TEST_F(ImeTest, HelpPagesRingForwardAndStopAtTheFirst) {
    FrmTm& w = startSession(3);
    withHelp(w, [&](FrmIME& h) {
        EXPECT_EQ(h.caption(), QString::fromUtf8("输入法问题"));
        EXPECT_DOUBLE_EQ(h.width(), 12000);
        EXPECT_DOUBLE_EQ(h.height(), 8745);
        EXPECT_DOUBLE_EQ(h.left(), (1024 * 15 - 12000) / 2.0);
        EXPECT_EQ(h.HelpPage, 16);
        EXPECT_EQ(pageShown(h), 16);
        EXPECT_TRUE(h.Label1.visible());
        EXPECT_TRUE(h.Label1.caption().startsWith(QString::fromUtf8("如果输入文字时出现计算机考试***.exe")));

        struct Step { bool forward; int page; bool text; };
        const Step steps[] = {
            {true, 1, true}, {true, 2, true}, {true, 3, true}, {true, 4, false}, {false, 3, true},
            {true, 4, false}, {true, 5, false},
        };
        for (const Step& st : steps) {
            d.click(st.forward ? h.LblNext : h.LblLast);
            EXPECT_EQ(h.HelpPage, st.page);
            EXPECT_EQ(pageShown(h), st.page);
            EXPECT_EQ(h.Label1.visible(), st.text) << st.page;
        }
        for (int p = 6; p <= 14; ++p) {
            d.click(h.LblNext);
            EXPECT_FALSE(h.Label1.visible()) << p;
        }
        d.click(h.LblNext);
        EXPECT_EQ(h.HelpPage, 15);
        EXPECT_TRUE(h.Label1.visible());

        // Back on page 1: the message, and the page stays.
        d.click(h.LblNext);
        d.click(h.LblNext);
        ASSERT_EQ(h.HelpPage, 1);
        d.ui.expectMsgBox(QString::fromUtf8("已经到第一页"), MrOk);
        d.click(h.LblLast);
        EXPECT_EQ(h.HelpPage, 1);
        EXPECT_EQ(pageShown(h), 1);
        EXPECT_EQ(d.ui.shown.back().title, config().AppTitle);
    });
}

TEST_F(ImeTest, AMissingPageShowsAPlainPage) {
    QFile::remove(infoPagePicture(16));
    QFile::remove(infoPagePicture(1));
    FrmTm& w = startSession(3);
    withHelp(w, [&](FrmIME& h) {
        EXPECT_TRUE(h.picture().isNull());
        d.click(h.LblNext);
        EXPECT_EQ(h.HelpPage, 1);
        EXPECT_TRUE(h.picture().isNull());
        d.click(h.LblNext);
        EXPECT_EQ(pageShown(h), 2);
    });
}

TEST_F(ImeTest, OptionFileAtLoadAndClicks) {
    struct Case {
        const char* name;
        std::optional<QStringList> file;
        int16_t fromCover;
        bool ticked;
        int16_t afterLoad;
        QStringList fileAfterLoad;
    };
    const Case cases[] = {
        {"one", QStringList{"1"}, -1, true, -1, {"1"}},
        // The cover may have left the option off; ticking turns it on.
        {"one, cover off", QStringList{"1"}, 0, true, -1, {"1"}},
        {"zero", QStringList{"0"}, 0, false, 0, {"0"}},
        {"missing", std::nullopt, 0, false, 0, {"<missing>"}},
        {"empty", QStringList{}, 0, false, 0, {}},
        // Not exactly "1": unticked, and the cover's value stays.
        {"two", QStringList{"2"}, -1, false, -1, {"2"}},
        {"leading blank", QStringList{" 1"}, -1, false, -1, {" 1"}},
    };
    FrmTm& w = startSession(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(imeOptionFile());
        if (c.file) setOption(*c.file);
        s().ImeSimEnabled = c.fromCover;
        withHelp(w, [&](FrmIME& h) {
            EXPECT_EQ(h.Check1.value(), c.ticked ? 1 : 0);
            EXPECT_EQ(s().ImeSimEnabled, c.afterLoad);
            EXPECT_EQ(option(), c.fileAfterLoad);
            // Two clicks: the opposite state, then back.
            d.click(h.Check1);
            EXPECT_EQ(option(), QStringList({c.ticked ? "0" : "1"}));
            EXPECT_EQ(s().ImeSimEnabled, c.ticked ? 0 : -1);
            d.click(h.Check1);
            EXPECT_EQ(option(), QStringList({c.ticked ? "1" : "0"}));
            EXPECT_EQ(s().ImeSimEnabled, c.ticked ? -1 : 0);
        });
    }
}

TEST_F(ImeTest, TheRecordsFolderIsMadeWhenMissing) {
    QDir(config().recordsDir()).removeRecursively();
    FrmTm& w = startSession(3);
    withHelp(w, [&](FrmIME& h) { d.click(h.Check1); });
    EXPECT_EQ(option(), QStringList({"1"}));
}

TEST_F(ImeTest, AnOptionThatCannotBeWrittenIsReportedAndTheBoxKeepsTheStoredValue) {
    // A folder where the option file should be: nothing can be written there.
    auto block = [] {
        QFile::remove(imeOptionFile());
        ASSERT_TRUE(QDir().mkpath(imeOptionFile()));
    };
    struct Case {
        const char* name;
        bool storedOn;  // "1" in the file when the help opens, else unreadable
        int16_t fromCover;
    } cases[] = {{"unreadable from the start", false, 0}, {"stored on, blocked after the load", true, -1}};
    FrmTm& w = startSession(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(imeOptionFile()).removeRecursively();
        QFile::remove(imeOptionFile());
        if (c.storedOn) setOption({"1"});
        else block();
        s().ImeSimEnabled = c.fromCover;
        withHelp(w, [&](FrmIME& h) {
            ASSERT_EQ(d.ui.shown.size(), 1u) << "the load rewrites only the stored value";
            EXPECT_EQ(h.Check1.value(), c.storedOn ? 1 : 0);
            if (c.storedOn) block();
            for (int click = 0; click < 2; ++click) {
                d.ui.expectMsgBox(QString::fromUtf8("练习记录未能保存，请检查程序文件夹是否可写。"), MrOk);
                d.click(h.Check1);
                EXPECT_FALSE(d.ui.pending());
                EXPECT_EQ(h.Check1.value(), c.storedOn ? 1 : 0);
                EXPECT_EQ(s().ImeSimEnabled, c.fromCover);
            }
            ASSERT_EQ(d.ui.shown.size(), 3u);
            EXPECT_EQ(d.ui.shown[1].style, MbOkOnly | MbExclamation);
            EXPECT_EQ(d.ui.shown[1].title, config().AppTitle);
        });
        d.ui.shown.clear();
    }
    QDir(imeOptionFile()).removeRecursively();
}

TEST_F(ImeTest, HelpButtonMinimisesThenEveryCloseRestores) {
    struct Case {
        const char* name;
        std::function<void(FrmIME&)> close;
    };
    const Case cases[] = {
        {"close button", [](FrmIME& h) { h.requestClose(); }},
        {"hidden by the modal loop", [](FrmIME& h) { h.hide(); }},
        {"unloaded", [](FrmIME& h) { h.unload(); }},
    };
    FrmTm& w = startSession(3);
    Form& pw = qwtest::practice()();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pw.hide();
        pw.setWindowState(StateMinimized);
        withHelp(w, [&](FrmIME& h) {
            // The question window is its bar while the help is open.
            EXPECT_TRUE(w.FrmZXH.visible());
            EXPECT_DOUBLE_EQ(w.width(), w.FrmZXH.width());
            EXPECT_DOUBLE_EQ(w.left(), pw.left());
            c.close(h);
        });
        EXPECT_FALSE(w.FrmZXH.visible());
        EXPECT_DOUBLE_EQ(w.width(), 4980);
        EXPECT_DOUBLE_EQ(w.height(), 3630);
        EXPECT_DOUBLE_EQ(w.left(), pw.left() + pw.width() - 4980);
        EXPECT_DOUBLE_EQ(w.top(), pw.top() + pw.height() - 3630);
        EXPECT_TRUE(pw.visible());
        EXPECT_EQ(pw.windowState(), StateNormal);
    }
}

TEST_F(ImeTest, AHandInWhileTheHelpIsOpenIsNotUndone) {
    struct Case {
        const char* name;
        std::function<void(FrmTm&)> handIn;
    };
    const Case cases[] = {
        // The confirmation is still open behind the help.
        {"confirmation open", [this](FrmTm&) { handInOpen = true; }},
        // The score report took over: the question window is hidden.
        {"question window hidden", [](FrmTm& w) { w.hide(); }},
        // The session ended first, its windows still there (the final
        // hand-in marks the end before it closes anything).
        {"session ended", [this](FrmTm&) { s().SessionEnded = true; }},
        // Back at the cover: both session windows are gone.
        {"session windows unloaded",
         [this](FrmTm& w) {
             s().AllowCloseQuestion = true;
             w.unload();
             qwtest::practice()().unload();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        handInOpen = false;
        FrmTm& w = startSession(3);
        d.ui.expectModal("FrmIME", [&](Form&) { c.handIn(w); });
        d.click(w.CmdEn);
        EXPECT_FALSE(frmIme().loaded());
        if (frmTm().loaded()) {
            EXPECT_DOUBLE_EQ(w.width(), w.FrmZXH.width()) << "restored over the hand-in";
        }
        EXPECT_FALSE(qwtest::practice().loaded() && c.name == std::string("session windows unloaded"))
            << "the practice window was loaded again";
        s().AllowCloseQuestion = true;
        if (frmTm().loaded()) frmTm()().unload();
        s().AllowCloseQuestion = false;
        s().SessionEnded = false;
    }
}

TEST_F(ImeTest, AChoiceActivatesTheLayoutThroughThePracticeInputBox) {
    engine::registerPracticeWindow();
    layouts->layouts = {plain("us"), ime("pinyin", "拼音")};
    s().ImeSimEnabled = -1;
    write(unitProgressFile(), {"FFFFFFFFFFFF"});
    windows().startUnit(0);
    ASSERT_TRUE(engine::frmMain().loaded());
    engine::FrmMain& p = engine::frmMain()();
    FrmTm& w = tm();

    // A step without an input box: the choice is kept for later.
    p.Text1.setVisible(false);
    d.ui.expectPopup("mIme", QString::fromUtf8("拼音"));
    d.click(w.LblIME);
    EXPECT_EQ(s().ImeLayout, "pinyin");
    EXPECT_TRUE(layouts->activated.isEmpty());

    // With the box shown, its focus activates the chosen layout.
    p.Text1.setVisible(true);
    p.setWindowState(StateMinimized);
    d.ui.expectPopup("mIme", QString::fromUtf8("英语（美国）"));
    d.click(w.LblIME);
    EXPECT_EQ(p.activeControl(), &p.Text1);
    EXPECT_EQ(layouts->activated, QStringList({"us"}));
    EXPECT_EQ(p.windowState(), StateNormal);
}
