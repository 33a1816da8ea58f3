#pragma once
// Tab strips of the simulated dialogs: a 155-character layout record per
// dialog, and the fourteen built-in records keyed "A" to "N". Shared by the
// practice window and the demonstration.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace engine {

// One layout record. Positions are design twips relative to the dialog
// picture's top-left corner; numeric fields read their leading digits.
class TabLayout {
public:
    static constexpr int Length = 155;
    static constexpr int MaxTabs = 13;

    TabLayout() = default;
    explicit TabLayout(QString record) : rec_(std::move(record)) {}

    const QString& record() const { return rec_; }
    bool isEmpty() const { return rec_.isEmpty(); }

    QString key() const;           // column 1
    int16_t tabCount() const;      // column 2: "1"-"9", "A"-"D" = 10-13; 0 otherwise
    int16_t tabRowY() const;       // columns 3-6
    int16_t tabHeight() const;     // columns 7-9
    // Picture number of the dialog showing page n (columns 10n..10n+5).
    QString tabPicture(int n) const;
    // Left edge of tab n (columns 10n+6..10n+9); tab count + 1 gives the
    // right edge of the last tab.
    int16_t tabLeft(int n) const;
    // Width of tab n: the next tab's left minus its own; 990 when that is
    // negative (the last tab of a row). A difference of 0 stays 0.
    int16_t tabWidth(int n) const;
    // Two rows (tabs 1-6 and 7..) from ten tabs on.
    bool twoRows() const { return tabCount() >= 10; }

    int16_t backX() const;  // columns 140-143
    int16_t backY() const;  // 144-147
    int16_t backW() const;  // 148-151
    int16_t backH() const;  // 152-155

private:
    int16_t num(int col, int width) const;
    QString rec_;
};

// The fourteen built-in records, "A" to "N", character for character.
const QStringList& TabKeyTable();
// The built-in record of a key "A".."N"; nullopt for any other key.
std::optional<TabLayout> builtInTabLayout(const QString& key);

} // namespace engine
