#pragma once
// The sibling modules of the product family that the cover's launcher page
// lists, how the launcher finds out which are installed, and the vendor's
// web addresses.
#include <QString>
#include <array>
#include <cstdint>

namespace cover {

inline constexpr int kLauncherRowCount = 19;

struct SiblingModule {
    int16_t number;         // suffix of the registry value names (two digits)
    const char* shortName;  // pair rows only: what the partner row compares with
    const char* downloadId; // query value of the download page
};

// Launcher rows in order; rows 2/3, 4/5 and 6/7 share a module number.
const std::array<SiblingModule, kLauncherRowCount>& SiblingModuleTable();
// The partner of a pair row, or -1.
int pairPartner(int row);

// What the launcher found for one row: the program to start when the
// module is installed, else the row's download id.
struct LauncherRow {
    bool installed = false;
    QString target;
    QString folder;  // the module's folder (installed rows)
};
// Reads the row's "ProPath"/"ProName" values from the registry.
LauncherRow detectSibling(int row);

// The file an installed row starts: the target with ".exe" appended unless
// it ends in exactly ".exe".
QString launchTarget(const QString& moduleTarget);
// Starts an installed row's program on its module folder: the launch target
// when that file exists, else the same path without the appended ".exe" when
// that is an executable; false (nothing started) otherwise or when the start
// fails. `tried` receives the path named in a message.
bool startSibling(const QString& moduleTarget, const QString& moduleFolder, QString* tried = nullptr);

// The vendor's addresses.
QString downloadPage(const QString& downloadId);
extern const char* const kVendorSite1;
extern const char* const kVendorSite2;
extern const char* const kServiceChatPage;
extern const char* const kMessengerLink;

} // namespace cover
