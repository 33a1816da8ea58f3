#include "cover/sibling_modules.h"

#include <QDir>
#include <QFileInfo>

#include "core/platform.h"
#include "core/registry.h"
#include "core/text.h"

namespace cover {

const char* const kVendorSite1 = "https://www.tesmar-soft.example/";
const char* const kVendorSite2 = "https://www.tesmar-exam.example/";
const char* const kServiceChatPage = "https://im-service.example/chat?account=tesmar-kefu";
const char* const kMessengerLink = "xmpp:kefu@tesmar-soft.example?message";

namespace {
const char* const kDownloadPage = "https://www.tesmar-soft.example/down.asp?id=";
const char* const kKey = "Software\\Microsoft";

QString readText(const QString& name) {
    core::RegValue v{QString()};
    core::ReadRegValue(core::HKEY_CURRENT_USER, kKey, name, v);
    return v.toText();
}

QString beforeStar(const QString& s) {
    const int i = s.indexOf(u'*');
    return i < 0 ? s : s.left(i);
}
} // namespace

const std::array<SiblingModule, kLauncherRowCount>& SiblingModuleTable() {
    static const std::array<SiblingModule, kLauncherRowCount> t = {{
        {1, "", "01"},       {3, "", "03"},        // operating system; this module
        {5, "xls03", "05"},  {5, "xls07", "06"},   // spreadsheet, two editions
        {7, "ppt03", "07"},  {7, "ppt07", "08"},   // presentations
        {9, "mdb03", "09"},  {9, "mdb07", "10"},   // databases
        {11, "", "11"},      {12, "", "12"},       {13, "", "13"},       {14, "", "14"},
        {15, "", "15"},      {16, "", "16"},       {17, "", "17"},       {18, "", "18"},
        {19, "", "19"},      {20, "", "20"},       {21, "", "21"},
    }};
    return t;
}

int pairPartner(int row) {
    if (row >= 2 && row <= 7) return row % 2 == 0 ? row + 1 : row - 1;
    return -1;
}

LauncherRow detectSibling(int row) {
    LauncherRow out;
    if (row < 0 || row >= kLauncherRowCount) return out;
    const SiblingModule& m = SiblingModuleTable()[row];
    out.target = QString::fromLatin1(m.downloadId);
    const QString nn = core::padDigits(m.number, 2);
    const QString pathValue = readText("ProPath" + nn);
    const int partner = pairPartner(row);
    QString nameValue;
    if (partner >= 0) {
        nameValue = readText("ProName" + nn);
        const QString other = QString::fromLatin1(SiblingModuleTable()[partner].shortName);
        if (core::trimSpaces(pathValue).isEmpty() || nameValue.left(other.size()).toLower() == other) return out;
    } else {
        if (core::trimSpaces(pathValue).isEmpty()) return out;
        nameValue = readText("ProName" + nn);
    }
    // A module without a program name cannot be started.
    const QString name = beforeStar(nameValue);
    if (name.isEmpty()) return out;
    out.installed = true;
    out.folder = beforeStar(pathValue);
    out.target = out.folder + "\\" + name;
    return out;
}

QString launchTarget(const QString& moduleTarget) {
    return moduleTarget.right(4) == QLatin1String(".exe") ? moduleTarget : moduleTarget + ".exe";
}

bool startSibling(const QString& moduleTarget, const QString& moduleFolder, QString* tried) {
    const QString target = launchTarget(moduleTarget);
    // A name relative to the folder ("../bin/prog") is resolved on the path as written.
    const QString path = QDir::cleanPath(core::normalizePath(target));
    if (tried) *tried = path;
    QString program;
    if (QFileInfo(path).isFile()) {
        program = path;
    } else if (target != moduleTarget) {
        const QString bare = QDir::cleanPath(core::normalizePath(moduleTarget));
        const QFileInfo fi(bare);
        if (fi.isFile() && fi.isExecutable()) program = bare;
    }
    if (program.isEmpty()) return false;
    if (tried) *tried = program;
    // On its own folder, whatever folder this program runs on.
    return core::platform().startDetached(program, {},
                                          core::homeEnvironment(core::normalizePath(moduleFolder)));
}

QString downloadPage(const QString& downloadId) { return QString::fromLatin1(kDownloadPage) + downloadId; }

} // namespace cover
