// Preloaded (LD_PRELOAD) into lock probes to stand for file systems the
// tests cannot mount. EXAMSIM_LOCK_SEAM picks the file system:
//
//   unset            no lock manager: flock and fcntl's record locks fail
//                    with ENOLCK; every other fcntl call is the real one
//   unlink-first     the file of the process's first flock leaves its path
//                    just before that lock is taken (its holder ending)
//   pause-takeover   no lock manager, and the process stops itself (SIGSTOP)
//                    where it takes over a file: before making a ".guard"
//                    file, and before and after moving a file aside to a
//                    ".stale" name; it says where on standard error first
//                    ("pause guard", "pause move", "pause moved")
#undef _FILE_OFFSET_BITS
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace {

bool mode(const char* name) {
    const char* m = std::getenv("EXAMSIM_LOCK_SEAM");
    return m && std::strcmp(m, name) == 0;
}

bool unlinkFirst() { return mode("unlink-first"); }

bool endsWith(const char* s, const char* tail) {
    const size_t n = std::strlen(s), t = std::strlen(tail);
    return n >= t && std::strcmp(s + n - t, tail) == 0;
}

// Stops here until continued, once the test can tell where.
void pause(const char* where) {
    if (!mode("pause-takeover")) return;
    const int saved = errno;
    const std::string line = std::string("pause ") + where + "\n";
    if (::write(2, line.data(), line.size()) < 0) {}
    ::raise(SIGSTOP);
    errno = saved;
}

bool recordLock(int cmd) {
    switch (cmd) {
    case F_GETLK:
    case F_SETLK:
    case F_SETLKW:
    case F_OFD_GETLK:
    case F_OFD_SETLK:
    case F_OFD_SETLKW: return true;
    default: return false;
    }
}

template <typename Fn>
Fn next(const char* name) {
    void* sym = ::dlsym(RTLD_NEXT, name);
    Fn fn;
    static_assert(sizeof fn == sizeof sym);
    std::memcpy(&fn, &sym, sizeof fn);
    return fn;
}

using Fcntl = int (*)(int, int, ...);

int fcntlVia(const char* name, int fd, int cmd, void* arg) {
    if (!unlinkFirst() && recordLock(cmd)) {
        errno = ENOLCK;
        return -1;
    }
    return next<Fcntl>(name)(fd, cmd, arg);
}

int openVia(const char* name, const char* path, int flags, mode_t mode) {
    if ((flags & O_CREAT) && (flags & O_EXCL) && endsWith(path, ".guard")) pause("guard");
    return next<int (*)(const char*, int, ...)>(name)(path, flags, mode);
}

} // namespace

extern "C" {

int flock(int fd, int operation) {
    if (!unlinkFirst()) {
        errno = ENOLCK;
        return -1;
    }
    static bool first = true;
    if (first) {
        first = false;
        char target[4096];
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
        if (n > 0) {
            target[n] = '\0';
            ::unlink(target);
        }
    }
    return next<int (*)(int, int)>("flock")(fd, operation);
}

// The argument, whatever its type, passes on as the C library reads it.
int fcntl(int fd, int cmd, ...) {
    va_list ap;
    va_start(ap, cmd);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    return fcntlVia("fcntl", fd, cmd, arg);
}

int fcntl64(int fd, int cmd, ...) {
    va_list ap;
    va_start(ap, cmd);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    return fcntlVia("fcntl64", fd, cmd, arg);
}

int open(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t m = flags & (O_CREAT | O_TMPFILE) ? va_arg(ap, mode_t) : 0;
    va_end(ap);
    return openVia("open", path, flags, m);
}

int open64(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t m = flags & (O_CREAT | O_TMPFILE) ? va_arg(ap, mode_t) : 0;
    va_end(ap);
    return openVia("open64", path, flags, m);
}

int rename(const char* from, const char* to) noexcept {
    const bool aside = endsWith(to, ".stale");
    if (aside) pause("move");
    const int r = next<int (*)(const char*, const char*)>("rename")(from, to);
    if (aside && r == 0) pause("moved");
    return r;
}

} // extern "C"
