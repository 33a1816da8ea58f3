#pragma once
// Captions of the question window that the step engine completes when a
// question ends.
#include <QString>

namespace core {
struct SessionState;
}

namespace engine {

// "未完成的题目" and, for every question of the session not answered yet
// (QuestionState below 4), a blank and its number.
QString unsolvedList(const core::SessionState& s);
// The title with every "(未完成)" turned into "(已完成)".
QString completedTitle(const QString& title);

} // namespace engine
