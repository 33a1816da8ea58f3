#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <limits>

#include "core/tick.h"

using core::P_Cls_Tick;

namespace {

// A clock that moves only when the helper waits or a test says so, and a
// message pump whose "messages" are scripted handlers.
struct FakeTime {
    int64_t now = 1000;
    QStringList log;
    std::vector<int> slices;
    int doEvents = 0;
    // Runs at each wait slice (a handler reacting to input).
    std::function<void()> onInput;

    P_Cls_Tick::Services services() {
        P_Cls_Tick::Services s;
        s.now = [this] { return now; };
        s.waitForInput = [this](int ms) {
            slices.push_back(ms);
            now += ms;
            if (onInput) onInput();
        };
        s.doEvents = [this] { ++doEvents; };
        return s;
    }
};

void record(P_Cls_Tick& t, QStringList& log) {
    t.TickOk = [&log] { log << "TickOk"; };
    t.Busy = [&log](bool b) { log << QString("Busy(%1)").arg(b); };
    t.HavePause = [&log](bool b) { log << QString("HavePause(%1)").arg(b); };
    t.HaveStop = [&log](bool b) { log << QString("HaveStop(%1)").arg(b); };
}

} // namespace

TEST(TickHelper, IntervalsRaiseTickOkOnceTheyHavePassed) {
    FakeTime ft;
    P_Cls_Tick t(ft.services());
    record(t, ft.log);
    struct Case { int64_t advance; int32_t ticks; bool fires; int32_t crossed; };
    const Case cases[] = {
        {30, 100, false, 30},   // 30 ms after creation
        {69, 100, false, 99},
        {1, 100, true, 100},    // exactly the interval
        {0, 100, false, 100},   // counted again from the last TickOk
        {250, 100, true, 350},  // late: still one TickOk
        {0, 0, true, 350},      // a zero interval always fires
    };
    int fired = 0;
    for (const Case& c : cases) {
        ft.now += c.advance;
        const bool r = t.DoTickEvents(c.ticks, false, 0);
        EXPECT_EQ(r, c.fires) << "at " << c.crossed;
        EXPECT_EQ(t.CrossedTick(), c.crossed);
        EXPECT_EQ(t.CrossedTicks(), c.crossed);
        if (r) ++fired;
        EXPECT_EQ(ft.log.count("TickOk"), fired);
    }
    // Each TickOk processes pending messages once.
    EXPECT_EQ(ft.doEvents, fired);
}

TEST(TickHelper, BusyPeriodsAndTheirEvents) {
    FakeTime ft;
    P_Cls_Tick t(ft.services());
    record(t, ft.log);
    t.setOPause(true);
    t.setOStop(true);
    EXPECT_EQ(ft.log, QStringList({"HavePause(1)", "HaveStop(1)"}));
    ft.log.clear();

    ft.now += 500;
    EXPECT_TRUE(t.InitTick(true));
    // The pause is cleared with its event, the stop silently; then Busy.
    EXPECT_EQ(ft.log, QStringList({"HavePause(0)", "Busy(1)"}));
    EXPECT_FALSE(t.oPause());
    EXPECT_FALSE(t.oStop());
    EXPECT_TRUE(t.isBusy());
    EXPECT_EQ(t.CrossedTick(), 0);  // counted from the start of the period

    ft.log.clear();
    ft.now += 40;
    EXPECT_FALSE(t.InitTick(true));  // refused while busy, nothing changes
    EXPECT_TRUE(ft.log.isEmpty());
    EXPECT_EQ(t.CrossedTick(), 40);

    t.OverTick();
    EXPECT_FALSE(t.isBusy());
    EXPECT_EQ(ft.log, QStringList({"Busy(0)"}));

    // Without the reset the flags stay as they are.
    t.setOPause(true);
    ft.log.clear();
    EXPECT_TRUE(t.InitTick(false));
    EXPECT_TRUE(t.oPause());
    EXPECT_EQ(ft.log, QStringList({"Busy(1)"}));
}

TEST(TickHelper, APausedJobWaitsUntilAHandlerStopsOrResumesIt) {
    struct Case { const char* name; bool stop; };
    for (const Case c : {Case{"stop", true}, Case{"resume", false}}) {
        SCOPED_TRACE(c.name);
        FakeTime ft;
        P_Cls_Tick t(ft.services());
        record(t, ft.log);
        t.setOPause(true);
        ft.log.clear();
        const int64_t start = ft.now;
        // A handler acts 120 ms into the wait.
        ft.onInput = [&] {
            if (ft.now - start >= 120 && t.oPause() && !t.oStop()) {
                if (c.stop) t.setOStop(true);
                else t.setOPause(false);
            }
        };
        EXPECT_TRUE(t.DoTickEvents(0, true, 50));
        EXPECT_EQ(ft.log.first(), "TickOk");
        // Input every 10 ms; the flags are looked at after each 50 ms wait.
        for (int s : ft.slices) EXPECT_EQ(s, 10);
        EXPECT_EQ(ft.now - start, 150);
        EXPECT_EQ(ft.doEvents, 1);
    }
}

TEST(TickHelper, ShortWaitsAndNoWaitAtAll) {
    FakeTime ft;
    P_Cls_Tick t(ft.services());
    // Not paused: no wait.
    EXPECT_TRUE(t.DoTickEvents(0, true, 50));
    EXPECT_TRUE(ft.slices.empty());

    // A wait shorter than a slice takes one slice of its own length.
    t.setOPause(true);
    ft.onInput = [&] { t.setOPause(false); };
    t.WaitPauseOrStop(7);
    EXPECT_EQ(ft.slices, std::vector<int>({7}));

    // A zero wait returns at once without sleeping; the messages it
    // processes may end the pause.
    ft.slices.clear();
    int rounds = 0;
    P_Cls_Tick* zp = nullptr;
    P_Cls_Tick::Services s = ft.services();
    s.doEvents = [&] {
        if (++rounds == 3) zp->setOStop(true);
    };
    P_Cls_Tick z(s);
    zp = &z;
    z.setOPause(true);
    z.WaitPauseOrStop(0);
    EXPECT_EQ(rounds, 3);
    EXPECT_TRUE(ft.slices.empty());
}

TEST(TickHelper, ElapsedTimeNeverWrapsAfterWeeksOfUptime) {
    FakeTime ft;
    // A tick count past the 32-bit range, as after 25 days of uptime.
    ft.now = int64_t(std::numeric_limits<int32_t>::max()) - 50;
    P_Cls_Tick t(ft.services());
    ft.now += 100;
    EXPECT_EQ(t.CrossedTick(), 100);
    EXPECT_TRUE(t.DoTickEvents(100, false, 0));
    ft.now += 40;
    EXPECT_FALSE(t.DoTickEvents(100, false, 0));
    // A job running longer than the 32-bit range reads the largest value.
    ft.now += int64_t(1) << 33;
    EXPECT_EQ(t.CrossedTick(), std::numeric_limits<int32_t>::max());
    EXPECT_TRUE(t.DoTickEvents(100, false, 0));
}

TEST(TickHelper, SystemServicesReturnAtOnceWhenStopped) {
    P_Cls_Tick t;
    EXPECT_GE(t.CrossedTick(), 0);
    t.setOPause(true);
    t.setOStop(true);
    t.WaitPauseOrStop(5);  // stopped: returns at once
    EXPECT_TRUE(t.DoTickEvents(0, true, 5));
}
