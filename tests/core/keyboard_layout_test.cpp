// Keyboard layouts: the system list read from an input-method profile, the
// switch, and the test double.
#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "core/keyboard_layout.h"
#include "core/text.h"

using namespace core;

namespace {

void write(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

const QByteArray kProfile =
    "[Groups/0/Items/1]\n"
    "# Name\n"
    "Name=pinyin\n"
    "Layout=\n"
    "\n"
    "[Groups/0/Items/0]\n"
    "Name=keyboard-us\n"
    "Layout=\n"
    "\n"
    "[Groups/0/Items/2]\n"
    "Name=wbx\n"
    "\n"
    "[Groups/0]\n"
    "Name=默认\n"
    "Default Layout=us\n"
    "DefaultIM=pinyin\n"
    "\n"
    "[Groups/1/Items/0]\n"
    "Name=mozc\n"
    "\n"
    "[GroupOrder]\n"
    "0=默认\n";

} // namespace

TEST(KeyboardLayouts, SystemListFollowsTheProfileOrder) {
    QTemporaryDir dir;
    const QString profile = dir.filePath("profile");
    write(profile, kProfile);
    EXPECT_EQ(fcitxProfileItems(profile), (QStringList{"keyboard-us", "pinyin", "wbx"}));

    // No description files: the internal names.
    SystemKeyboardLayouts layouts(profile, dir.filePath("no-such-program"), {dir.filePath("no-descriptions")});
    const auto list = layouts.installed();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].id, "fcitx5:keyboard-us");
    EXPECT_TRUE(list[0].description.isEmpty()) << "a plain layout has no input method";
    EXPECT_EQ(list[1].id, "fcitx5:pinyin");
    EXPECT_EQ(list[1].description, "pinyin");
    EXPECT_EQ(list[2].description, "wbx");
}

TEST(KeyboardLayouts, InputMethodsShowTheirReadableNameInTheUsersLanguage) {
    QTemporaryDir dir;
    const QString profile = dir.filePath("profile");
    write(profile,
          "[Groups/0/Items/0]\nName=keyboard-us\n[Groups/0/Items/1]\nName=pinyin\n"
          "[Groups/0/Items/2]\nName=shuangpin\n[Groups/0/Items/3]\nName=wbx\n"
          "[Groups/0/Items/4]\nName=cangjie\n");
    // The user's folder comes first and hides the system's file of the same
    // input method; a name outside the [InputMethod] group does not count.
    const QString user = dir.filePath("user"), system = dir.filePath("system");
    ASSERT_TRUE(QDir().mkpath(user) && QDir().mkpath(system));
    write(user + "/pinyin.conf",
          "[InputMethod]\n# Name\nName=Pinyin\nName[zh_CN]=拼音\nName[zh_TW]=\"拼音（繁）\"\nIcon=fcitx-pinyin\n"
          "LangCode=zh_CN\n\n[InputMethod/Extra]\nName[en_GB]=Other\n");
    write(system + "/pinyin.conf", "[InputMethod]\nName=System pinyin\nName[zh_CN]=系统拼音\n");
    write(system + "/shuangpin.conf", "[InputMethod]\nName = Shuangpin\nName[zh] = 双拼\n");
    // A description that names nothing: the internal name.
    write(system + "/cangjie.conf", "[InputMethod]\nIcon=fcitx-cangjie\n");

    struct Case {
        const char* locale;
        QStringList names;
    };
    const Case cases[] = {
        {"zh_CN", {"", "拼音", "双拼", "wbx", "cangjie"}},
        {"zh_TW", {"", "拼音（繁）", "双拼", "wbx", "cangjie"}},
        {"en_GB", {"", "Pinyin", "Shuangpin", "wbx", "cangjie"}},
        {"", {"", "Pinyin", "Shuangpin", "wbx", "cangjie"}},
    };
    for (const Case& c : cases) {
        SystemKeyboardLayouts layouts(profile, dir.filePath("no-such-program"), {user, system},
                                      QString::fromLatin1(c.locale));
        QStringList names, ids;
        for (const KeyboardLayout& l : layouts.installed()) {
            names << l.description;
            ids << l.id;
        }
        EXPECT_EQ(names, c.names) << c.locale;
        EXPECT_EQ(ids, (QStringList{"fcitx5:keyboard-us", "fcitx5:pinyin", "fcitx5:shuangpin", "fcitx5:wbx",
                                    "fcitx5:cangjie"}))
            << "the switch still takes the internal name";
    }
}

TEST(KeyboardLayouts, WithoutAProfileOnePlainLayoutThatCannotBeSwitched) {
    QTemporaryDir dir;
    SystemKeyboardLayouts layouts(dir.filePath("missing"), dir.filePath("no-such-program"));
    const auto list = layouts.installed();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].id, "keyboard");
    EXPECT_TRUE(list[0].description.isEmpty());
    for (const QString& id : {QString(), QStringLiteral("keyboard"), QStringLiteral("fcitx5:"),
                              QStringLiteral("fcitx5:pinyin")})
        EXPECT_FALSE(layouts.activate(id)) << qPrintable(id);
}

TEST(KeyboardLayouts, ActivationStartsTheSwitchProgram) {
    QTemporaryDir dir;
    const QString out = dir.filePath("args.txt");
    const QString program = dir.filePath("switch.sh");
    write(program, "#!/bin/sh\necho \"$@\" > \"" + out.toUtf8() + ".tmp\" && mv \"" + out.toUtf8() + ".tmp\" \"" +
                       out.toUtf8() + "\"\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    SystemKeyboardLayouts layouts(dir.filePath("missing"), program);
    EXPECT_FALSE(layouts.activate("keyboard"));
    ASSERT_TRUE(layouts.activate("fcitx5:pinyin"));
    // The program runs on its own; wait for its answer.
    QDeadlineTimer deadline(30000);
    while (!QFile::exists(out) && !deadline.hasExpired()) QThread::msleep(20);
    const auto lines = readLines(out);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->value(0), "-s pinyin");
}

TEST(KeyboardLayouts, TestDoubleRecordsActivations) {
    auto fake = std::make_shared<FakeKeyboardLayouts>();
    fake->layouts = {{"en", ""}, {"cn1", QString::fromUtf8("中文 - 拼音")}};
    setKeyboardLayouts(fake);
    EXPECT_EQ(keyboardLayouts().installed().size(), 2u);
    EXPECT_TRUE(keyboardLayouts().activate("cn1"));
    fake->activateResult = false;
    EXPECT_FALSE(keyboardLayouts().activate("en"));
    EXPECT_EQ(fake->activated, (QStringList{"cn1", "en"}));
    setKeyboardLayouts(nullptr);
    EXPECT_NE(&keyboardLayouts(), fake.get()) << "back to the system layouts";
    EXPECT_FALSE(keyboardLayouts().installed().empty());
}
