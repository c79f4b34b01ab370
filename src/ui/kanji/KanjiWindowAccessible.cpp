// The kanji window as a screen reader reads it: a table with a row per kanji
// and the columns the header bars name (kanji, On and Kun readings, strokes,
// meanings), each list of readings or meanings joined as the cells show it.

#include "platform/qt/QtText.h"
#include "ui/kanji/KanjiWindow.h"
#include "ui/model/KanjiWindowText.h"

namespace mirudex::ui {

namespace {

enum Column { kKanji, kOn, kKun, kStrokes, kMeanings };

}  // namespace

QStringList KanjiWindow::AccessibleColumnNames() const
{
    return {tr("Kanji"), tr("On"), tr("Kun"), tr("Strokes"), tr("Meaning")};
}

QString KanjiWindow::AccessibleCellText(int row, int column) const
{
    if (row < 0 || row >= EntryCount())
        return {};
    const dict::KanjiRecord& k = ctx_.kanji_results[static_cast<size_t>(row)];
    switch (column) {
    case kKanji: return QString(QChar(k.code));
    case kOn: return Q(JoinBars(k.onReadings));
    case kKun: return Q(JoinBars(k.kunReadings));
    case kStrokes: return k.strokes != 0 ? QString::number(k.strokes) : QString();
    case kMeanings: return Q(JoinBars(k.meanings));
    default: return {};
    }
}

void KanjiWindow::AccessibleSelectRow(int row)
{
    if (Busy() || row < 0 || row >= EntryCount() || row == selected_)
        return;
    selected_ = row;
    update();
    NotifyAccessibleCurrentRow(this, selected_);
}

QRect KanjiWindow::AccessibleRowRect(int row) const
{
    const int entries = EntryCount();
    if (row < first_ || row >= entries || row > geom_.LastVisible(first_, entries) || geom_.entry <= 0)
        return {};
    return QRect(0, geom_.EntryTop(row, first_), geom_.listWidth, geom_.entry);
}

}  // namespace mirudex::ui
