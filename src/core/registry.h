#pragma once
// Registry values of the module family. One store stands for the one key the
// program uses; every module of the family shares it, so modules find each
// other whatever their executable.
#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <memory>
#include <variant>

namespace core {

class InstanceLock;

// Root key handle; the only root the program uses.
inline constexpr int32_t HKEY_CURRENT_USER = static_cast<int32_t>(0x80000001u);

// Value types by their registry numbers.
inline constexpr int32_t REG_SZ = 1;
inline constexpr int32_t REG_EXPAND_SZ = 2;
inline constexpr int32_t REG_BINARY = 3;
inline constexpr int32_t REG_DWORD = 4;

// Status codes as the registry returns them.
inline constexpr int32_t RegOk = 0;
inline constexpr int32_t RegNotFound = 2;          // key or value missing
inline constexpr int32_t RegInvalidHandle = 6;     // unknown root key
inline constexpr int32_t RegInvalidParameter = 87;
inline constexpr int32_t RegMoreData = 234;        // data larger than the buffer
inline constexpr int32_t RegIoFailed = 1016;       // the store could not be written

// The caller's variant: empty, text or a 32-bit integer.
class RegValue {
public:
    RegValue() = default;
    RegValue(const QString& text) : v_(text) {}
    RegValue(const char* text) : v_(QString::fromUtf8(text)) {}
    RegValue(int32_t number) : v_(number) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(v_); }
    bool isText() const { return std::holds_alternative<QString>(v_); }
    bool isNumber() const { return std::holds_alternative<int32_t>(v_); }

    // Text form: "" for empty, decimal for a number.
    QString toText() const;
    // 32-bit integer form: 0 for empty; a text must be a number, rounded half
    // to even. Throws RuntimeError 13 (not a number) or 6 (out of range).
    int32_t toInt32() const;

    bool operator==(const RegValue&) const = default;

private:
    std::variant<std::monostate, QString, int32_t> v_;
};

// One stored value: its type and its raw bytes.
struct RegEntry {
    int32_t type = 0;
    QByteArray data;
    bool operator==(const RegEntry&) const = default;
};

// Keys are given in canonical form ("Software\Microsoft": parts separated by
// one backslash, none at either end; "" is the root). Key and value names
// compare without regard to letter case.
class RegistryStore {
public:
    virtual ~RegistryStore() = default;
    // RegOk when the key, or a key below it, exists; RegNotFound otherwise.
    virtual int32_t openKey(const QString& key) = 0;
    // RegOk and the entry, or RegNotFound when the key or the value is missing.
    virtual int32_t queryValue(const QString& key, const QString& name, RegEntry& out) = 0;
    // Creates the key when it does not exist.
    virtual int32_t createKey(const QString& key) = 0;
    // Creates or replaces a value (creating its key).
    virtual int32_t setValue(const QString& key, const QString& name, const RegEntry& entry) = 0;
    // Removes what interrupted writes of the store left (nothing to do for
    // most stores).
    virtual void removeLeftovers() {}
};

struct RegistryData;

// Test double: values in memory. A non-zero failStatus makes every
// createKey and setValue fail with it.
class MemoryRegistryStore : public RegistryStore {
public:
    MemoryRegistryStore();
    ~MemoryRegistryStore() override;
    int32_t openKey(const QString& key) override;
    int32_t queryValue(const QString& key, const QString& name, RegEntry& out) override;
    int32_t createKey(const QString& key) override;
    int32_t setValue(const QString& key, const QString& name, const RegEntry& entry) override;

    int32_t failStatus = 0;

private:
    std::unique_ptr<RegistryData> data_;
};

// The real store: one INI-like file. Every call reads the file afresh, so
// stores of other processes on the same file see each other's values; a
// write rewrites it whole through an atomic save under a lock file.
//
// A write waits at most LockWaitMs for a lock another process holds and
// then fails with RegIoFailed; for BusyMs after such a failure, writes try
// the lock once without waiting, so a start with several writes is held up
// about one second in total.
class FileRegistryStore : public RegistryStore {
public:
    static constexpr int LockWaitMs = 1000;
    static constexpr int BusyMs = 10000;

    explicit FileRegistryStore(const QString& path);
    int32_t openKey(const QString& key) override;
    int32_t queryValue(const QString& key, const QString& name, RegEntry& out) override;
    int32_t createKey(const QString& key) override;
    int32_t setValue(const QString& key, const QString& name, const RegEntry& entry) override;
    // The temporary files of interrupted writes of the store's file, and of
    // no other file of its folder, which other programs may share; only
    // while no other process writes the file.
    void removeLeftovers() override;
    const QString& path() const { return path_; }
    // A wait for the lock failed a short while ago: writes do not wait.
    bool lockBusy() const;

private:
    template <class Change>
    int32_t modifyFile(Change change);
    // The lock file that every writer of the file holds while it writes.
    QString lockPath() const { return path_ + ".lock"; }
    std::unique_ptr<InstanceLock> lockWithin(int waitMs, bool* heldElsewhere) const;

    QString path_;
    QElapsedTimer busySince_;
};

// $EXAMSIM_REGISTRY when set, else <user config folder>/examsim/registry.ini.
QString defaultRegistryPath();

// The store used by ReadRegValue and WriteRegValue. Until one is set, a
// FileRegistryStore on defaultRegistryPath() is created at first use;
// setRegistryStore(nullptr) goes back to that default.
RegistryStore& registryStore();
void setRegistryStore(std::shared_ptr<RegistryStore> store);

// Reads one value. On success `value` holds its text (REG_SZ, REG_EXPAND_SZ)
// or its 32-bit integer (REG_DWORD, REG_BINARY); other types leave it as is.
// On any failure `value` is left exactly as passed. Never throws.
int32_t ReadRegValue(int32_t root, const QString& subKey, const QString& valueName,
                     RegValue& value);

// Writes one value, creating the key. Text types store the text's GBK bytes
// and a NUL, cbData := their count. REG_DWORD stores 4 bytes, cbData := 4,
// value := its integer. REG_BINARY stores the first cbData (0..4) bytes of
// the integer, value := the integer. Other types write nothing and return 0.
// On a failed write `value` and cbData stay as passed. Throws RuntimeError
// when a numeric type's value is not a 32-bit number.
int32_t WriteRegValue(int32_t root, const QString& subKey, const QString& valueName,
                      int32_t valueType, RegValue& value, int32_t& cbData);

} // namespace core
