#include "engine/question_captions.h"

#include <algorithm>

#include "core/state.h"

namespace engine {

QString unsolvedList(const core::SessionState& s) {
    QString out = QStringLiteral("未完成的题目");
    const int n = std::min<int>(s.QuestionCount, core::SessionState::MaxQuestions);
    for (int i = 1; i <= n; ++i)
        if (s.QuestionState[i] < 4) out += u' ' + QString::number(i);
    return out;
}

QString completedTitle(const QString& title) {
    QString out = title;
    out.replace(QStringLiteral("(未完成)"), QStringLiteral("(已完成)"));
    return out;
}

} // namespace engine
