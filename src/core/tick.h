#pragma once
// Cooperative timing for a job loop on the user-interface thread: elapsed
// milliseconds, a TickOk event every given interval, a busy period, and a
// pause/stop pair that the owner's handlers set while the job waits without
// freezing the window's message processing.
#include <cstdint>
#include <functional>

namespace core {

class P_Cls_Tick {
public:
    // Where time and messages come from. The defaults use a monotonic
    // 64-bit millisecond clock and Qt's event loop.
    struct Services {
        // Milliseconds since some fixed start; never goes back.
        std::function<int64_t()> now;
        // Waits at most ms for input and processes what arrived.
        std::function<void(int ms)> waitForInput;
        // Processes pending window messages.
        std::function<void()> doEvents;
    };
    static Services systemServices();

    explicit P_Cls_Tick(Services services = systemServices());

    // Milliseconds since the object was created or the busy period began,
    // held at the largest 32-bit value after about 24.8 days.
    int32_t CrossedTick() const;
    int32_t CrossedTicks() const { return CrossedTick(); }
    // Begins a busy period; false (and nothing changes) while one runs.
    bool InitTick(bool bResetPauseAndStop);
    void OverTick();
    // Returns once the job is not paused, or is stopped.
    void WaitPauseOrStop(int32_t lWaitTime);
    // True when lTicks ms have passed since the last TickOk: raises TickOk,
    // waits out a pause when asked, processes pending messages.
    bool DoTickEvents(int32_t lTicks, bool bWaitPauseOrStopForOver, int32_t lWaitPauseOrStopWaitTime);

    bool oPause() const { return oPause_; }
    void setOPause(bool vNewValue);
    bool oStop() const { return oStop_; }
    void setOStop(bool vNewValue);
    bool isBusy() const { return isBusy_; }

    std::function<void()> TickOk;
    std::function<void(bool)> Busy;
    std::function<void(bool)> HavePause;
    std::function<void(bool)> HaveStop;

private:
    // Waits n ms in slices of at most 10 ms, processing input meanwhile.
    bool PumpWait(int32_t n);

    Services services_;
    int64_t StartTick = 0;
    int64_t LastTick = 0;
    bool oPause_ = false;
    bool oStop_ = false;
    bool isBusy_ = false;
};

} // namespace core
