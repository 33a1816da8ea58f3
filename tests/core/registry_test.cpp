#include "core/errors.h"
#include "core/registry.h"
#include "core/text.h"

#include <gtest/gtest.h>
#include <QLockFile>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

using namespace core;

namespace {

const QString kKey = "Software\\Microsoft";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = std::make_shared<MemoryRegistryStore>();
        setRegistryStore(store);
    }
    void TearDown() override { setRegistryStore(nullptr); }

    int32_t writeText(const QString& name, const QString& text, int32_t type = REG_SZ) {
        RegValue v(text);
        int32_t cb = 0;
        return WriteRegValue(HKEY_CURRENT_USER, kKey, name, type, v, cb);
    }

    std::shared_ptr<MemoryRegistryStore> store;
};

TEST_F(RegistryTest, MissingKeyOrValueReturns2AndLeavesVariable) {
    ASSERT_EQ(writeText("ProPath07", "x"), 0);
    struct Case { QString key, name; RegValue start; };
    const Case cases[] = {
        {"Software\\Nowhere", "ProPath07", RegValue(QString())},
        {kKey, "ProPath08", RegValue(QString())},
        {kKey, "ProPath08", RegValue("keep")},
        {kKey, "ProPath08", RegValue(5)},
        {kKey, "ProPath08", RegValue()},
    };
    for (const Case& c : cases) {
        RegValue v = c.start;
        EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, c.key, c.name, v), 2) << c.key.toStdString();
        EXPECT_EQ(v, c.start);
    }
    // Another root than the one the store stands for.
    RegValue v("keep");
    EXPECT_NE(ReadRegValue(0, kKey, "ProPath07", v), 0);
    EXPECT_EQ(v, RegValue("keep"));
}

TEST_F(RegistryTest, RegistrationValueReadsBackWithItsAsterisks) {
    const QString folder = "/opt/exam/word";
    const QString data = folder + QString(72, u'*');
    RegValue w(data);
    int32_t cb = 0;
    ASSERT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "ProPath07", REG_SZ, w, cb), 0);
    EXPECT_EQ(cb, data.size() + 1);

    RegValue v(QString(""));
    ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "ProPath07", v), 0);
    ASSERT_TRUE(v.isText());
    EXPECT_EQ(v.toText(), data);
    EXPECT_EQ(v.toText().section(u'*', 0, 0), folder);
    // Key and value names ignore letter case; extra separators count as one.
    RegValue v2;
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, "\\software\\\\MICROSOFT\\", "propath07", v2), 0);
    EXPECT_EQ(v2, v);
}

TEST_F(RegistryTest, TextReadLimitIs255Bytes) {
    struct Case { int chars; int32_t type; int32_t status; };
    // Bytes stored = chars + NUL.
    const Case cases[] = {
        {253, REG_SZ, 0},  {254, REG_SZ, 0},  {255, REG_SZ, 234},
        {299, REG_SZ, 234}, {299, REG_EXPAND_SZ, 0},
    };
    for (const Case& c : cases) {
        const QString text(c.chars, u'a');
        ASSERT_EQ(writeText("Long", text, c.type), 0);
        RegValue v("before");
        EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "Long", v), c.status) << c.chars;
        EXPECT_EQ(v, c.status == 0 ? RegValue(text) : RegValue("before")) << c.chars;
    }
    // A double-byte text counts its bytes, not its characters: 128 characters
    // are 256 bytes with the NUL.
    ASSERT_EQ(writeText("Wide", QString(128, QChar(0x8003))), 0);
    RegValue v;
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "Wide", v), 234);
    EXPECT_TRUE(v.isEmpty());
}

TEST_F(RegistryTest, DwordConvertsTheVariableToANumber) {
    struct Case { RegValue in; int32_t n; QByteArray bytes; };
    const Case cases[] = {
        {RegValue("12"), 12, QByteArray("\x0c\0\0\0", 4)},
        {RegValue(" 7 "), 7, QByteArray("\x07\0\0\0", 4)},
        {RegValue("2.5"), 2, QByteArray("\x02\0\0\0", 4)},
        {RegValue("3.5"), 4, QByteArray("\x04\0\0\0", 4)},
        {RegValue(-1), -1, QByteArray("\xff\xff\xff\xff", 4)},
        {RegValue(), 0, QByteArray("\0\0\0\0", 4)},
    };
    for (const Case& c : cases) {
        RegValue v = c.in;
        int32_t cb = 99;
        ASSERT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "Count", REG_DWORD, v, cb), 0);
        EXPECT_EQ(cb, 4);
        EXPECT_TRUE(v.isNumber());
        EXPECT_EQ(v, RegValue(c.n));
        RegEntry e;
        ASSERT_EQ(store->queryValue(kKey, "Count", e), 0);
        EXPECT_EQ(e, (RegEntry{REG_DWORD, c.bytes}));
        RegValue r("x");
        ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "Count", r), 0);
        EXPECT_EQ(r, RegValue(c.n));
    }
}

TEST_F(RegistryTest, NonNumberForNumericTypeThrowsAndWritesNothing) {
    struct Case { RegValue in; int32_t type; int code; };
    const Case cases[] = {
        {RegValue("abc"), REG_DWORD, ErrTypeMismatch},
        {RegValue("12ab"), REG_DWORD, ErrTypeMismatch},
        {RegValue(""), REG_BINARY, ErrTypeMismatch},
        {RegValue("99999999999"), REG_DWORD, ErrOverflow},
    };
    for (const Case& c : cases) {
        RegValue v = c.in;
        int32_t cb = 2;
        try {
            WriteRegValue(HKEY_CURRENT_USER, kKey, "Bad", c.type, v, cb);
            ADD_FAILURE() << "no error for " << c.in.toText().toStdString();
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.code, c.code);
        }
        EXPECT_EQ(v, c.in);
        EXPECT_EQ(cb, 2);
        RegEntry e;
        EXPECT_EQ(store->queryValue(kKey, "Bad", e), 2);
    }
}

TEST_F(RegistryTest, BinaryWritesTheFirstCbDataBytes) {
    RegValue v(0x12345678);
    int32_t cb = 2;
    ASSERT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "Bin", REG_BINARY, v, cb), 0);
    EXPECT_EQ(cb, 2);
    RegValue r;
    ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "Bin", r), 0);
    EXPECT_EQ(r, RegValue(0x5678));

    // More than the integer holds: refused, nothing written.
    RegValue big("5");
    cb = 5;
    EXPECT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "Bin5", REG_BINARY, big, cb), 87);
    EXPECT_EQ(big, RegValue("5"));
    RegEntry e;
    EXPECT_EQ(store->queryValue(kKey, "Bin5", e), 2);
    // A stored binary longer than 4 bytes does not fit the read.
    store->setValue(kKey, "Bin8", RegEntry{REG_BINARY, QByteArray(8, '\1')});
    RegValue r8("keep");
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "Bin8", r8), 234);
    EXPECT_EQ(r8, RegValue("keep"));
}

TEST_F(RegistryTest, UnhandledTypesWriteNothingAndReadNothing) {
    RegValue v("data");
    int32_t cb = 3;
    EXPECT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "Multi", 7, v, cb), 0);
    EXPECT_EQ(v, RegValue("data"));
    EXPECT_EQ(cb, 3);
    RegEntry e;
    EXPECT_EQ(store->queryValue(kKey, "Multi", e), 2);

    store->setValue(kKey, "Multi", RegEntry{7, QByteArray("a\0b\0\0", 5)});
    RegValue r("keep");
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "Multi", r), 0);
    EXPECT_EQ(r, RegValue("keep"));
}

TEST_F(RegistryTest, DoubleByteFolderStoresEveryGbkByteAndTheNul) {
    const QString folder = QString::fromUtf8("/home/张三/考试模块") + QString(72, u'*');
    RegValue v(folder);
    int32_t cb = 0;
    ASSERT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "ProPath03", REG_SZ, v, cb), 0);
    const QByteArray expected = toGbk(folder) + QByteArray(1, '\0');
    // 6 double-byte characters, 7 single-byte ones, 72 asterisks, NUL.
    EXPECT_EQ(expected.size(), 6 * 2 + 7 + 72 + 1);
    EXPECT_EQ(cb, expected.size());
    RegEntry e;
    ASSERT_EQ(store->queryValue(kKey, "ProPath03", e), 0);
    EXPECT_EQ(e, (RegEntry{REG_SZ, expected}));
    RegValue r;
    ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "ProPath03", r), 0);
    EXPECT_EQ(r, RegValue(folder));
}

TEST_F(RegistryTest, FailedWriteLeavesValueAndCbData) {
    store->failStatus = RegIoFailed;
    for (int32_t type : {REG_SZ, REG_DWORD, REG_BINARY}) {
        RegValue v("12");
        int32_t cb = 1;
        EXPECT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "X", type, v, cb), RegIoFailed);
        EXPECT_EQ(v, RegValue("12"));
        EXPECT_EQ(cb, 1);
    }
}

TEST(RegistryFileTest, ModulesSharingTheFileSeeEachOther) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("cfg/examsim/registry.ini");  // folders made on write
    auto moduleA = std::make_shared<FileRegistryStore>(path);
    auto moduleB = std::make_shared<FileRegistryStore>(path);

    setRegistryStore(moduleA);
    const QString odd = QString::fromUtf8("名=[x] %; y");
    RegValue a(QString::fromUtf8("/opt/考试") + QString(72, u'*'));
    RegValue n(42);
    int32_t cb = 0;
    ASSERT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "ProPath07", REG_SZ, a, cb), 0);
    ASSERT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, odd, REG_DWORD, n, cb), 0);

    setRegistryStore(moduleB);
    RegValue r;
    ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "ProPath07", r), 0);
    EXPECT_EQ(r, a);
    ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, odd, r), 0);
    EXPECT_EQ(r, RegValue(42));
    RegValue b("/opt/other***");
    ASSERT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "ProPath08", REG_SZ, b, cb), 0);

    // Module A sees B's value and still its own.
    setRegistryStore(moduleA);
    ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "ProPath08", r), 0);
    EXPECT_EQ(r, b);
    ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "ProPath07", r), 0);
    EXPECT_EQ(r, a);
    setRegistryStore(nullptr);
}

TEST(RegistryFileTest, LockHeldElsewhereIsWaitedForOnceThenTriedWithoutWaiting) {
    QTemporaryDir dir;
    const QString path = dir.filePath("registry.ini");
    auto store = std::make_shared<FileRegistryStore>(path);
    setRegistryStore(store);
    QLockFile other(path + ".lock");
    ASSERT_TRUE(other.tryLock(0));
    RegValue a("a"), b("b");
    int32_t cb = 0;
    EXPECT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "ProPath01", REG_SZ, a, cb), RegIoFailed);
    EXPECT_TRUE(store->lockBusy());
    EXPECT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "ProName01", REG_SZ, b, cb), RegIoFailed);
    EXPECT_EQ(cb, 0);
    // Free again: the next write takes the lock.
    other.unlock();
    EXPECT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "ProName01", REG_SZ, b, cb), RegOk);
    EXPECT_FALSE(store->lockBusy());
    RegValue r;
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "ProName01", r), RegOk);
    EXPECT_EQ(r, b);
    setRegistryStore(nullptr);
}

TEST(RegistryFileTest, DamagedFileIsReadAsFarAsItGoes) {
    QTemporaryDir dir;
    const QString path = dir.filePath("registry.ini");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("garbage\n=1:zz\n[Software\\Microsoft]\nno equals\nA=x:00\nB=4:0c000000\n[broken\n");
    f.close();
    FileRegistryStore store(path);
    RegEntry e;
    EXPECT_EQ(store.queryValue(kKey, "A", e), 2);
    ASSERT_EQ(store.queryValue(kKey, "B", e), 0);
    EXPECT_EQ(e, (RegEntry{REG_DWORD, QByteArray("\x0c\0\0\0", 4)}));
    EXPECT_EQ(store.openKey("Software"), 0);
    EXPECT_EQ(store.openKey("Soft"), 2);
}

TEST(RegistryFileTest, DefaultStoreFollowsTheEnvironment) {
    QTemporaryDir dir;
    const QString path = dir.filePath("reg.ini");
    const QByteArray old = qgetenv("EXAMSIM_REGISTRY");
    qputenv("EXAMSIM_REGISTRY", path.toLocal8Bit());
    setRegistryStore(nullptr);
    RegValue v("x");
    int32_t cb = 0;
    EXPECT_EQ(WriteRegValue(HKEY_CURRENT_USER, kKey, "ProName07", REG_SZ, v, cb), 0);
    EXPECT_TRUE(QFile::exists(path));
    setRegistryStore(nullptr);
    if (old.isNull()) qunsetenv("EXAMSIM_REGISTRY");
    else qputenv("EXAMSIM_REGISTRY", old);
}

} // namespace
