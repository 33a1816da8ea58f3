// Step records and the codes read from their columns: every accessor of
// every line of a step script.
#include "context_menu/context_menu_file.h"
#include "core/state.h"
#include "core/text.h"
#include "engine/step_record.h"
#include "engine/tab_layout.h"
#include "fuzz_support.h"

using namespace engine;

namespace {

void checkRecord(const QString& line) {
    const StepRecord r(line);
    for (int col : {-5, 0, 1, 8, 12, 66, 125, 130, 197, 212, 213, 400})
        for (int w : {-1, 0, 1, 4, 10, 300}) {
            const QString f = r.field(col, w);
            FUZZ_CHECK(f.size() <= std::max(w, 0));
            (void)r.number(col, w);
        }

    const QString code = r.actionCode();
    FUZZ_CHECK(code.size() <= 4);
    const ActionKind kind = r.action();
    if (kind == ActionListChoice) FUZZ_CHECK(code.startsWith(u'L'));
    if (kind == ActionLookIn) FUZZ_CHECK(code.startsWith(u'K'));
    (void)r.stepCode();
    (void)r.dragModifiers();
    FUZZ_CHECK(r.codeModifiers() > -10 && r.codeModifiers() < 10);
    FUZZ_CHECK(r.codeKey() > -100 && r.codeKey() < 100);
    const ContextMenuCode cm = r.contextMenuCode();
    (void)cm.set(), (void)cm.menu(), (void)cm.group(), (void)cm.entry();
    (void)r.listTextLine(), (void)r.lookInStartRow(), (void)r.lookInRow(), (void)r.dragImageDirection();
    (void)r.formPicture(), (void)r.formPictureKeeps();
    for (int n = -1; n <= 8; ++n) {
        (void)r.imageX(n), (void)r.imageY(n), (void)r.imageBranch(n);
        FUZZ_CHECK(r.imagePicture(n).size() <= 6);
        const PictureUse u = r.imagePictureUse(n);
        FUZZ_CHECK(u == PictureHide || u == PictureKeep || u == PictureShow);
    }
    (void)r.redBoxX(), (void)r.redBoxY(), (void)r.redBoxW(), (void)r.redBoxH(), (void)r.redBoxBranch(), (void)r.hasTarget();
    (void)r.hasInputBox(), (void)r.inputX(), (void)r.inputY(), (void)r.inputW(), (void)r.inputH();
    (void)r.inputTextLine(), (void)r.inputTextLineNo(), (void)r.answerLine(), (void)r.answerLineNo();
    const InputFormat f = r.inputFormat();
    FUZZ_CHECK(f.fontPoints() > -4000 && f.fontPoints() < 4000);
    (void)f.bold(), (void)f.italic(), (void)f.underline(), (void)f.fontName(), (void)f.textColourValue(), (void)f.backColourValue();
    (void)r.hintX(), (void)r.hintY(), (void)r.hasHintPosition(), (void)r.hintLine(), (void)r.hintLineNo();
    for (int n = 0; n <= 4; ++n) {
        if (auto m = r.menuPath(n)) {
            FUZZ_CHECK(m->branch.size() <= 1);
            (void)m->target();
        }
        (void)r.keySlot(n);
    }
    if (auto s = r.specialItem()) FUZZ_CHECK(s->normalPicture().size() <= 6);
    (void)r.altMenuCode(), (void)r.extraPictureCode(), (void)r.extraPictureX(), (void)r.extraPictureY();
    const CursorCode c = r.cursorCode();
    const int16_t ptr = c.pointer();
    FUZZ_CHECK(ptr == 0 || ptr == 99 || ptr == c.number);
    if (c.kind != CursorCode::Custom) FUZZ_CHECK(c.file().isEmpty());
    (void)r.dropBranch();
    if (auto b = r.backSteps()) (void)*b;
    if (auto d = r.dialogCode()) {
        FUZZ_CHECK(d->shownTab >= 0 && d->shownTab <= 13);
        FUZZ_CHECK(d->targetTab >= 0 && d->targetTab <= 13);
    }
    (void)r.dropX(), (void)r.dropY(), (void)r.sourceX(), (void)r.sourceY(), (void)r.sourceW(), (void)r.sourceH();
    (void)r.sourceBranch(), (void)r.hasSource();

    // Branch codes name steps 0-35.
    for (const QString& b : {r.redBoxBranch(), r.sourceBranch(), r.dropBranch(), r.field(1, 1), code.left(1)}) {
        const int16_t s = branchStep(b);
        FUZZ_CHECK(s >= 0 && s <= 35);
    }
    // The context code and its digits.
    const int16_t cc = context_menu::contextCode(line);
    const int set = context_menu::codeSet(cc);
    FUZZ_CHECK(set >= 0 && set <= 4);
    (void)context_menu::altMenuCode(line);
    // The same line as a tab layout record.
    const TabLayout t(line);
    const int16_t tabs = t.tabCount();
    FUZZ_CHECK(tabs >= 0 && tabs <= TabLayout::MaxTabs);
    (void)t.key(), (void)t.tabRowY(), (void)t.tabHeight(), (void)t.twoRows();
    for (int i = -1; i <= TabLayout::MaxTabs + 2; ++i) (void)t.tabPicture(i), (void)t.tabLeft(i), (void)t.tabWidth(i);
    (void)t.backX(), (void)t.backY(), (void)t.backW(), (void)t.backH();
    (void)builtInTabLayout(code.left(1));
    FUZZ_CHECK(DialogCode::tabNumber(r.field(131, 1)) >= 0 && DialogCode::tabNumber(r.field(131, 1)) <= 13);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet();
    core::config().ProgramDir = fuzz::scratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList lines = core::splitLines(core::fromGbk(fuzz::bytes(data, size)));
    int n = 0;
    for (const QString& line : lines) {
        if (++n > 200) break;
        checkRecord(line);
    }
    if (lines.isEmpty()) checkRecord(QString());
    return 0;
}
