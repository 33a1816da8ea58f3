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

QString fcitxInputMethodName(const QStringList& dirs, const QString& name, const QString& locale) {
    if (name.isEmpty() || name.contains(u'/')) return {};
    for (const QString& dir : dirs) {
        QFile f(dir + u'/' + name + QStringLiteral(".conf"));
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
        // Names of the [InputMethod] group by their key.
        std::map<QString, QString> names;
        bool inGroup = false;
        QTextStream in(&f);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (line.startsWith(u'[')) {
                inGroup = line == QLatin1String("[InputMethod]");
                continue;
            }
            const qsizetype eq = line.indexOf(u'=');
            if (!inGroup || eq < 0) continue;
            const QString key = line.left(eq).trimmed();
            QString value = line.mid(eq + 1).trimmed();
            if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')) value = value.mid(1, value.size() - 2);
            if (key == QLatin1String("Name") || key.startsWith(QLatin1String("Name["))) names[key] = value;
        }
        QStringList keys;
        if (!locale.isEmpty()) {
            keys << QStringLiteral("Name[%1]").arg(locale);
            const QString language = locale.section(u'_', 0, 0);
            if (language != locale) keys << QStringLiteral("Name[%1]").arg(language);
        }
        keys << QStringLiteral("Name");
        for (const QString& k : keys) {
            auto it = names.find(k);
            if (it != names.end() && !it->second.isEmpty()) return it->second;
        }
        // The first description file found is the one that counts.
        return {};
    }
    return {};
}

namespace {

// The messages locale as the C library chooses it, without encoding and
// modifier ("zh_CN.UTF-8" gives "zh_CN"); empty for the C locale.
QString messagesLocale() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        QString v = qEnvironmentVariable(var);
        if (v.isEmpty()) continue;
        v = v.section(u'.', 0, 0).section(u'@', 0, 0);
        if (v == QLatin1String("C") || v == QLatin1String("POSIX")) return {};
        return v;
    }
    return {};
}

} // namespace

SystemKeyboardLayouts::SystemKeyboardLayouts(QString profileFile, QString remoteProgram, QStringList descriptionDirs,
                                             QString locale)
    : profile_(std::move(profileFile)),
      remote_(std::move(remoteProgram)),
      descriptionDirs_(std::move(descriptionDirs)),
      locale_(std::move(locale)) {
    if (profile_.isEmpty()) {
        const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        if (!config.isEmpty()) profile_ = config + QStringLiteral("/fcitx5/profile");
    }
    if (remote_.isEmpty()) remote_ = QStandardPaths::findExecutable(QStringLiteral("fcitx5-remote"));
    if (descriptionDirs_.isEmpty())
        for (const QString& d : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
            descriptionDirs_ << d + QStringLiteral("/fcitx5/inputmethod");
    if (locale_.isEmpty()) locale_ = messagesLocale();
}

std::vector<KeyboardLayout> SystemKeyboardLayouts::installed() {
    std::vector<KeyboardLayout> out;
    for (const QString& name : fcitxProfileItems(profile_)) {
        if (name.startsWith(QStringLiteral("keyboard-"))) {
            out.push_back({kFcitxPrefix + name, QString()});
            continue;
        }
        const QString readable = fcitxInputMethodName(descriptionDirs_, name, locale_);
        out.push_back({kFcitxPrefix + name, readable.isEmpty() ? name : readable});
    }
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
