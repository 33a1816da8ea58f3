#pragma once
// The start-up window: refuses a second copy, reads the module settings,
// registers the module on its first run, shows the splash and hands over to
// the cover.
#include <QString>
#include <QStringList>

#include "core/forms.h"

namespace session {

// Decodes one line of the settings file: each six-character group holds one
// character code (200000 + a single-byte code, 500000 + a double-byte code
// of code page 936); a group worth 0 is skipped.
QString decodeSettingsLine(const QString& line);
// The reverse, for writing settings files.
QString encodeSettingsLine(const QString& text);

class FrmStart : public core::Form {
public:
    FrmStart();

    // Reads the settings and registers the module on its first run. Returns
    // false when the settings file is missing or unreadable.
    bool readInfo();
    // Counts the start and starts the updater when due.
    void UpdataExe();

    core::Timer& Timer1;  // the splash's 100 ms, then the cover
    bool StartPending = false;
    // Set when the load refused to run (second copy, no settings): the
    // program ends without showing anything.
    bool refused = false;

private:
    void Form_Load();
    void Timer1_Timer();
};

core::FormSlot<FrmStart>& frmStart();

// Texts of the start-up.
extern const char* const kAlreadyRunning;
extern const char* const kSettingsMissing;

} // namespace session
