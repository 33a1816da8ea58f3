#pragma once
// The about box: the program's title with the module's display title, the
// version and the program folder; a click on the folder line opens the
// folder and puts a shortcut to the program on the desktop.
#include <QString>

#include "core/forms.h"

namespace cover {

// "软件版本: V" and the version, e.g. "软件版本: V1.0.0".
QString versionLine(int major, int minor, int revision);

class FrmAbout : public core::Form {
public:
    FrmAbout();

    core::Control& Image1;    // the program's icon
    core::Control& Command1;  // "确定"
    // 0 version, 1 title, 2 its white copy behind, 3 folder, 4 notice, 6 credit.
    core::Control& Label1(int i) { return array("Label1")[i]; }
    // Etched separators: even elements grey, odd ones the white line under them.
    core::Control& Line1(int i) { return array("Line1")[i]; }

    // The folder line (Label1(3)): opens the folder, writes the shortcut.
    void openFolderAndMakeShortcut();

private:
    void Form_Load();
};

core::FormSlot<FrmAbout>& frmAbout();
// Shows the about box modally (loaded anew, unloaded when it closes).
void showAbout();

extern const char* const kAboutCredit;
extern const char* const kAboutNotice;

} // namespace cover
