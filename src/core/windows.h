#pragma once
// Calls between windows of different libraries. A window that another
// library calls registers its operations here when the program starts; the
// callers call them directly (synchronously, never queued).
#include <functional>

namespace core {

struct Windows {
    // The cover: shows it, loading it afresh when it is not loaded.
    std::function<void()> showCover;
    // Ends the program with an exit code (its own exit paths only).
    std::function<void(int)> exitProgram;
};

Windows& windows();

} // namespace core
