#include "session/frm_start.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

#include "core/errors.h"
#include "core/platform.h"
#include "core/registry.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"

namespace session {

using namespace core;

const char* const kAlreadyRunning =
    "考试练习系统已在运行。如果你没有找到，请关闭其它窗口和程序，或者注销或重启。";
const char* const kSettingsMissing = "找不到本模块的设置文件 ver.txt，或者它已损坏。请重新安装本模块。";

QString decodeSettingsLine(const QString& line) {
    QString out;
    QStringDecoder dec("GBK");
    for (int i = 0; i < line.size(); i += 6) {
        double v = leadingNumber(line.mid(i, 6));
        if (v == 0) continue;
        long code = roundHalfEven(v) - (v > 500000 ? 500000 : 200000);
        if (code < 0 || code > 0xFFFF) continue;
        QByteArray bytes;
        if (code > 255) {
            bytes.append(static_cast<char>(code / 256));
            bytes.append(static_cast<char>(code % 256));
        } else {
            bytes.append(static_cast<char>(code));
        }
        QStringDecoder one("GBK");
        QString ch = one(bytes);
        if (one.hasError() || ch.isEmpty() || ch.contains(QChar::ReplacementCharacter)) continue;
        out += ch;
    }
    return out;
}

QString encodeSettingsLine(const QString& text) {
    QString out;
    for (QChar c : text) {
        QByteArray b = toGbk(QString(c));
        long v = b.size() >= 2 ? 500000 + (static_cast<uint8_t>(b[0]) * 256 + static_cast<uint8_t>(b[1]))
                               : 200000 + static_cast<uint8_t>(b.isEmpty() ? '?' : b[0]);
        out += QString::number(v);
    }
    return out;
}

namespace {

// The temporary files of the program's atomic saves that a kill left behind:
// every one in the folders of the module, and in the folders others share
// (the registry's, the desktop) only those of the program's own files.
void removeLeftoverWrites() {
    const ModuleConfig& c = config();
    for (const QString& dir : {c.recordsDir(), c.ProgramDir, c.DataDir}) removePartialWrites(dir);
    registryStore().removeLeftovers();
    platform().removeShortcutLeftovers(c.shortcutName());
}

} // namespace

FrmStart::FrmStart() : Form("FrmStart"), Timer1(addTimer("Timer1", 100, false)) {
    setBorderStyle(0);
    setShowInTaskbar(true);
    move(0, 0, 6600, 1485);
    onLoad = [this] { Form_Load(); };
    Timer1.onTimer = [this](Timer&) { Timer1_Timer(); };
    // The splash goes by itself when the cover comes; closed earlier, no
    // window would come: the close is refused.
    onDesktopClose = [] {};
}

void FrmStart::Form_Load() {
    Platform& pf = platform();
    config().ProgramDir = pf.programDir();
    config().ExeName = pf.exeName();

    // One copy per user and program folder.
    if (!pf.acquireSingleInstance(config().ProgramDir)) {
        MsgBox(QString::fromUtf8(kAlreadyRunning), MbOkOnly | MbInformation, QStringLiteral("系统提示"));
        refused = true;
        if (windows().exitProgram) windows().exitProgram(0);
        return;
    }
    // Scale factors.
    ScreenInfo scr = pf.screen();
    config().ScaleX = scr.twipsPerPixelX / 15.0;
    config().ScaleY = scr.twipsPerPixelY / 15.0;

    // Settings; without them the module cannot run.
    if (!readInfo()) {
        MsgBox(QString::fromUtf8(kSettingsMissing), MbOkOnly | MbCritical, QStringLiteral("系统提示"));
        refused = true;
        if (windows().exitProgram) windows().exitProgram(1);
        return;
    }

    // Only the one copy may clear what a killed one left of its writes.
    removeLeftoverWrites();

    // Size (the height, too, follows ScaleX), centred on the screen.
    double w = 6600 * config().ScaleX, h = 1485 * config().ScaleX;
    move((scr.widthTwips - w) / 2, (scr.heightTwips - h) / 2, w, h);

    // The splash; a missing one starts without it.
    if (auto pic = pictureStore().load(joinPath(config().DataDir, "9l0059.rar"))) setPicture(*pic);

    // Initial values.
    core::session().SetNo = 0;
    core::session().DemoRunning = false;
    config().DataExt = ".rar";
    core::session().CandidateName = "Tesmar1";

    // Hand over to the cover 100 ms later.
    StartPending = true;
    Timer1.setEnabled(true);
    if (windows().prefetchCoverPictures) windows().prefetchCoverPictures();
}

bool FrmStart::readInfo() {
    std::array<QString, 41> lines;  // 1-based
    auto file = readLines(joinPath(config().ProgramDir, "ver.txt"));
    if (!file || file->isEmpty()) return false;
    for (int i = 0; i < file->size() && i < 40; ++i) lines[i + 1] = decodeSettingsLine(file->at(i));

    ModuleConfig& c = config();
    c.ModuleNo = val16(lines[4]);
    c.ModuleName = trimSpaces(lines[1]);
    c.ModuleTitle = trimSpaces(lines[2]);
    // An empty data-folder line gives the program folder itself.
    c.DataDir = normalizePath(c.ProgramDir + "/" + trimSpaces(lines[3]) + "/");
    c.AppTitle = QString::fromUtf8(core::ProgramTitle) + u' ' + c.ModuleName + QStringLiteral("模块");
    for (int i = 0; i <= 40; ++i) c.InfoLines[i] = i <= 20 ? trimSpaces(lines[i + 5]) : QString();

    // First run: register the module's folder and executable.
    const QString flagFile = c.dataFile("288892");
    auto flag = readFirstLine(flagFile);
    if (!flag || *flag != "0") return true;
    const QString nn = padDigits(c.ModuleNo, 2);
    int32_t cb = 0;
    RegValue path(c.ProgramDir + QString(72, u'*'));
    int32_t st1 = WriteRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", "ProPath" + nn, REG_SZ, path, cb);
    // The executable as seen from the folder: a folder run through
    // EXAMSIM_HOME names the executable where it lies.
    RegValue name(registeredExeName(c.ProgramDir, platform().exePath()) + QString(36, u'*'));
    int32_t st2 = WriteRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", "ProName" + nn, REG_SZ, name, cb);
    // The flag says "written" only when both values were written.
    if (st1 == RegOk && st2 == RegOk) writeLines(flagFile, {"1"});
    return true;
}

void FrmStart::Timer1_Timer() {
    if (!StartPending) return;
    StartPending = false;
    Timer1.setEnabled(false);
    unload();
    if (windows().showCover) windows().showCover();
    UpdataExe();
}

void FrmStart::UpdataExe() {
    const ModuleConfig& c = config();
    QString option;
    resumeNext([&] { option = readFirstLine(c.programFile("updata.txt")).value_or(QString()); });
    const QString counterFile = c.dataFile("288897");
    int16_t n = val16(readFirstLine(counterFile).value_or(QString()));
    // At 32767 the count overflows: the file keeps its value.
    if (n < 32767) writeLines(counterFile, {QString::number(n + 1)});
    if (trimSpaces(option) == "1" && n % 10 == 0) {
        const QString updater = c.programFile("updata.exe");
        if (QFileInfo::exists(updater)) platform().startDetached(updater);
    }
}

core::FormSlot<FrmStart>& frmStart() {
    static core::FormSlot<FrmStart> slot;
    return slot;
}

} // namespace session
