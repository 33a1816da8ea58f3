// The simulated list box of list steps and the look-in drop-down of the file
// dialogs; the hook-up of the dialog controls' events.
#include "chrome/design_pictures.h"
#include "core/errors.h"
#include "core/state.h"
#include "core/text.h"
#include "engine/frm_main.h"
#include "engine/frm_main_util.h"
#include "engine/step_record.h"

namespace engine {

namespace {

// The text of a list's entries: the text table is read up to line n or to
// its end, and the last line read counts from its 4th character. Unlike
// TextTableLookup, 0 ("000") has no meaning of its own: no line count
// equals it, so it reads the last line.
QString listEntriesText(int n) {
    const auto lines = core::readLines(core::session().TextTableFile);
    if (!lines) throw core::RuntimeError(core::ErrFileNotFound, "the text table cannot be read");
    QString last;
    int count = 0;
    for (const QString& line : *lines) {
        last = line;
        if (++count == n) break;
    }
    return core::mid(last, 4);
}

} // namespace

void FrmMain::wireDialogControls() {
    // Tab and back hot-spots.
    for (const auto& [i, t] : LblXXK.elements()) t->onClick = [this](Control& c) { LblXXK_Click(c.index()); };

    // Simulated list box.
    LstLA.onClick = [this](Control&) { LstLA_Click(); };
    for (Control* bar : {&PicLeft, &PicTop, &PicRight, &PicBottom}) bar->setBackColor(core::rgbValue(127, 157, 185));

    // Look-in list and its design pictures.
    PicList.setPicture(core::Picture(chrome::lookInListPicture()));
    ImgSelAD.setPicture(core::Picture(chrome::lookInBoxPicture()));
    for (int i = 0; i <= 13; ++i) {
        ImgLiN[i].setPicture(core::Picture(chrome::lookInRowPicture(i)));
        ImgLiN[i].onClick = [this](Control& c) { ImgLiN_Click(c.index()); };
        LblADD[i].onClick = [this](Control& c) { ImgLiN_Click(c.index()); };
        LblADD[i].onMouseMove = [this](Control& c, const core::MouseArgs&) { LblADD_MouseMove(c.index()); };
    }
    LblADDmyXZ.onClick = [this](Control&) { LblADDmyXZ_Click(); };

    // Source box and image drags.
    Label4.onMouseDown = [this](Control&, const core::MouseArgs& a) { Label4_MouseDown(a); };
    Label4.onMouseMove = [this](Control&, const core::MouseArgs& a) { Label4_MouseMove(a); };
    Label4.onMouseUp = [this](Control&, const core::MouseArgs& a) { Label4_MouseUp(a); };
    Image5.onMouseMove = [this](Control&, const core::MouseArgs& a) { Image5_MouseMove(a); };
    Image5.onMouseUp = [this](Control&, const core::MouseArgs& a) { Image5_MouseUp(a); };
}

void FrmMain::setupListStage() {
    const QString code = rec().actionCode();
    if (code.startsWith(u'L')) {
        listSetUp();
    } else {
        for (Control* c : {&LstLA, &PicLeft, &PicTop, &PicRight, &PicBottom}) resumeNext([&] { c->setVisible(false); });
        resumeNext([&] { LblXXK[0].setCaption(QString()); });
    }
    if (code.startsWith(u'K'))
        lookInSetUp();
    else
        resumeNext([&] { PicList.setVisible(false); });
}

void FrmMain::listSetUp() {
    for (Control* c : {&LstLA, &PicLeft, &PicTop, &PicRight, &PicBottom}) resumeNext([&] { c->setVisible(true); });
    resumeNext([&] { LstLA.move(Text1.left(), Text1.top(), Text1.width(), Text1.height()); });
    resumeNext([&] { Text1.setVisible(false); });

    // The frame: four bars 15 twips thick along the list's edges.
    const double l = LstLA.left(), t = LstLA.top(), w = LstLA.width(), h = LstLA.height();
    resumeNext([&] { PicLeft.move(l, t, 15 * sx(), h); });
    resumeNext([&] { PicRight.move(l + w - 15 * sx(), t, 15 * sx(), h); });
    resumeNext([&] { PicTop.move(l, t, w, 15 * sy()); });
    resumeNext([&] { PicBottom.move(l, t + h - 15 * sy(), w, 15 * sy()); });

    // Entries: the parts of the text between "|" (empty parts included).
    QString text;
    resumeNext([&] { text = core::shownText(listEntriesText(core::val16(rec().listTextLine()))); });
    resumeNext([&] { LstLA.clearItems(); });
    for (const QString& entry : text.split(u'|')) resumeNext([&] { LstLA.addItem(entry); });

    // The first selection runs the list's check: a right one completes the
    // step here, and the rest belongs to the step set up by then.
    const QString line = core::session().StepLine;
    resumeNext([&] { LstLA.setListIndex(rec().inputTextLineNo()); });
    if (core::session().StepLine != line) return;
    resumeNext([&] {
        const int i = LstLA.listIndex();
        LblXXK[0].setCaption(i >= 0 ? LstLA.items().at(i) : QString());
    });
    resumeNext([&] { LblXXK[0].setWidth(LstLA.width()); });
}

void FrmMain::LstLA_Click() {
    const int i = LstLA.listIndex();
    LblXXK[0].setCaption(i >= 0 && i < LstLA.listCount() ? LstLA.items().at(i) : QString());
    if (i != rec().answerLineNo()) return;
    for (Control* c : {&LstLA, &PicLeft, &PicTop, &PicRight, &PicBottom}) c->setVisible(false);
    LblXXK[0].setCaption(QString());
    doNext();
}

void FrmMain::lookInSetUp() {
    resumeNext([&] { PicList.move(Text1.left(), Text1.top()); });
    resumeNext([&] { PicList.setVisible(true); });
    resumeNext([&] { ImgLiN_Click(rec().lookInStartRow()); });
}

void FrmMain::ImgLiN_Click(int index) {
    ImgSelAD.setLeft(chrome::lookInRowShift(index) * sx());
    ImgSelAD.setPicture(ImgLiN[index].picture());
    PicList.setHeight(330 * sy());
    if (rec().lookInRow() == index) doNext();
}

void FrmMain::LblADD_MouseMove(int index) {
    for (int i = 0; i <= 13; ++i) ImgLiN[i].setVisible(false);
    ImgLiN[index].setVisible(true);
}

void FrmMain::LblADDmyXZ_Click() {
    PicList.setHeight(PicList.height() >= 3600 * sy() ? 330 * sy() : 3720 * sy());
}

} // namespace engine
