// A module folder apart from the program's executable (EXAMSIM_HOME): the
// module's registration and the desktop shortcut start this executable on
// that folder.
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "core/platform.h"
#include "core/registry.h"
#include "core/text.h"
#include "cover/frm_about.h"
#include "cover/frm_fengmian.h"
#include "e2e/module_fixture.h"
#include "session/frm_start.h"
#include "support/driver.h"

namespace {

class ModuleHome : public e2e::ModuleFixture {
protected:
    // A stand-in for the executable: it writes where it was started and on
    // which module folder.
    QString makeProgram() {
        const QString bin = exeDir_.path() + "/bin";
        EXPECT_TRUE(QDir().mkpath(bin));
        const QString exe = bin + "/examsim";
        QFile f(exe);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nout=\"$(dirname \"$0\")/ran.txt\"\n"
                "printf '%s\\n%s\\n' \"$0\" \"$EXAMSIM_HOME\" > \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return exe;
    }
    // What the stand-in wrote, once it has run: its path and EXAMSIM_HOME.
    QStringList ran(const QString& exe) {
        const QString out = QFileInfo(exe).absolutePath() + "/ran.txt";
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(out) && t.elapsed() < 20000) QThread::msleep(20);
        const QStringList lines = core::readLines(out).value_or(QStringList{"<did not run>"});
        QFile::remove(out);
        return lines;
    }

    QTemporaryDir exeDir_;
};

} // namespace

TEST_F(ModuleHome, RegistrationAndShortcutStartThisExecutableOnTheModuleFolder) {
    const QString exe = makeProgram();
    pf->exeFile = exe;
    testsupport::Driver& d = driver();

    // First start on the folder: the registration names the executable as
    // seen from it.
    session::frmStart()();
    d.advance(200);
    ASSERT_TRUE(cover::frmFengmian().loaded());
    core::RegValue name{QString()};
    core::ReadRegValue(core::HKEY_CURRENT_USER, "Software\\Microsoft", "ProName03", name);
    EXPECT_EQ(name.toText(), QDir(root()).relativeFilePath(exe) + QString(36, u'*'));

    // This module's launcher row starts the executable on the folder.
    cover::FrmFengmian& c = cover::frmFengmian()();
    d.click(c.LblPro[4]);
    d.click(c.LblKmLj[1]);
    ASSERT_EQ(pf->started.size(), 1u);
    EXPECT_EQ(pf->started[0].program, exe);
    EXPECT_EQ(pf->started[0].environment, QStringList{"EXAMSIM_HOME=" + root()});
    ASSERT_TRUE(core::RealPlatform().startDetached(pf->started[0].program, pf->started[0].args,
                                                   pf->started[0].environment));
    EXPECT_EQ(ran(exe), (QStringList{exe, root()}));

    // The about box's shortcut: the executable, started on the folder.
    d.ui.expectModal("FrmAbout", [&](core::Form& form) {
        auto& a = static_cast<cover::FrmAbout&>(form);
        d.click(a.Label1(3));
        a.unload();
    });
    d.click(c.LblPro[0]);
    ASSERT_EQ(pf->shortcuts.size(), 1u);
    const core::FakePlatform::Shortcut sc = pf->shortcuts[0];
    EXPECT_EQ(sc.target, exe);
    EXPECT_EQ(sc.workingDir, root());
    // Its launcher file, run as the desktop runs it.
    QTemporaryDir desk;
    ASSERT_TRUE(core::writeDesktopEntry(desk.path(), sc.name, sc.target, sc.workingDir, sc.environment));
    QString exec;
    for (const QString& line : core::readLines(desk.filePath(sc.name + ".desktop")).value_or(QStringList()))
        if (line.startsWith("Exec=")) exec = line.mid(5).replace("\\\\", "\\");
    ASSERT_FALSE(exec.isEmpty());
    QProcess sh;
    sh.start("/bin/sh", {"-c", exec});
    ASSERT_TRUE(sh.waitForFinished(20000));
    EXPECT_EQ(ran(exe), (QStringList{exe, root()}));
}
