#include "core/text.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>
#include <limits>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace core {

// One converter per thread: opening one looks the codec up by name each
// time, which costs more than converting a line. The state is reset before
// each use, so every call converts as a new converter would.
QString fromGbk(const QByteArray& bytes) {
    thread_local QStringDecoder dec("GBK");
    dec.resetState();
    return dec(bytes);
}

QByteArray toGbk(const QString& text) {
    thread_local QStringEncoder enc("GBK");
    enc.resetState();
    return enc(text);
}

bool encodableInGbk(const QString& text) {
    QStringEncoder enc("GBK");
    QByteArray b = enc(text);
    return !enc.hasError();
}

QStringList splitLines(const QString& text) {
    QStringList out;
    const qsizetype n = text.size();
    const QChar* p = text.constData();
    qsizetype from = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = p[i];
        if (c != u'\r' && c != u'\n') continue;
        out << text.mid(from, i - from);
        if (c == u'\r' && i + 1 < n && p[i + 1] == u'\n') ++i;
        from = i + 1;
    }
    if (from < n) out << text.mid(from);
    return out;
}

std::optional<QStringList> readLines(const QString& path) {
    QFile f(normalizePath(path));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return splitLines(fromGbk(f.readAll()));
}

std::optional<QString> readFirstLine(const QString& path) {
    auto lines = readLines(path);
    if (!lines) return std::nullopt;
    return lines->isEmpty() ? QString() : lines->first();
}

namespace {

QByteArray linesBytes(const QStringList& lines) {
    QByteArray data;
    for (const QString& l : lines) {
        data += toGbk(l);
        data += "\r\n";
    }
    return data;
}

} // namespace

bool writeLines(const QString& path, const QStringList& lines) { return writeFileAtomic(path, linesBytes(lines)); }

bool writeLinesIfChanged(const QString& path, const QStringList& lines) {
    const QByteArray data = linesBytes(lines);
    QFile f(normalizePath(path));
    if (f.size() == data.size() && f.open(QIODevice::ReadOnly) && f.readAll() == data) return true;
    return writeFileAtomic(path, data);
}

namespace {

// Marks the temporary files of writeFileAtomic: ".NAME" + this + six random
// letters or digits.
constexpr char kPartialMark[] = ".examsim-partial-";

bool writeAll(int fd, const char* p, qsizetype n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, size_t(n));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        p += w;
        n -= w;
    }
    return true;
}

void syncFolder(const QByteArray& dir) {
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool isPartialWriteName(const QString& fileName) {
    static const QRegularExpression re(QStringLiteral("^\\..+%1[A-Za-z0-9]{6}$")
                                           .arg(QRegularExpression::escape(QLatin1String(kPartialMark))));
    return re.match(fileName).hasMatch();
}

bool writeFileAtomic(const QString& path, const QByteArray& data) {
    // A link is followed: the file it names is replaced, the link stays.
    QFileInfo target(normalizePath(path));
    for (int depth = 0; depth < 40 && target.isSymLink(); ++depth) target.setFile(target.symLinkTarget());
    if (target.isSymLink() || target.isDir()) return false;
    const bool exists = target.exists();
    const QByteArray finalName = QFile::encodeName(target.absoluteFilePath());
    struct stat old {};
    if (exists && (::stat(finalName.constData(), &old) != 0 || ::access(finalName.constData(), W_OK) != 0))
        return false;

    // The temporary file lies beside the target, so the rename replaces it
    // in one step; until then a reader sees the old file whole.
    const QString dir = target.absolutePath();
    static const char alnum[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray tmpName;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        QString suffix;
        for (int i = 0; i < 6; ++i) suffix += QLatin1Char(alnum[QRandomGenerator::global()->bounded(62)]);
        tmpName = QFile::encodeName(dir + QStringLiteral("/.") + target.fileName() + QLatin1String(kPartialMark) + suffix);
        // Kept private until it has the old file's permissions.
        fd = ::open(tmpName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = (!exists || ::fchmod(fd, old.st_mode & 07777) == 0) && writeAll(fd, data.constData(), data.size()) &&
              ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(tmpName.constData(), finalName.constData()) != 0) {
        ::unlink(tmpName.constData());
        return false;
    }
    // The rename lives in the folder: sync it too, so the new file survives
    // a power loss.
    syncFolder(QFile::encodeName(dir));
    return true;
}

namespace {

// Removes the regular files of the folder that are leftovers of
// writeFileAtomic, of `of` alone when it is given.
void removeLeftovers(const QString& folder, const QString& of) {
    const QDir dir(folder);
    const QString ownPrefix = QStringLiteral(".") + of + QLatin1String(kPartialMark);
    const QStringList names = dir.entryList({QStringLiteral(".*") + QLatin1String(kPartialMark) + u'*'},
                                            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        if (!isPartialWriteName(name)) continue;
        if (!of.isEmpty() && (!name.startsWith(ownPrefix) || name.size() != ownPrefix.size() + 6)) continue;
        // A link or a folder of that name is not one of ours.
        const QByteArray p = QFile::encodeName(dir.filePath(name));
        struct stat st {};
        if (::lstat(p.constData(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(p.constData());
    }
}

} // namespace

void removePartialWrites(const QString& folder) { removeLeftovers(folder, QString()); }

void removePartialWritesOf(const QString& folder, const QString& fileName) {
    if (!fileName.isEmpty()) removeLeftovers(folder, fileName);
}

double leadingNumber(const QString& text) {
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool neg = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        neg = text[i] == u'-';
        ++i;
    }
    double v = 0;
    bool any = false;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        v = v * 10 + (text[i].unicode() - u'0');
        any = true;
        ++i;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        double scale = 0.1;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            v += (text[i].unicode() - u'0') * scale;
            scale /= 10;
            any = true;
            ++i;
        }
    }
    if (!any) return 0;
    return neg ? -v : v;
}

long roundHalfEven(double v) {
    if (!std::isfinite(v)) return 0;
    return std::lrint(v);  // default rounding mode: to nearest, ties to even
}

namespace {

// The leading number rounded half to even, 0 when it does not fit T.
template <class T>
T leadingInteger(const QString& text) {
    const double v = leadingNumber(text);
    constexpr double lo = double(std::numeric_limits<T>::min()) - 0.5, hi = double(std::numeric_limits<T>::max()) + 0.5;
    if (!(v > lo && v < hi)) return 0;
    const long r = roundHalfEven(v);
    if (r < std::numeric_limits<T>::min() || r > std::numeric_limits<T>::max()) return 0;
    return static_cast<T>(r);
}

} // namespace

int16_t val16(const QString& text) { return leadingInteger<int16_t>(text); }

int32_t val32(const QString& text) { return leadingInteger<int32_t>(text); }

QString trimSpaces(const QString& s) { return rtrimSpaces(ltrimSpaces(s)); }

QString ltrimSpaces(const QString& s) {
    int i = 0;
    while (i < s.size() && s[i] == u' ') ++i;
    return s.mid(i);
}

QString rtrimSpaces(const QString& s) {
    int n = s.size();
    while (n > 0 && s[n - 1] == u' ') --n;
    return s.left(n);
}

QString mid(const QString& s, int start, int len) {
    if (start < 1 || len <= 0 || start > s.size()) return QString();
    return s.mid(start - 1, len);
}

QString mid(const QString& s, int start) {
    if (start < 1 || start > s.size()) return QString();
    return s.mid(start - 1);
}

QString left(const QString& s, int len) { return len <= 0 ? QString() : s.left(len); }
QString right(const QString& s, int len) { return len <= 0 ? QString() : s.right(len); }

QString padDigits(long n, int width) {
    QString t = QString(width, u'0') + QString::number(n);
    return t.right(width);
}

QString shownText(const QString& text) { return text.size() > MaxShownText ? text.left(MaxShownText) : text; }

QString normalizePath(const QString& p) {
    QString s = p;
    s.replace(u'\\', u'/');
    QString out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == u'/' && !out.isEmpty() && out.back() == u'/') continue;
        out += s[i];
    }
    return out;
}

QString joinPath(const QString& a, const QString& b) {
    if (a.isEmpty()) return normalizePath(b);
    if (b.isEmpty()) return normalizePath(a);
    return normalizePath(a + u'/' + b);
}

QString joinPath(std::initializer_list<QString> parts) {
    QString out;
    for (const QString& p : parts) out = out.isEmpty() ? normalizePath(p) : joinPath(out, p);
    return out;
}

} // namespace core
