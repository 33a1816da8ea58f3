#include "core/clock.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <map>

#include "core/forms.h"

namespace core {

// ---------------------------------------------------------------- Timer

Timer::Timer(Form* form, QString name) : form_(form), name_(std::move(name)) {}

Timer::~Timer() { clock().disarm(*this); }

void Timer::rearm() {
    if (running())
        clock().arm(*this);
    else
        clock().disarm(*this);
}

void Timer::setInterval(int ms) {
    if (ms < 0) throw RuntimeError(380, "invalid property value");
    interval_ = ms;
    rearm();
}

void Timer::setEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    rearm();
}

void Timer::deactivate() {
    active_ = false;
    clock().disarm(*this);
}

void Timer::fire() {
    if (!running() || inTick_) return;
    if (!onTimer) return;
    // Keeps this timer's form alive until the tick is over, even when the
    // tick unloads it.
    HandlerScope scope(form_);
    inTick_ = true;
    struct Reset {
        bool& b;
        ~Reset() { b = false; }
    } reset{inTick_};
    if (form_)
        form_->dispatch("Timer", [&] { onTimer(*this); });
    else
        onTimer(*this);
}

// ---------------------------------------------------------------- real clock

namespace {

class RealClock : public Clock {
public:
    RealClock() { elapsed_.start(); }
    int64_t nowMs() const override { return elapsed_.elapsed(); }
    void arm(Timer& t) override {
        QTimer*& qt = timers_[&t];
        if (!qt) {
            qt = new QTimer();
            Timer* tp = &t;
            QObject::connect(qt, &QTimer::timeout, [tp] { tp->fire(); });
        }
        // A coarse timer may fire up to 5 % early: the splash's 100 ms would
        // be 95. Short intervals keep to the millisecond, as Qt's own
        // single-shot timers do.
        qt->setTimerType(t.interval() < 2000 ? Qt::PreciseTimer : Qt::CoarseTimer);
        qt->start(t.interval());
    }
    void disarm(Timer& t) override {
        auto it = timers_.find(&t);
        if (it == timers_.end()) return;
        it->second->stop();
        it->second->deleteLater();
        timers_.erase(it);
    }

private:
    QElapsedTimer elapsed_;
    std::map<Timer*, QTimer*> timers_;
};

RealClock* realClock() {
    static RealClock* c = new RealClock();
    return c;
}

Clock* g_clock = nullptr;

} // namespace

Clock& clock() { return g_clock ? *g_clock : *realClock(); }
void setClock(Clock* c) { g_clock = c; }
int64_t tickCount() { return clock().nowMs(); }

// ---------------------------------------------------------------- test clock

void TestClock::arm(Timer& t) {
    disarm(t);
    t.due = now_ + t.interval();
    t.seq = ++seq_;
    armed_.push_back(&t);
}

void TestClock::disarm(Timer& t) { armed_.erase(std::remove(armed_.begin(), armed_.end(), &t), armed_.end()); }

bool TestClock::isArmed(const Timer& t) const {
    return std::find(armed_.begin(), armed_.end(), &t) != armed_.end();
}

void TestClock::advance(int64_t ms) {
    const int64_t target = now_ + ms;
    for (;;) {
        Timer* next = nullptr;
        for (Timer* t : armed_)
            if (t->due <= target && (!next || t->due < next->due || (t->due == next->due && t->seq < next->seq)))
                next = t;
        if (!next) break;
        now_ = std::max(now_, next->due);
        next->due += std::max(1, next->interval());
        next->seq = ++seq_;
        next->fire();
        collectUnloadedForms();
    }
    now_ = target;
}

} // namespace core
