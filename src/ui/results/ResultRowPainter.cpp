#include "ui/results/ResultRowPainter.h"

#include <QFontMetrics>
#include <QPen>
#include <algorithm>

#include "text/CharClass.h"

#include "ui/model/ResultCardText.h"
#include "ui/model/ResultHeaderItems.h"

namespace mirudex::ui {

namespace {

QString ToQ(const std::u16string& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

std::u16string Decimal(size_t n)
{
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

void LayOut(QStaticText& laidOut, const QString& text, const QFont& font)
{
    laidOut = QStaticText(text);
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.prepare(QTransform(), font);
}

// Whether QFontMetrics::horizontalAdvance gives the laid-out text more than
// `width`. A one-line layout's width is that advance plus any ink of the last
// glyph past it, so a layout no wider than `width` settles it without shaping
// the text again. A line separator breaks the layout into lines, and control
// characters may be laid out otherwise: such texts, and wider layouts, are
// measured.
bool WiderThan(const QStaticText& laidOut, const QFontMetrics& metrics, int width)
{
    const QString text = laidOut.text();
    const bool oneLine = std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    });
    if (oneLine && qRound(laidOut.size().width()) <= width)
        return false;
    return metrics.horizontalAdvance(text) > width;
}

}  // namespace

std::u16string CellText(const dict::Entry& entry, int item, const RowTexts& texts)
{
    switch (item) {
    case kItemWord: return entry.word;
    case kItemKana: return texts.romaji && texts.toRomaji ? texts.toRomaji(entry.kana) : entry.kana;
    case kItemInfo: return CompactRowTags(entry, kInfoSeparator);
    case kItemMeaning:
        return texts.firstSenseOnly ? FirstSenseText(entry, texts.meaningSeparator)
                                    : JoinTexts(entry.meanings, texts.meaningSeparator);
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
    const QFontMetrics metrics(font);
    int advance = 0;
    qsizetype end = text.size();
    // A text that fits even at the font's widest character needs no measuring.
    const bool surelyFits = static_cast<long long>(metrics.maxWidth()) * text.size() <= width - kSlack - 1;
    for (qsizetype i = 0; !surelyFits && i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
        advance += pair ? metrics.horizontalAdvance(text.mid(i, 2)) : metrics.horizontalAdvance(text.at(i));
        if (pair)
            ++i;
        if (advance > width - kSlack) {
            end = std::min(text.size(), i + 1 + kSlack);
            if (end < text.size() && text.at(end - 1).isHighSurrogate())
                ++end;
            entry.overflows = true;
            break;
        }
    }
    // The text is shaped once, for drawing; its laid-out width tells whether
    // it reaches past the cell.
    LayOut(entry.text, end == text.size() ? text : text.left(end), font);
    if (entry.overflows) {
        // Rounded character advances can add up short of the shaped text:
        // make sure the kept part really reaches past the edge.
        while (end < text.size() && !WiderThan(entry.text, metrics, width)) {
            end = std::min(text.size(), end + 4);
            LayOut(entry.text, text.left(end), font);
        }
        if (end < text.size() && text.at(end - 1).isHighSurrogate())
            LayOut(entry.text, text.left(++end), font);
    } else if (!surelyFits && WiderThan(entry.text, metrics, width)) {
        entry.overflows = true;  // fits only by the rounded advances: clip
    }
    return table.emplace(std::move(key), std::move(entry)).first->second;
}

void CellTextCache::Clear()
{
    for (auto& table : tables_)
        table.clear();
}

void DrawOutline(QPainter& painter, const QRect& r, const QColor& color)
{
    // A scaled painter (a high-DPI screen) strokes the pen's width about the
    // edges, which fills would not match.
    if (r.width() <= 0 || r.height() <= 0 || painter.deviceTransform().type() > QTransform::TxTranslate) {
        painter.setPen(QPen(color, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r);
        return;
    }
    // A stroked outline is plotted pixel by pixel; four fills are spans.
    const int l = r.left(), t = r.top(), w = r.width(), h = r.height();
    painter.fillRect(QRect(l, t, w + 1, 1), color);
    painter.fillRect(QRect(l, t + h, w + 1, 1), color);
    if (h > 1) {
        painter.fillRect(QRect(l, t + 1, 1, h - 1), color);
        painter.fillRect(QRect(l + w, t + 1, 1, h - 1), color);
    }
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
        bottom = rowTop + in.entryHeight;
        // A row's ink may reach into its neighbours (tall glyphs), so the
        // rows beside the exposed part are painted too.
        if (!in.exposed.isNull() &&
            (rowTop + 2 * in.entryHeight <= in.exposed.top() || rowTop - in.entryHeight > in.exposed.bottom()))
            continue;
        const bool sel = entry.selected;
        auto pick = [sel](const QColor& c) { return sel ? Complement(c) : c; };

        painter.fillRect(QRect(in.area.left(), rowTop, width - 1, in.entryHeight - 1),
                         pick(j % 2 == 0 ? base.bg1 : base.bg2));
        const QColor inner = pick(base.border_inside);
        for (const RowCell& cell : in.cells) {
            const QRect frame(cell.left, rowTop + cell.offset, cell.right - cell.left - 1, cell.height);
            DrawOutline(painter, frame, inner);
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
        DrawOutline(painter, QRect(in.area.left(), rowTop, width - 1, in.entryHeight - 1), pick(base.border_outside));
    }
    if (bottom < in.area.bottom() + 1)
        painter.fillRect(QRect(in.area.left(), bottom, width, in.area.bottom() + 1 - bottom), base.bg_window);
}

}  // namespace mirudex::ui
