#pragma once
// Step records of the sample bank, built from a readable description.
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <stdexcept>

namespace sample {

// Thrown when a value does not fit its column (a bug in the bank source).
struct RecordError : std::runtime_error {
    using std::runtime_error::runtime_error;
    explicit RecordError(const QString& what) : std::runtime_error(what.toStdString()) {}
};

// Positions and sizes are screenshot pixels; the record holds twips (x 15).
struct Overlay {
    QString picture = "000000";  // "000000" hides, "888888" keeps
    QPoint pos;
    QChar branch = u'0';         // step taken by a click on the overlay
};

struct StepPlan {
    QString prefix = "000";      // columns 1-3, not read by the program
    QString altSet = "00";
    QString bars = "A0";         // no chrome bars: the screenshot shows them
    QString action = "0001";
    QString formPicture = "888888";
    std::array<Overlay, 6> images;   // Image1 .. Image6
    QRect target;                // empty: no target
    bool targetNoSize = false;   // target of no size (height 0)
    QChar targetBranch = u'0';
    QRect input;                 // empty: no input box
    int inputTextLine = 0;       // text table references
    int answerLine = 0;
    QPoint hintPos;
    int hintLine = 0;            // text of the hint label
    bool hintSet = false;        // false: hint position columns all zero (label left as it was)
    QString slot125 = "0000000000";  // input format, menu path or back code
    QString cursor;              // columns 101-105 of a step without input box
    QString altMenu;             // columns 86-90 of a step without input box: "R" + kmri or "RA" + mri
    QString slots86;             // columns 86-105 as written (action slots 2 and 3, extra picture), 20 characters
    QPoint drop;
    QRect source;
    QChar sourceBranch = u'0';
};

// Input box format: size in tenths of a point, alignment letter, style bits,
// font number 1-5, text colour 0-2, back colour 0-9.
QString inputFormat(int tenths = 0, QChar align = u'L', int style = 0, int font = 1,
                    int textColour = 0, int backColour = 0);

// The 212-character record.
QString buildRecord(const StepPlan& s);

// Field helpers (exposed for tests of the builder).
QString digits(long value, int width);

// Column layout, 1-based, for readers of generated files.
inline constexpr int kRecordLength = 212;

// The text table: one entry per line, a three-character prefix, the text.
class TextTable {
public:
    // Line number (1-based) of text, added when new. Empty text gives 0.
    int ref(const QString& text);
    QStringList lines() const;
private:
    QStringList texts_;
};

} // namespace sample
