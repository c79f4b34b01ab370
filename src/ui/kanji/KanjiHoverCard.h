#pragma once
// The pop-up card the kanji window shows when the mouse rests on an entry:
// the big kanji with its radicals on the left; stroke count and frequency on
// top; under them the On, Kun, Nanori and Radical readings and the meanings
// in five columns. Sized to its content and made for one entry; the kanji
// window shows it in a HoverCardFrame, which scrolls what does not fit on the
// screen.
//
// User-interface thread only.

#include <QFont>
#include <QSize>
#include <QString>
#include <QWidget>
#include <vector>

#include "dict/Kanjidic.h"
#include "dict/Radicals.h"
#include "ui/common/Resources.h"

namespace mirudex {
class Registry;
}

namespace mirudex::ui {

// The radicals of the radical table whose kanji list holds code, in table
// order, each character once.
std::u16string RadicalsOfKanji(const dict::RadicalTable& table, char16_t code);

// Measured content of a card and the size it gives.
struct KanjiCardLayout {
    static constexpr int kBorder = 8;
    static constexpr int kBand = 10;          // the coloured band left of the content
    static constexpr int kLeftGap = 22;       // left column to the rest
    static constexpr int kColumnGap = 15;     // between reading columns
    static constexpr int kMeaningGap = 30;    // before the meanings, and between strokes and frequency
    static constexpr int kKanjiGap = 12;      // between the big kanji and "Radicals"
    static constexpr int kTopLineGap = 10;    // between the top line and the columns
    static constexpr int kLayoutWidth = 600;  // measuring box
    static constexpr int kLayoutHeight = 400;

    struct Column {
        std::vector<QString> texts;  // label first (none for the meanings)
        std::vector<QSize> sizes;
        int width = 0;
        int height = 0;
    };

    QString kanji, radicalsLabel, strokes, frequency;
    QSize kanjiSize, radicalsLabelSize, strokesSize, frequencySize;
    std::vector<QString> radicals;
    std::vector<QSize> radicalSizes;
    int leftWidth = 0;
    int radicalsHeight = 0;
    Column columns[5];  // On, Kun, Nanori, Radical, meanings

    int TopLineHeight() const;
    int Width() const;
    int Height() const;
    int RightX() const { return kBorder + kBand + leftWidth + kLeftGap; }
};

class KanjiHoverCard : public QWidget {
    Q_OBJECT
public:
    // The five fonts' families come from options every time a card is made.
    // Readings and meanings wrap at 600 pixels; the meanings sooner when the
    // card would be wider than maxWidth (the screen's work area; 0: no limit).
    KanjiHoverCard(const dict::KanjiRecord& record, const dict::RadicalTable& radicals, Registry& options,
                   const KanjiColors& colors, int dpiY, QWidget* owner, int maxWidth = 0);

    const KanjiCardLayout& layout() const { return layout_; }
    const QFont& KanjiFont() const { return fontKanji_; }
    const QFont& MeaningFont() const { return fontMeaning_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Measure(const dict::KanjiRecord& record, const dict::RadicalTable& radicals, int maxWidth);

    KanjiColors colors_;
    QFont fontKanji_, fontReading_, fontLabel_, fontMeaning_, fontRadical_;
    KanjiCardLayout layout_;
};

}  // namespace mirudex::ui
