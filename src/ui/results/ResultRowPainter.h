#pragma once
// Paints the rows of a result window: two rows per entry (top bar items over
// bottom bar items), or one line of word, reading and first sense in the
// compact layout, alternating backgrounds, inner cell frames and an outer
// row frame, 3-pixel text margins, every colour complemented for a selected
// entry, and the window background below the last row.

#include <QFont>
#include <QPainter>
#include <QRect>
#include <QStaticText>
#include <array>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "dict/Entry.h"
#include "ui/common/Resources.h"
#include "ui/model/ResultSelection.h"

namespace mirudex::ui {

inline constexpr int kTextMargin = 3;
// Between the info markers of the Info column; not a copy setting.
inline constexpr std::u16string_view kInfoSeparator = u" | ";

// One column of a row: the header item it shows, its left and right edge
// (from the header item's rectangle), its offset in the row and its height.
struct RowCell {
    int item = 0;
    int left = 0;
    int right = 0;
    int offset = 0;
    int height = 0;
};

struct RowTexts {
    bool romaji = false;                                          // .\Misc\ROMAjiMode
    std::u16string meaningSeparator;                              // .\Results\Copy\SepMeaning without braces
    std::function<std::u16string(std::u16string_view)> toRomaji;  // used when romaji is on
    bool firstSenseOnly = false;                                  // compact rows: the first sense's glosses
};

// The text of item `item` of an entry: word, kana (or its romaji), the
// first sense's markers ("(n) (vs) (P)"; an entry never split into senses:
// its info joined by " | "), the joined meanings (or the first sense's
// glosses), or a length in decimal.
std::u16string CellText(const dict::Entry& entry, int item, const RowTexts& texts);

// The font and text colour of an item's column.
const QFont& CellFont(const Fonts& fonts, int item);
QColor CellColor(const ResultColors& colors, int item);

// Laid-out cell texts, kept between paints so that a repaint of the same rows
// does not lay out every text again. A text wider than its cell is kept only
// up to the first character that reaches past the cell (that one is clipped
// when drawn), so long meanings cost what is seen of them.
class CellTextCache {
public:
    struct Text {
        QStaticText text;
        bool overflows = false;  // reaches past the cell: draw clipped
    };
    // fontSlot: 0 word, 1 kana, 2 info, 3 meaning; width: the cell's text width.
    const Text& Get(int fontSlot, const QString& text, const QFont& font, int width);
    void Clear();

private:
    static constexpr size_t kMaxTexts = 4096;  // per font; the table starts again beyond this
    struct Key {
        QString text;
        int width;
        bool operator==(const Key&) const = default;
    };
    struct Hash {
        size_t operator()(const Key& k) const { return qHash(k.text) ^ (static_cast<size_t>(k.width) * 0x9E3779B9u); }
    };
    std::array<std::unordered_map<Key, Text, Hash>, 4> tables_;
};

struct RowPaintInput {
    const std::vector<dict::Entry>* list = nullptr;
    VisibleRows rows;
    int entryHeight = 1;
    QRect area;  // the entries area
    std::vector<RowCell> cells;
    const Fonts* fonts = nullptr;
    const ResultColors* colors = nullptr;
    RowTexts texts;
    QRect clip;                      // where text may be drawn (the client area)
    QRect exposed;                   // the part to paint; rows away from it are skipped (null: all)
    CellTextCache* cache = nullptr;  // texts are laid out afresh without one
};

// The outline of r as QPainter::drawRect draws it with a one-pixel pen (r's
// size plus one pixel each way), painted with fills where the painter is not
// scaled.
void DrawOutline(QPainter& painter, const QRect& r, const QColor& color);

// Paints rows first..last and fills the rest of the area with BGWindow.
void PaintRows(QPainter& painter, const RowPaintInput& input);

}  // namespace mirudex::ui
