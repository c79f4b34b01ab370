#include "ui/results/ResultRowPainter.h"

#include <QFontMetrics>
#include <QPen>
#include <algorithm>

#include "text/CharClass.h"

#include "ui/model/ResultHeaderItems.h"

namespace mirudex::ui {

namespace {

QString ToQ(const std::u16string& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

std::u16string Join(const std::vector<std::u16string>& parts, std::u16string_view separator)
{
    std::u16string out;
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k > 0)
            out += separator;
        out += parts[k];
    }
    return out;
}

std::u16string Decimal(size_t n)
{
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string CellText(const dict::Entry& entry, int item, const RowTexts& texts)
{
    switch (item) {
    case kItemWord: return entry.word;
    case kItemKana: return texts.romaji && texts.toRomaji ? texts.toRomaji(entry.kana) : entry.kana;
    case kItemInfo: return Join(entry.info, kInfoSeparator);
    case kItemMeaning: return Join(entry.meanings, texts.meaningSeparator);
    case kItemWordLength: return Decimal(text::CharacterCount(entry.word));
    case kItemKanaLength: return Decimal(text::CharacterCount(entry.kana));
    default: return {};
    }
}

const QFont& CellFont(const Fonts& fonts, int item)
{
    switch (item) {
    case kItemWord: return fonts.result_word;
    case kItemKana: return fonts.result_kana;
    case kItemInfo: return fonts.result_info;
    default: return fonts.result_meaning;
    }
}

QColor CellColor(const ResultColors& colors, int item)
{
    switch (item) {
    case kItemWord: return colors.word;
    case kItemKana: return colors.kana;
    case kItemInfo: return colors.info;
    default: return colors.meaning;
    }
}

const CellTextCache::Text& CellTextCache::Get(int fontSlot, const QString& text, const QFont& font, int width)
{
    auto& table = tables_[static_cast<size_t>(std::clamp(fontSlot, 0, 3))];
    Key key{text, width};
    auto it = table.find(key);
    if (it != table.end())
        return it->second;
    if (table.size() >= kMaxTexts)
        table.clear();

    // Character advances from the font's tables (no shaping): enough to tell
    // what part of the text can be seen. A text that might not fit keeps two
    // characters beyond the edge and is clipped there when drawn.
    constexpr int kSlack = 2;
    Text entry;
    QString shown = text;
    const QFontMetrics metrics(font);
    int advance = 0;
    // A text that fits even at the font's widest character needs no measuring.
    const bool surelyFits = static_cast<long long>(metrics.maxWidth()) * text.size() <= width - kSlack - 1;
    for (qsizetype i = 0; !surelyFits && i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
        advance += pair ? metrics.horizontalAdvance(text.mid(i, 2)) : metrics.horizontalAdvance(text.at(i));
        if (pair)
            ++i;
        if (advance > width - kSlack) {
            qsizetype end = std::min(text.size(), i + 1 + kSlack);
            if (end < text.size() && text.at(end - 1).isHighSurrogate())
                ++end;
            // Rounded character advances can add up short of the shaped
            // text: make sure the kept part really reaches past the edge.
            while (end < text.size() && metrics.horizontalAdvance(text.left(end)) <= width)
                end = std::min(text.size(), end + 4);
            if (end < text.size() && text.at(end - 1).isHighSurrogate())
                ++end;
            shown = text.left(end);
            entry.overflows = true;
            break;
        }
    }
    if (!entry.overflows && !surelyFits && metrics.horizontalAdvance(text) > width)
        entry.overflows = true;  // fits only by the rounded advances: clip
    entry.text = QStaticText(shown);
    entry.text.setTextFormat(Qt::PlainText);
    entry.text.prepare(QTransform(), font);
    return table.emplace(std::move(key), std::move(entry)).first->second;
}

void CellTextCache::Clear()
{
    for (auto& table : tables_)
        table.clear();
}

void PaintRows(QPainter& painter, const RowPaintInput& in)
{
    const std::vector<dict::Entry>& list = *in.list;
    const ResultColors& base = *in.colors;
    const int width = in.area.width();
    constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;

    int bottom = in.area.top();
    const QFont* currentFont = nullptr;
    for (int j = in.rows.first; j <= in.rows.last && j < static_cast<int>(list.size()); ++j) {
        if (j < 0)
            continue;
        const dict::Entry& entry = list[static_cast<size_t>(j)];
        const int rowTop = (j - in.rows.first) * in.entryHeight + in.area.top();
        const bool sel = entry.selected;
        auto pick = [sel](const QColor& c) { return sel ? Complement(c) : c; };

        painter.fillRect(QRect(in.area.left(), rowTop, width - 1, in.entryHeight - 1),
                         pick(j % 2 == 0 ? base.bg1 : base.bg2));
        const QPen inner(pick(base.border_inside), 1);
        for (const RowCell& cell : in.cells) {
            const QRect frame(cell.left, rowTop + cell.offset, cell.right - cell.left - 1, cell.height);
            painter.setPen(inner);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(frame);
            const QRect textRect = frame.adjusted(kTextMargin, kTextMargin, -kTextMargin, -kTextMargin);
            if (textRect.width() <= 0 || textRect.height() <= 0)
                continue;
            const QFont& font = CellFont(*in.fonts, cell.item);
            if (&font != currentFont) {  // changing the painter's font is not free
                painter.setFont(font);
                currentFont = &font;
            }
            painter.setPen(pick(CellColor(base, cell.item)));
            const QString text = ToQ(CellText(entry, cell.item, in.texts));
            if (!in.cache) {
                painter.drawText(textRect, kFlags, text);
                continue;
            }
            // Text is cut at the cell's text rectangle, never wrapped.
            const CellTextCache::Text& laidOut = in.cache->Get(std::min(cell.item, 3), text, font, textRect.width());
            if (!laidOut.overflows) {
                painter.drawStaticText(textRect.topLeft(), laidOut.text);
                continue;
            }
            painter.setClipRect(in.clip.isNull() ? textRect : textRect & in.clip);
            painter.drawStaticText(textRect.topLeft(), laidOut.text);
            if (in.clip.isNull())
                painter.setClipping(false);
            else
                painter.setClipRect(in.clip);
        }
        painter.setPen(QPen(pick(base.border_outside), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(in.area.left(), rowTop, width - 1, in.entryHeight - 1));
        bottom = rowTop + in.entryHeight;
    }
    if (bottom < in.area.bottom() + 1)
        painter.fillRect(QRect(in.area.left(), bottom, width, in.area.bottom() + 1 - bottom), base.bg_window);
}

}  // namespace mirudex::ui
