#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/text.h"

using namespace core;

TEST(Text, LeadingNumberAndRounding) {
    struct Case { const char* text; int16_t v; } cases[] = {
        {"12ab", 12}, {"ab", 0}, {"", 0}, {" 7", 7}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2},
        {"32767", 32767}, {"32768", 0}, {"-32768", -32768}, {"0012", 12}, {"1 2", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(val16(QString::fromUtf8(c.text)), c.v) << c.text;
    // The edges of each width: half a unit past the range reads 0.
    struct Wide { const char* text; int16_t v16; int32_t v32; } edges[] = {
        {"32767.4", 32767, 32767}, {"32767.5", 0, 32768}, {"-32768.5", 0, -32768}, {"-32768.6", 0, -32769},
        {"2147483647", 0, 2147483647}, {"2147483647.5", 0, 0}, {"-2147483648", 0, -2147483647 - 1},
        {"-2147483648.5", 0, 0}, {"1e3", 1, 1},
    };
    for (const auto& c : edges) {
        EXPECT_EQ(val16(QString::fromUtf8(c.text)), c.v16) << c.text;
        EXPECT_EQ(val32(QString::fromUtf8(c.text)), c.v32) << c.text;
    }
}

TEST(Text, SplitLinesHandlesAllBreaks) {
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (QStringList{"a", "", "b"}));
    EXPECT_TRUE(splitLines("").isEmpty());
}

TEST(Text, TrimRemovesSpacesOnly) {
    EXPECT_EQ(trimSpaces("  a b \t "), "a b \t");
    EXPECT_EQ(trimSpaces("\ta "), "\ta");
}

TEST(Text, MidLeftRightPad) {
    EXPECT_EQ(mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(mid("abc", 3, 5), "c");
    EXPECT_EQ(mid("abc", 4, 1), "");
    EXPECT_EQ(padDigits(7, 2), "07");
    EXPECT_EQ(padDigits(123, 2), "23");
    EXPECT_EQ(padDigits(105, 4), "0105");
}

TEST(Text, JoinPath) {
    EXPECT_EQ(joinPath("/a/b/", "c"), "/a/b/c");
    EXPECT_EQ(joinPath("/a\\\\b", "\\c.rar"), "/a/b/c.rar");
    EXPECT_EQ(normalizePath("/p//data\\\\"), "/p/data/");
}

TEST(Text, GbkRoundTripWithCrlf) {
    QTemporaryDir dir;
    QString p = dir.filePath("x.rar");
    QStringList lines{QString::fromUtf8("字处理"), "abc", ""};
    ASSERT_TRUE(writeLines(p, lines));
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray raw = f.readAll();
    EXPECT_EQ(raw, QByteArray::fromHex("d7d6b4a6c0ed") + "\r\nabc\r\n\r\n");
    EXPECT_EQ(*readLines(p), lines);
    EXPECT_FALSE(readLines(dir.filePath("missing")).has_value());
}

// The converters are reused: a text cut inside a character must not carry
// its first half into the next conversion.
TEST(Text, EachGbkConversionStartsAfresh) {
    const QString alone = fromGbk("\xa1x");
    EXPECT_FALSE(alone.contains(QChar(0x554A)));  // the character of B0 A1
    (void)fromGbk("ab\xb0");
    EXPECT_EQ(fromGbk("\xa1x"), alone);
}

TEST(Text, FailedWriteKeepsOldFile) {
    QTemporaryDir dir;
    QString p = dir.filePath("keep.rar");
    ASSERT_TRUE(writeLines(p, {"old"}));
    // A disk that fills up during the write: a file-size limit makes the
    // write fail part-way (root is bound by it too).
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto prevHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool ok = writeLines(p, {QString(200, u'x')});
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, prevHandler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(*readLines(p), QStringList{"old"});
    // The failed write takes its temporary file away.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList{"keep.rar"});
    // A folder that does not exist: nothing is written, false is returned.
    EXPECT_FALSE(writeLines(dir.filePath("missing/x.rar"), {"a"}));
}

TEST(Text, AWriteKilledPartWayLeavesATemporaryFileThatIsRemovedAndTheOldFileWhole) {
    QTemporaryDir dir;
    const QString p = dir.filePath("288862.rar");
    ASSERT_TRUE(writeLines(p, {"old"}));
    const auto entries = [&] {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    };
    // A child process rewrites the record and is killed part-way: past the
    // file-size limit the kernel ends it with SIGXFSZ.
    const QByteArray content(64 * 1024, 'x');
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const struct rlimit noCore {0, 0}, small {4096, 4096};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_DFL);
        writeFileAtomic(p, content);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the write was not killed: " << status;

    QStringList left = entries();
    ASSERT_TRUE(left.removeOne("288862.rar"));
    ASSERT_EQ(left.size(), 1) << left.join(' ').toStdString();
    EXPECT_TRUE(isPartialWriteName(left[0])) << left[0].toStdString();
    EXPECT_EQ(QFileInfo(dir.filePath(left[0])).size(), 4096);
    EXPECT_EQ(*readLines(p), QStringList{"old"});

    removePartialWrites(dir.path());
    EXPECT_EQ(entries(), QStringList{"288862.rar"});
    EXPECT_EQ(*readLines(p), QStringList{"old"});
}

TEST(Text, ARewriteKeepsTheFilesPermissions) {
    QTemporaryDir dir;
    const auto modeOf = [](const QString& path) {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : mode_t(0);
    };
    const QString p = dir.filePath("288893.rar"), link = dir.filePath("linked.rar");
    ASSERT_TRUE(writeLines(p, {"old"}));
    ASSERT_TRUE(QFile::link(p, link));
    struct Case { const char* name; mode_t mode; bool throughLink; } cases[] = {
        {"shared", 0644, false},
        {"private", 0600, false},
        {"group", 0640, false},
        {"group writes", 0660, false},
        {"executable", 0755, false},
        {"through a link", 0640, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(::chmod(QFile::encodeName(p).constData(), c.mode), 0);
        ASSERT_TRUE(writeLines(c.throughLink ? link : p, {c.name}));
        EXPECT_EQ(*readLines(p), QStringList{c.name});
        EXPECT_EQ(modeOf(p), c.mode);
    }
    // A new file is made as the user's mask says.
    const mode_t oldMask = ::umask(027);
    const bool made = writeLines(dir.filePath("new.rar"), {"new"});
    ::umask(oldMask);
    ASSERT_TRUE(made);
    EXPECT_EQ(modeOf(dir.filePath("new.rar")), mode_t(0640));
}

TEST(Text, WriteIfChangedLeavesAFileWithTheSameLinesUntouched) {
    QTemporaryDir dir;
    const QString p = dir.filePath("288893.rar");
    auto inode = [&] {
        struct stat st {};
        return ::stat(QFile::encodeName(p).constData(), &st) == 0 ? st.st_ino : ino_t(0);
    };
    const QStringList stored{QString::fromUtf8("TTF中"), "", "FF"};
    struct Case {
        const char* name;
        QStringList lines;
        bool written;
    } cases[] = {
        {"the same lines", stored, false},
        {"one character other (the same size)", {QString::fromUtf8("TTF中"), "", "FT"}, true},
        {"a line more", stored + QStringList{""}, true},
        {"a line less", stored.mid(0, 2), true},
        {"the same characters in other lines", {QString::fromUtf8("TTF中"), "FF"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeLines(p, stored));
        const ino_t before = inode();
        EXPECT_TRUE(writeLinesIfChanged(p, c.lines));
        EXPECT_EQ(*readLines(p), c.lines);
        EXPECT_EQ(inode() != before, c.written);
    }
    // A missing file is written; a missing folder fails as writeLines does.
    QFile::remove(p);
    EXPECT_TRUE(writeLinesIfChanged(p, stored));
    EXPECT_EQ(*readLines(p), stored);
    EXPECT_FALSE(writeLinesIfChanged(dir.filePath("missing/x.rar"), {"a"}));
}
