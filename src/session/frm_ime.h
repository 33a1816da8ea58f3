#pragma once
// The input-method help: the information pages 1-16 one at a time, from the
// last, and the "调用输入法" switch, kept in the candidate's records.
#include <QString>
#include <cstdint>
#include <optional>

#include "core/forms.h"
#include "session/option_box.h"

namespace session {

// The option file: ksdata/288890.rar of the program folder.
QString imeOptionFile();
// The help's reading of the option: on only when the first line is exactly
// "1". A missing or empty file reads "0".
bool imeOptionTicked(const std::optional<QString>& firstLine);
// An information page picture (1..17): DataDir/9l00NN.rar.
QString infoPagePicture(int page);

class FrmIME : public core::Form {
public:
    FrmIME();

    core::Control& Label1;   // the note on incompatible input methods (some pages only)
    core::Control& Check1;   // "调用输入法"
    core::Control& LblLast;  // click area of the page's back button
    core::Control& LblNext;  // click area of the page's forward button

    // The page shown, 1..16.
    int16_t HelpPage = 16;

    void LblLast_Click();
    void LblNext_Click();

private:
    void Form_Load();
    void Form_Unload();
    void Check1_Click();
    void showPage();

    OptionBox option_{Check1};
};

core::FormSlot<FrmIME>& frmIme();

// Texts of the help window.
extern const char* const kImeHelpCaption;  // "输入法问题"
extern const char* const kImeHelpText;
extern const char* const kImeCheckCaption; // "调用输入法"
extern const char* const kFirstPage;       // "已经到第一页"

} // namespace session
