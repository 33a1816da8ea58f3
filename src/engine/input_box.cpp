#include "engine/input_box.h"

#include "core/state.h"
#include "engine/step_record.h"
#include "engine/text_table.h"

namespace engine {

namespace {

double scaleX() { return core::config().ScaleX; }
InputFormat format() { return StepRecord(core::session().StepLine).inputFormat(); }

} // namespace

QString initialInputText(const QString& reference) {
    if (reference == u"000") return QString();
    const QString entry = TextTableLookup(reference);
    const qsizetype bar = entry.indexOf(u'|');
    return bar < 0 ? entry : entry.left(bar);
}

void applyInputFormat(core::Control& box, const StatementRunner& run) {
    run([&] { box.setFontSize(9 * scaleX()); });
    run([&] {
        box.setAlignment(0);
        const InputFormat::Align a = format().align;
        if (a == InputFormat::AlignRight) box.setAlignment(1);
        if (a == InputFormat::AlignCenter) box.setAlignment(2);
    });
    run([&] { box.setFontSize(format().fontPoints() * scaleX()); });
    run([&] {
        const InputFormat f = format();
        if (auto b = f.bold()) box.setFontBold(*b);
        if (auto i = f.italic()) box.setFontItalic(*i);
        if (auto u = f.underline()) box.setFontUnderline(*u);
    });
    run([&] {
        if (auto n = format().fontName()) box.setFontName(*n);
    });
    run([&] {
        if (auto c = format().textColourValue()) box.setForeColor(*c);
    });
    run([&] {
        if (auto c = format().backColourValue()) box.setBackColor(*c);
    });
}

} // namespace engine
