#include "core/windows.h"

namespace core {

Windows& windows() {
    static Windows w;
    return w;
}

} // namespace core
