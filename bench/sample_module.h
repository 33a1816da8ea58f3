#pragma once
// A fresh copy of the sample module (the build tree's sample-module/, or
// $EXAMSIM_SAMPLE) for the benchmarks, with the windows registered; and a
// prompt service that ends the program on any box a benchmark did not ask
// for, so that a run never waits for a click nobody will give.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/forms.h"
#include "core/state.h"
#include "core/ui.h"
#include "cover/frm_fengmian.h"
#include "engine/frm_main.h"
#include "session/session_start.h"

namespace benchsupport {

inline bool copyTree(const QString& from, const QString& to) {
    if (!QFileInfo(from).isDir()) return false;
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + "/" + QDir(from).relativeFilePath(src);
        if (it.fileInfo().isDir())
            QDir().mkpath(dst);
        else if (!QFile::copy(src, dst))
            return false;
    }
    return true;
}

// Removed when the benchmark program ends.
inline std::unique_ptr<QTemporaryDir>& moduleCopy() {
    static std::unique_ptr<QTemporaryDir> module;
    return module;
}

// Ends the program at once with the message and exit status 1 (the
// application object and the forms are left as they are).
[[noreturn]] inline void stop(const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    std::fflush(stdout);
    std::fflush(stderr);
    moduleCopy().reset();
    std::_Exit(1);
}

// Passes the prompts a benchmark opens on purpose (while an AllowPrompt
// lives) to the service under it; any other one ends the program.
class PromptGuard : public core::UiService {
public:
    core::UiService* inner = nullptr;
    int allowed = 0;
    int msgBox(const QString& prompt, int style, const QString& title) override {
        if (!allowed) stop("benchmark stopped on a message box: " + prompt);
        return inner->msgBox(prompt, style, title);
    }
    void runModal(core::Form& form) override {
        if (!allowed) stop("benchmark stopped on a modal window: " + form.name());
        inner->runModal(form);
    }
    void popupMenu(core::Form& form, core::Menu& menu, double x, double y, int flags) override {
        if (!allowed) stop("benchmark stopped on a popup menu of " + form.name());
        inner->popupMenu(form, menu, x, y, flags);
    }
};

inline PromptGuard& promptGuard() {
    static PromptGuard guard;
    return guard;
}

// Puts the guard over the prompt service in use (call it again after
// installing another service).
inline void guardPrompts() {
    PromptGuard& g = promptGuard();
    if (&core::ui() == &g) return;
    g.inner = &core::ui();
    core::setUi(&g);
}

struct AllowPrompt {
    AllowPrompt() { ++promptGuard().allowed; }
    ~AllowPrompt() { --promptGuard().allowed; }
    AllowPrompt(const AllowPrompt&) = delete;
    AllowPrompt& operator=(const AllowPrompt&) = delete;
};

// Copies the sample module and points the program at the copy; false, with
// the reason on stderr, when the sample module is missing or incomplete.
inline bool setUpModule() {
    std::unique_ptr<QTemporaryDir>& module = moduleCopy();
    if (module) return true;
    const QString sample = QDir::cleanPath(
        qEnvironmentVariable("EXAMSIM_SAMPLE", QCoreApplication::applicationDirPath() + "/../sample-module"));
    auto fail = [&](const QString& what) {
        std::fprintf(stderr,
                     "no sample module at %s (%s): build the sample_module target or set EXAMSIM_SAMPLE\n",
                     qPrintable(sample), qPrintable(what));
        module.reset();
        return false;
    };
    module = std::make_unique<QTemporaryDir>();
    if (!module->isValid()) return fail("no temporary folder for its copy");
    for (const char* d : {"wdata", "examdata"})
        if (!copyTree(sample + "/" + d, module->path() + "/" + d)) return fail(QString("%1/ not copied").arg(d));
    for (const char* f : {"ver.txt", "sMenu.sys"})
        if (!QFile::copy(sample + "/" + f, module->path() + "/" + f)) return fail(QString("%1 not copied").arg(f));
    QDir().mkpath(module->path() + "/ksdata");
    core::config().ProgramDir = module->path();
    core::config().DataDir = module->path() + "/wdata/";
    core::config().ModuleName = QString::fromUtf8("字处理");
    engine::registerPracticeWindow();
    session::registerSessionWindows();
    cover::registerCover();
    guardPrompts();
    return true;
}

} // namespace benchsupport
