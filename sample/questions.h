#pragma once
// The sample question bank: units of Word 2003 tasks, each question a
// script of step records with its screenshots.
#include "sample/picture_set.h"
#include "sample/record_builder.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace sample {

struct QuestionOut {
    QString text;           // question text (list line from character 7)
    QStringList records;    // its step records, the last one the end record
};

struct UnitOut {
    QString title;
    QVector<QuestionOut> questions;
};

// Builds every unit, saving the pictures the records name.
QVector<UnitOut> buildUnits(PictureSet& pictures, TextTable& texts);

// The picture of the practice window before a question starts.
QImage startPicture();

} // namespace sample
