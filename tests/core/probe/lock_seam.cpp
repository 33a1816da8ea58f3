// Preloaded (LD_PRELOAD) into lock probes to stand for file systems the
// tests cannot mount. EXAMSIM_LOCK_SEAM picks the file system:
//
//   unset            no lock manager: flock and fcntl's record locks fail
//                    with ENOLCK; every other fcntl call is the real one
//   unlink-first     the file of the process's first flock leaves its path
//                    just before that lock is taken (its holder ending)
#undef _FILE_OFFSET_BITS
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace {

bool unlinkFirst() {
    const char* mode = std::getenv("EXAMSIM_LOCK_SEAM");
    return mode && std::strcmp(mode, "unlink-first") == 0;
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

} // extern "C"
