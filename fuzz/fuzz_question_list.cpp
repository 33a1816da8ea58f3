// Question lists: each line's code, step count, text and picture, and the
// start step of every question computed from the list.
#include "core/state.h"
#include "core/text.h"
#include "fuzz_support.h"
#include "session/bank.h"

using namespace session;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray in = fuzz::bytes(data, size);
    const QString file = fuzz::scratch() + "/288869.rar";
    fuzz::writeFile(file, in);
    const QStringList lines = core::splitLines(core::fromGbk(in));

    int n = 0;
    for (const QString& l : lines) {
        if (++n > 60) break;
        const QuestionListLine q(l);
        FUZZ_CHECK(q.code().size() <= 4);
        const int16_t steps = q.stepCount();
        FUZZ_CHECK(steps >= -9 && steps <= 99);
        FUZZ_CHECK(l.endsWith(q.text()));
        FUZZ_CHECK(l.endsWith(q.body()));
        FUZZ_CHECK(q.pictureNo().size() <= 6);
        if (!q.hasPicture()) FUZZ_CHECK(q.pictureNo().isEmpty() && q.body() == q.text());
    }

    core::SessionState s;
    s.QuestionFile = file;
    s.QuestionLine = QStringLiteral("before");
    FUZZ_CHECK(computeStepStart(s));
    FUZZ_CHECK(s.StepStart[1] == 1);
    if (lines.isEmpty()) FUZZ_CHECK(s.QuestionLine == QStringLiteral("before"));
    else FUZZ_CHECK(lines.contains(s.QuestionLine));
    // Each start is the one before plus its line's step count, up to the
    // first blank line.
    for (int i = 1; i <= lines.size() && i <= 44; ++i) {
        if (core::trimSpaces(lines[i - 1]).isEmpty()) break;
        FUZZ_CHECK(s.StepStart[i + 1] == int16_t(s.StepStart[i] + QuestionListLine(lines[i - 1]).stepCount()));
    }

    s.QuestionFile = fuzz::scratch() + "/missing.rar";
    core::SessionState t = s;
    FUZZ_CHECK(!computeStepStart(t));
    FUZZ_CHECK(t.StepStart == s.StepStart && t.QuestionLine == s.QuestionLine);
    return 0;
}
