#include "core/keyboard_layout.h"
#include "core/service.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextStream>
#include <map>

namespace core {

namespace {

const QString kFcitxPrefix = QStringLiteral("fcitx5:");
const QString kPlainLayout = QStringLiteral("keyboard");

} // namespace

QStringList fcitxProfileItems(const QString& profileFile) {
    QFile f(profileFile);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    static const QRegularExpression item(QStringLiteral("^\\[Groups/0/Items/(\\d+)\\]$"));
    std::map<int, QString> names;
    int current = -1;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[')) {
            const auto m = item.match(line);
            current = m.hasMatch() ? m.captured(1).toInt() : -1;
            continue;
        }
        if (current < 0 || !line.startsWith(QStringLiteral("Name="))) continue;
        const QString name = line.mid(5).trimmed();
        if (!name.isEmpty()) names[current] = name;
    }
    QStringList out;
    for (const auto& [i, n] : names) out << n;
    return out;
}

SystemKeyboardLayouts::SystemKeyboardLayouts(QString profileFile, QString remoteProgram)
    : profile_(std::move(profileFile)), remote_(std::move(remoteProgram)) {
    if (profile_.isEmpty()) {
        const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        if (!config.isEmpty()) profile_ = config + QStringLiteral("/fcitx5/profile");
    }
    if (remote_.isEmpty()) remote_ = QStandardPaths::findExecutable(QStringLiteral("fcitx5-remote"));
}

std::vector<KeyboardLayout> SystemKeyboardLayouts::installed() {
    std::vector<KeyboardLayout> out;
    for (const QString& name : fcitxProfileItems(profile_))
        out.push_back({kFcitxPrefix + name, name.startsWith(QStringLiteral("keyboard-")) ? QString() : name});
    if (out.empty()) out.push_back({kPlainLayout, QString()});
    return out;
}

bool SystemKeyboardLayouts::activate(const QString& id) {
    if (!id.startsWith(kFcitxPrefix) || remote_.isEmpty()) return false;
    const QString name = id.mid(kFcitxPrefix.size());
    if (name.isEmpty()) return false;
    // Switching must not hold up the focus change: the program is started
    // and left to run.
    return QProcess::startDetached(remote_, {QStringLiteral("-s"), name});
}

bool FakeKeyboardLayouts::activate(const QString& id) {
    activated << id;
    return activateResult;
}

namespace {

ServiceSlot<KeyboardLayouts>& layoutsSlot() {
    static ServiceSlot<KeyboardLayouts> slot([] { return std::make_shared<SystemKeyboardLayouts>(); });
    return slot;
}

} // namespace

KeyboardLayouts& keyboardLayouts() { return layoutsSlot().get(); }

void setKeyboardLayouts(std::shared_ptr<KeyboardLayouts> layouts) { layoutsSlot().set(std::move(layouts)); }

} // namespace core
