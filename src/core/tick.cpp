#include "core/tick.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <limits>

namespace core {

P_Cls_Tick::Services P_Cls_Tick::systemServices() {
    Services s;
    s.now = [] {
        using namespace std::chrono;
        return static_cast<int64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
    s.waitForInput = [](int ms) {
        if (!QCoreApplication::instance()) return;
        // A nested loop that a single-shot timer ends: input that arrives
        // meanwhile is handled at once.
        QEventLoop loop;
        QTimer::singleShot(std::max(ms, 0), &loop, &QEventLoop::quit);
        loop.exec();
    };
    s.doEvents = [] {
        if (QCoreApplication::instance()) QCoreApplication::processEvents();
    };
    return s;
}

P_Cls_Tick::P_Cls_Tick(Services services) : services_(std::move(services)) {
    StartTick = LastTick = services_.now();
}

int32_t P_Cls_Tick::CrossedTick() const {
    const int64_t d = services_.now() - StartTick;
    return static_cast<int32_t>(std::clamp<int64_t>(d, 0, std::numeric_limits<int32_t>::max()));
}

bool P_Cls_Tick::InitTick(bool bResetPauseAndStop) {
    if (isBusy_) return false;
    StartTick = LastTick = services_.now();
    isBusy_ = true;
    if (bResetPauseAndStop) {
        oPause_ = false;
        if (HavePause) HavePause(false);
        oStop_ = false;
    }
    if (Busy) Busy(true);
    return true;
}

void P_Cls_Tick::OverTick() {
    isBusy_ = false;
    if (Busy) Busy(false);
}

void P_Cls_Tick::WaitPauseOrStop(int32_t lWaitTime) {
    while (oPause_ && !oStop_) PumpWait(lWaitTime);
}

bool P_Cls_Tick::DoTickEvents(int32_t lTicks, bool bWaitPauseOrStopForOver, int32_t lWaitPauseOrStopWaitTime) {
    if (services_.now() - LastTick < lTicks) return false;
    LastTick = services_.now();
    if (TickOk) TickOk();
    if (bWaitPauseOrStopForOver) WaitPauseOrStop(lWaitPauseOrStopWaitTime);
    if (services_.doEvents) services_.doEvents();
    return true;
}

void P_Cls_Tick::setOPause(bool vNewValue) {
    oPause_ = vNewValue;
    if (HavePause) HavePause(vNewValue);
}

void P_Cls_Tick::setOStop(bool vNewValue) {
    oStop_ = vNewValue;
    if (HaveStop) HaveStop(vNewValue);
}

bool P_Cls_Tick::PumpWait(int32_t n) {
    if (n <= 0) {
        // Nothing to wait for; still let a handler run so a pause can end.
        if (services_.doEvents) services_.doEvents();
        return true;
    }
    const int64_t t0 = services_.now();
    const int slice = std::min<int32_t>(n, 10);
    do {
        if (services_.waitForInput) services_.waitForInput(slice);
    } while (services_.now() - t0 < n);
    return true;
}

} // namespace core
