#pragma once
// Timers of the forms and the clock that drives them: the real clock runs on
// Qt's event loop, the test clock fires due ticks when a test advances time.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace core {

class Form;

class Timer {
public:
    Timer(Form* form, QString name);
    ~Timer();
    const QString& name() const { return name_; }
    Form* form() const { return form_; }

    int interval() const { return interval_; }
    // Changing the interval of a running timer restarts its count.
    void setInterval(int ms);
    bool enabled() const { return enabled_; }
    // Enabling a running timer does not restart it.
    void setEnabled(bool on);

    std::function<void(Timer&)> onTimer;

    // Called by the clock when the timer is due. A tick does not re-enter a
    // tick of the same timer that is still running (nested loop).
    void fire();
    bool running() const { return enabled_ && interval_ > 0 && active_; }
    // Stops for good (the form unloads).
    void deactivate();

    // Clock bookkeeping.
    int64_t due = 0;
    uint64_t seq = 0;

private:
    void rearm();
    Form* form_;
    QString name_;
    int interval_ = 0;
    bool enabled_ = false;
    bool active_ = true;
    bool inTick_ = false;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t nowMs() const = 0;
    // Starts counting the timer's interval from now.
    virtual void arm(Timer& t) = 0;
    virtual void disarm(Timer& t) = 0;
};

// The clock timers use; defaults to the real clock.
Clock& clock();
void setClock(Clock* c);  // nullptr restores the real clock

// A clock that moves only when told to.
class TestClock : public Clock {
public:
    int64_t nowMs() const override { return now_; }
    void arm(Timer& t) override;
    void disarm(Timer& t) override;
    // Advances time by ms, firing every due tick in time order.
    void advance(int64_t ms);
    bool isArmed(const Timer& t) const;

private:
    int64_t now_ = 0;
    uint64_t seq_ = 0;
    std::vector<Timer*> armed_;
};

// Milliseconds since some fixed start, from the current clock.
int64_t tickCount();

} // namespace core
