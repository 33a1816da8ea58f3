// Typed text: the checks of the input box Text1, the rename box Text2 and
// the overlay box Text3, and the keyboard layout of a box that gets the
// focus. The checks have no error trap: a text table that cannot be read ends
// the check at the event boundary (logged there) and leaves the box as it is.
#include "core/errors.h"
#include "core/keyboard_layout.h"
#include "core/keys.h"
#include "core/state.h"
#include "core/text.h"
#include "engine/frm_main.h"
#include "engine/frm_main_util.h"
#include "engine/step_record.h"
#include "engine/text_table.h"

namespace engine {

namespace {

bool isCode(const QString& code, std::initializer_list<const char*> codes) {
    for (const char* c : codes)
        if (code == QLatin1String(c)) return true;
    return false;
}

} // namespace

void FrmMain::wireTypingAndKeys() {
    Text1.onChange = [this](Control&) { Text1_Change(); };
    Text1.onKeyUp = [this](Control&, int& keyCode, int shift) { Text1_KeyUp(keyCode, shift); };
    Text1.onMouseUp = [this](Control&, const core::MouseArgs&) { Text1_MouseUp(); };
    Text1.onGotFocus = [this](Control&) { Text1_GotFocus(); };
    Text2.onChange = [this](Control&) { Text2_Change(); };
    Text3.onChange = [this](Control&) { Text3_Change(); };
    Text3.onGotFocus = [this](Control&) { Text3_GotFocus(); };

    // Key presses of the window and of its picture boxes are key steps; the
    // text boxes and the list keep theirs.
    onKeyDown = [this](int& keyCode, int shift) { KeyClick(keyCode, shift); };
    for (Control* c : {&Image6, &Pic1J, &Pic2J, &PicBottom, &PicElse, &PicHui, &PicLeft, &PicList, &PicMenu,
                       &PicRight, &PicTool, &PicTop, &PicTuBiao})
        c->onKeyDown = [this](Control&, int& keyCode, int shift) { KeyClick(keyCode, shift); };
}

void FrmMain::Text1_Change() {
    // The code is read once: when the first check advances, the second one
    // still sees this step's code.
    const QString code = rec().actionCode();
    StepCode = rec().stepCode();
    if (code == QLatin1String("0020") && LooseAnswerMatch(Text1.text(), AnswerText(rec().answerLine()))) doNext();
    if (code == QLatin1String("0025") && ExactAnswerMatch(Text1.text(), AnswerText(rec().answerLine()))) doNext();
}

void FrmMain::Text1_KeyUp(int keyCode, int /*shift*/) {
    if (keyCode != core::KeyReturn) return;
    if (!isCode(rec().actionCode(), {"0022", "0024", "0028"})) return;
    // The answer first: without its text table the entry stays as typed.
    const AnswerAlternatives answer = AnswerText(rec().answerLine());
    const QString entry = Text1.text();
    if (LooseAnswerMatch(ReducedEntry(entry), answer) || LooseAnswerMatch(entry, answer))
        doNext();
    else
        Text1.setText(QString());
}

void FrmMain::Text1_MouseUp() {
    if (rec().actionCode() != QLatin1String("0023")) return;
    // The selection and the hint's text, both without surrounding blanks,
    // in any letter case.
    auto norm = [](const QString& s) { return core::trimSpaces(s).toLower(); };
    const QString wanted = RequiredTextTableLookup(rec().hintLine());
    if (norm(Text1.selText()) == norm(wanted)) doNext();
}

void FrmMain::Text2_Change() {
    // The whole answer, "|" included; letter case counts.
    const QString whole = AnswerText(rec().answerLine()).whole;
    if (core::trimSpaces(Text2.text()) == core::trimSpaces(whole)) doNext();
}

void FrmMain::Text3_Change() {
    if (LooseAnswerMatch(Text3.text(), AnswerText(rec().answerLine()))) doNext();
}

void FrmMain::activateImeLayout() {
    const core::SessionState& s = core::session();
    if (s.ImeSimEnabled) core::keyboardLayouts().activate(s.ImeLayout);
}

void FrmMain::Text1_GotFocus() {
    resumeNext([&] { activateImeLayout(); });
    resumeNext([&] {
        if (core::session().ImeSimEnabled && rec().actionCode() == QLatin1String("0027")) Text3.setFocus();
    });
}

void FrmMain::Text3_GotFocus() {
    resumeNext([&] { activateImeLayout(); });
}

} // namespace engine
