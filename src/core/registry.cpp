#include "core/registry.h"
#include "core/service.h"

#include "core/errors.h"
#include "core/platform.h"
#include "core/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <cmath>
#include <map>

namespace core {

// ---- RegValue ----

QString RegValue::toText() const {
    if (const auto* t = std::get_if<QString>(&v_)) return *t;
    if (const auto* n = std::get_if<int32_t>(&v_)) return QString::number(*n);
    return QString();
}

int32_t RegValue::toInt32() const {
    if (const auto* n = std::get_if<int32_t>(&v_)) return *n;
    if (isEmpty()) return 0;
    const QString t = std::get<QString>(v_).trimmed();
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d)) throw RuntimeError(ErrTypeMismatch, "Type mismatch");
    if (!(d > -2147483648.5 && d < 2147483647.5)) throw RuntimeError(ErrOverflow, "Overflow");
    const long r = roundHalfEven(d);
    if (r < INT32_MIN || r > INT32_MAX) throw RuntimeError(ErrOverflow, "Overflow");
    return static_cast<int32_t>(r);
}

// ---- shared data of both stores ----

struct RegistryData {
    struct Value {
        QString name;
        RegEntry entry;
    };
    struct Key {
        QString name;
        std::map<QString, Value> values;  // by case-folded name
    };
    std::map<QString, Key> keys;  // by case-folded canonical key

    static QString fold(const QString& s) { return s.toCaseFolded(); }

    bool hasKey(const QString& key) const {
        if (key.isEmpty()) return true;
        const QString k = fold(key);
        if (keys.count(k)) return true;
        // A key exists when a key below it does.
        const QString below = k + u'\\';
        auto it = keys.lower_bound(below);
        return it != keys.end() && it->first.startsWith(below);
    }
    const RegEntry* value(const QString& key, const QString& name) const {
        auto k = keys.find(fold(key));
        if (k == keys.end()) return nullptr;
        auto v = k->second.values.find(fold(name));
        return v == k->second.values.end() ? nullptr : &v->second.entry;
    }
    Key& createKey(const QString& key) {
        Key& k = keys[fold(key)];
        if (k.name.isEmpty()) k.name = key;
        return k;
    }
    void setValue(const QString& key, const QString& name, const RegEntry& e) {
        Value& v = createKey(key).values[fold(name)];
        v.name = name;
        v.entry = e;
    }

    // One section per key, one line per value: name=type:hex bytes. Names
    // are percent-encoded so any character survives.
    QByteArray serialize() const {
        QByteArray out = "; registry values of the examsim module family\n";
        for (const auto& [id, k] : keys) {
            out += '[' + QUrl::toPercentEncoding(k.name, "\\ ") + "]\n";
            for (const auto& [vid, v] : k.values) {
                out += QUrl::toPercentEncoding(v.name, " ") + '=' +
                       QByteArray::number(v.entry.type) + ':' + v.entry.data.toHex() + '\n';
            }
        }
        return out;
    }
    static RegistryData parse(const QByteArray& bytes) {
        RegistryData d;
        Key* cur = nullptr;
        for (QByteArray line : bytes.split('\n')) {
            if (line.endsWith('\r')) line.chop(1);
            if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) continue;
            if (line.startsWith('[') && line.endsWith(']')) {
                const QString name = QUrl::fromPercentEncoding(line.mid(1, line.size() - 2));
                cur = &d.createKey(name);
                continue;
            }
            const int eq = line.indexOf('=');
            const int colon = line.indexOf(':', eq + 1);
            if (!cur || eq < 0 || colon < 0) continue;
            bool ok = false;
            const int type = line.mid(eq + 1, colon - eq - 1).toInt(&ok);
            if (!ok) continue;
            const QString name = QUrl::fromPercentEncoding(line.left(eq));
            Value& v = cur->values[fold(name)];
            v.name = name;
            v.entry = RegEntry{type, QByteArray::fromHex(line.mid(colon + 1))};
        }
        return d;
    }
};

// ---- memory store ----

MemoryRegistryStore::MemoryRegistryStore() : data_(std::make_unique<RegistryData>()) {}
MemoryRegistryStore::~MemoryRegistryStore() = default;

int32_t MemoryRegistryStore::openKey(const QString& key) {
    return data_->hasKey(key) ? RegOk : RegNotFound;
}

int32_t MemoryRegistryStore::queryValue(const QString& key, const QString& name, RegEntry& out) {
    const RegEntry* e = data_->value(key, name);
    if (!e) return RegNotFound;
    out = *e;
    return RegOk;
}

int32_t MemoryRegistryStore::createKey(const QString& key) {
    if (failStatus) return failStatus;
    if (!key.isEmpty()) data_->createKey(key);
    return RegOk;
}

int32_t MemoryRegistryStore::setValue(const QString& key, const QString& name, const RegEntry& entry) {
    if (failStatus) return failStatus;
    data_->setValue(key, name, entry);
    return RegOk;
}

// ---- file store ----

namespace {

RegistryData loadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return RegistryData::parse(f.readAll());
}

bool saveFile(const QString& path, const RegistryData& d) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeFileAtomic(path, d.serialize());
}

} // namespace

// Read, change and save under a lock, so that two modules writing at once
// do not lose each other's values. A lock that stays busy is waited for
// once; until a while later, further writes try it once without waiting.
template <class Change>
int32_t FileRegistryStore::modifyFile(Change change) {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    const bool wait = !lockBusy();
    bool held = false;
    const std::unique_ptr<InstanceLock> lock = lockWithin(wait ? LockWaitMs : 0, &held);
    if (!lock) {
        if (held && wait) busySince_.start();
        return RegIoFailed;
    }
    busySince_.invalidate();
    RegistryData d = loadFile(path_);
    if (!change(d)) return RegOk;
    return saveFile(path_, d) ? RegOk : RegIoFailed;
}

void FileRegistryStore::removeLeftovers() {
    // A write in progress elsewhere holds the lock: its temporary file stays.
    const std::unique_ptr<InstanceLock> lock = lockWithin(0, nullptr);
    if (!lock) return;
    const QFileInfo file(path_);
    removePartialWritesOf(file.absolutePath(), file.fileName());
}

// The writers' lock, waited for up to `waitMs` while another process holds
// it; *heldElsewhere tells whether that is why there is none.
std::unique_ptr<InstanceLock> FileRegistryStore::lockWithin(int waitMs, bool* heldElsewhere) const {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        bool held = false;
        if (auto lock = lockInstance(lockPath(), &held)) return lock;
        if (heldElsewhere) *heldElsewhere = held;
        if (!held || waited.elapsed() >= waitMs) return nullptr;
        QThread::msleep(20);
    }
}

bool FileRegistryStore::lockBusy() const { return busySince_.isValid() && !busySince_.hasExpired(BusyMs); }

FileRegistryStore::FileRegistryStore(const QString& path) : path_(path) {}

int32_t FileRegistryStore::openKey(const QString& key) {
    return loadFile(path_).hasKey(key) ? RegOk : RegNotFound;
}

int32_t FileRegistryStore::queryValue(const QString& key, const QString& name, RegEntry& out) {
    const RegistryData d = loadFile(path_);
    const RegEntry* e = d.value(key, name);
    if (!e) return RegNotFound;
    out = *e;
    return RegOk;
}

int32_t FileRegistryStore::createKey(const QString& key) {
    if (key.isEmpty()) return RegOk;
    if (loadFile(path_).keys.count(RegistryData::fold(key))) return RegOk;
    return modifyFile([&](RegistryData& d) {
        if (d.keys.count(RegistryData::fold(key))) return false;
        d.createKey(key);
        return true;
    });
}

int32_t FileRegistryStore::setValue(const QString& key, const QString& name, const RegEntry& entry) {
    return modifyFile([&](RegistryData& d) {
        d.setValue(key, name, entry);
        return true;
    });
}

QString defaultRegistryPath() {
    const QString env = qEnvironmentVariable("EXAMSIM_REGISTRY");
    if (!env.isEmpty()) return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/examsim/registry.ini";
}

namespace {
ServiceSlot<RegistryStore>& storeSlot() {
    static ServiceSlot<RegistryStore> slot([] { return std::make_shared<FileRegistryStore>(defaultRegistryPath()); });
    return slot;
}

// "\Software\\Microsoft\" -> "Software\Microsoft".
QString canonicalKey(const QString& subKey) {
    QStringList parts = subKey.split(u'\\', Qt::SkipEmptyParts);
    return parts.join(u'\\');
}

QByteArray littleEndian(int32_t n) {
    const uint32_t u = static_cast<uint32_t>(n);
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
    return b;
}

int32_t fromLittleEndian(const QByteArray& b) {
    uint32_t u = 0;
    for (int i = 0; i < b.size() && i < 4; ++i)
        u |= static_cast<uint32_t>(static_cast<uint8_t>(b[i])) << (8 * i);
    return static_cast<int32_t>(u);
}

QString textUpToNul(const QByteArray& b) {
    const int nul = b.indexOf('\0');
    return fromGbk(nul < 0 ? b : b.left(nul));
}
} // namespace

RegistryStore& registryStore() { return storeSlot().get(); }

void setRegistryStore(std::shared_ptr<RegistryStore> store) { storeSlot().set(std::move(store)); }

int32_t ReadRegValue(int32_t root, const QString& subKey, const QString& valueName,
                     RegValue& value) {
    if (root != HKEY_CURRENT_USER) return RegInvalidHandle;
    RegistryStore& store = registryStore();
    const QString key = canonicalKey(subKey);
    if (int32_t s = store.openKey(key)) return s;
    RegEntry e;
    if (int32_t s = store.queryValue(key, valueName, e)) return s;
    switch (e.type) {
    case REG_SZ:
        // Read into a 255-byte buffer.
        if (e.data.size() > 255) return RegMoreData;
        value = textUpToNul(e.data);
        return RegOk;
    case REG_EXPAND_SZ:
        value = textUpToNul(e.data);
        return RegOk;
    case REG_DWORD:
    case REG_BINARY:
        // Read into one 32-bit integer.
        if (e.data.size() > 4) return RegMoreData;
        value = fromLittleEndian(e.data);
        return RegOk;
    default:
        return RegOk;
    }
}

int32_t WriteRegValue(int32_t root, const QString& subKey, const QString& valueName,
                      int32_t valueType, RegValue& value, int32_t& cbData) {
    if (root != HKEY_CURRENT_USER) return RegInvalidHandle;
    RegistryStore& store = registryStore();
    const QString key = canonicalKey(subKey);
    if (int32_t s = store.createKey(key)) return s;
    switch (valueType) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        QByteArray bytes = toGbk(value.toText());
        bytes.append('\0');
        const int32_t s = store.setValue(key, valueName, RegEntry{valueType, bytes});
        if (s == RegOk) cbData = static_cast<int32_t>(bytes.size());
        return s;
    }
    case REG_DWORD: {
        const int32_t n = value.toInt32();
        const int32_t s = store.setValue(key, valueName, RegEntry{REG_DWORD, littleEndian(n)});
        if (s == RegOk) {
            cbData = 4;
            value = n;
        }
        return s;
    }
    case REG_BINARY: {
        const int32_t n = value.toInt32();
        // The data comes from one 32-bit integer: at most 4 bytes.
        if (cbData < 0 || cbData > 4) return RegInvalidParameter;
        const int32_t s =
            store.setValue(key, valueName, RegEntry{REG_BINARY, littleEndian(n).left(cbData)});
        if (s == RegOk) value = n;
        return s;
    }
    default:
        return RegOk;
    }
}

} // namespace core
