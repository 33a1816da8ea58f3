// Decoding ahead on the sample module: the cover's pictures while the splash
// is up, the next step's while a step is shown. It changes nothing the
// candidate sees, nor when.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "core/forms.h"
#include "core/pictures.h"
#include "core/windows.h"
#include "cover/frm_fengmian.h"
#include "e2e/module_fixture.h"
#include "engine/frm_main.h"
#include "session/frm_start.h"
#include "view/view_host.h"

namespace {

class DecodeAheadE2E : public e2e::ModuleFixture {
protected:
    struct Run {
        size_t decodedBeforeCover = 0;
        size_t decodedByCover = 0;
        QImage cover;
    };

    // The start as main() runs it, up to the cover 100 ms later; idle time
    // (when decoding ahead happens) comes once, while the splash is up.
    Run start(bool decodeAhead) {
        Run run;
        if (!decodeAhead) core::windows().prefetchCoverPictures = nullptr;
        testsupport::Driver& d = driver();
        session::FrmStart& s = session::frmStart()();
        EXPECT_FALSE(s.refused);
        s.show();
        EXPECT_TRUE(s.visible());
        EXPECT_EQ(core::pictureStore().pendingPrefetch() > 0, decodeAhead);

        // Idle time (one decode a turn) changes nothing a window shows.
        const uint64_t model = core::modelRevision();
        for (int i = 0; i < 100 && core::pictureStore().pendingPrefetch() > 0; ++i) QCoreApplication::processEvents();
        EXPECT_EQ(core::pictureStore().pendingPrefetch(), 0);
        EXPECT_EQ(core::modelRevision(), model) << "decoding ahead changed a window";
        run.decodedBeforeCover = core::pictureStore().cachedCount();

        d.advance(99);
        EXPECT_TRUE(session::frmStart().loaded() && session::frmStart()().visible());
        EXPECT_FALSE(cover::frmFengmian().loaded()) << "the cover came before the splash's 100 ms";
        d.advance(1);
        EXPECT_FALSE(session::frmStart().loaded());
        EXPECT_TRUE(cover::frmFengmian().loaded() && cover::frmFengmian()().visible());
        run.decodedByCover = core::pictureStore().cachedCount() - run.decodedBeforeCover;
        if (cover::frmFengmian().loaded()) run.cover = view::renderForm(cover::frmFengmian()());
        return run;
    }
};

TEST_F(DecodeAheadE2E, TheCoverIsDecodedWhileTheSplashIsUpAndShowsAsWithout) {
    const Run ahead = start(true);
    if (HasFailure()) return;
    // Every picture the cover shows at its load was decoded ahead.
    EXPECT_GT(ahead.decodedBeforeCover, 1u);
    EXPECT_EQ(ahead.decodedByCover, 0u);

    // The same start without decoding ahead shows the same cover.
    core::unloadAllForms();
    core::pictureStore().clear();
    const Run plain = start(false);
    EXPECT_GT(plain.decodedByCover, 0u);
    ASSERT_FALSE(ahead.cover.isNull());
    EXPECT_EQ(ahead.cover, plain.cover) << "decoding ahead changed the cover";
}

// Every scene of the first question of each unit: the set-up queues the
// next step's pictures, and idle time decodes them without touching a
// window; the scene renders as it did.
TEST_F(DecodeAheadE2E, TheNextStepIsDecodedWhileAStepIsShownAndChangesNoScene) {
    nothingSolved();
    const std::vector<int> counts = e2e::unitCounts(root());
    ASSERT_FALSE(counts.empty());
    int queued = 0;
    for (int unit = 0; unit < int(counts.size()); ++unit) {
        SCOPED_TRACE(unit);
        core::unloadAllForms();
        ASSERT_TRUE(openQuestion(unit, 1));
        engine::FrmMain& f = engine::frmMain()();
        queued += core::pictureStore().pendingPrefetch() > 0;
        const uint64_t model = core::modelRevision();
        const QImage before = view::renderForm(f);
        for (int i = 0; i < 100 && core::pictureStore().pendingPrefetch() > 0; ++i) QCoreApplication::processEvents();
        EXPECT_EQ(core::pictureStore().pendingPrefetch(), 0);
        EXPECT_EQ(core::modelRevision(), model) << "decoding ahead changed a window";
        EXPECT_EQ(view::renderForm(f), before) << "decoding ahead changed the scene";
    }
    EXPECT_GT(queued, 0) << "no step queued its successor's pictures";
}

} // namespace
