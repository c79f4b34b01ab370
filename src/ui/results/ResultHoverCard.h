#pragma once
// The hover card of a result window ("Result_Hover_Window"): the whole entry
// in large type, one block per sense with the sense's own markers over its
// glosses (ResultCardText.h), long texts wrapped, opened after the mouse has
// rested 700 ms on a row. This is the card's content at its full size; the
// result window shows it in a HoverCardFrame placed off the row, which
// scrolls what does not fit on the screen.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

#include "dict/Entry.h"
#include "ui/common/Resources.h"

namespace mirudex::ui {

// Point sizes of the card's fonts; the meaning font drops to 9 points for an
// entry with 13 or more meanings or a meaning longer than 40 characters.
inline constexpr int kHoverWordPoints = 18;
inline constexpr int kHoverKanaPoints = 18;
inline constexpr int kHoverInfoPoints = 12;
inline constexpr int kHoverMeaningPoints = 14;
inline constexpr int kHoverSmallMeaningPoints = 14 * 2 / 3;

int HoverMeaningPoints(const dict::Entry& entry);

class ResultHoverCard : public QWidget {
    Q_OBJECT
public:
    // Fonts take the faces of the result fonts; sizes as above. Info markers
    // and meanings wrap at 600 pixels, or sooner when the card would be wider
    // than maxWidth (the screen's work area; 0: no limit).
    ResultHoverCard(const dict::Entry& entry, const Fonts& fonts, const ResultColors& colors, int dpiY, QWidget* owner,
                    int maxWidth = 0);

    const QFont& meaningFont() const { return meaning_; }
    // Left column width L (the wider of word and kana).
    int leftWidth() const { return left_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Line {
        QString text;
        QRect box;          // measured in the 600 x 400 layout box
        bool tags = false;  // a sense's own markers, in the info font over its glosses
    };

    dict::Entry entry_;
    ResultColors colors_;
    QFont word_, kana_, info_, meaning_;
    Line wordLine_, kanaLine_;
    std::vector<Line> infoLines_, meaningLines_;
    int left_ = 0;
};

}  // namespace mirudex::ui
