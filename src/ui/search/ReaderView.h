#pragma once
// The reading view: a text read into words (search::ReadText) shown as
// wrapping lines of words, each word with its reading in small type over its
// kanji. A click or the Left and Right keys choose a word (punctuation is
// stepped over) and onSearch is asked to search its dictionary form; resting
// the mouse on a word for 700 ms shows its entry's hover card; Ctrl+C (or
// the context menu) copies the text with its readings, as 漢字[かんじ] text
// and as HTML ruby, in one copy.
//
// Threads: user-interface thread only. The tokens are the view's own copy.
// While busy() answers true (a search or load runs) nothing is chosen.

#include <QAbstractScrollArea>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "search/Reader.h"
#include "ui/common/HoverCardWatch.h"
#include "ui/common/Resources.h"

namespace mirudex {
class Registry;
}

namespace mirudex::ui {

class ResultHoverCard;

class ReaderView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Fonts and colours come from the options: the result window's word font
    // and the search box's colours for the text, the result fonts for the
    // hover card.
    explicit ReaderView(Registry& options, QWidget* parent = nullptr);
    ~ReaderView() override;

    // Shows a newly read text; no word is chosen.
    void SetTokens(std::vector<search::ReadToken> tokens);
    const std::vector<search::ReadToken>& tokens() const { return tokens_; }
    int current() const { return current_; }

    // Chooses token i and asks for its search. False when it cannot be
    // chosen (out of range, punctuation, busy) or the search did not run.
    bool Choose(int i);
    // The next token from `from` in the direction step (+1 or -1) that can be
    // chosen, or -1.
    int NextWord(int from, int step) const;
    // What a token is searched as: a word's dictionary form, other tokens as
    // written; nothing for punctuation and blanks.
    static std::u16string SearchTextOf(const search::ReadToken& token);

    // The whole text with its readings: 漢字[かんじ] text and HTML ruby.
    std::u16string TextWithReadings() const;
    std::u16string HtmlWithReadings() const;
    void CopyWithReadings() const;

    // Where token i is drawn, in the viewport's coordinates as now scrolled:
    // its box (readings included), and each piece with a reading over it.
    struct RubyBox {
        QRect text;
        QRect ruby;
    };
    QRect TokenRect(int i) const;
    std::vector<RubyBox> RubyBoxes(int i) const;
    // The token under a point of the viewport, or -1.
    int TokenAt(QPoint point) const;
    ResultHoverCard* hoverCard() const;

    void SetTextFont(const QFont& font);
    QSize sizeHint() const override;

    // Runs the search of a chosen token's text (SearchTextOf); answers whether it ran.
    std::function<bool(std::u16string_view)> onSearch;
    // True while a search or load runs.
    std::function<bool()> busy;

signals:
    void chosen(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Piece {
        QString text;
        QString ruby;
        int slot = 0;  // width of the piece: the wider of its text and its reading
        int textWidth = 0;
        int rubyWidth = 0;
    };
    struct Box {
        int line = 0;
        int x = 0;
        int width = 0;
        std::vector<Piece> pieces;
    };

    bool Busy() const { return busy && busy(); }
    bool Steppable(int i) const;
    void Relayout();
    int LineTop(int line) const;
    void EnsureVisible(int i);
    void ShowHover();
    void CloseHover();

    Registry& options_;
    Fonts fonts_;
    ResultColors cardColors_;
    QFont text_, ruby_;
    QColor textColor_, background_;
    std::vector<search::ReadToken> tokens_;
    std::vector<Box> boxes_;
    int lineHeight_ = 0;
    int rubyHeight_ = 0;
    int contentHeight_ = 0;
    int current_ = -1;

    QTimer hoverTimer_;
    QPointer<ResultHoverCard> hover_;
    HoverCardWatch watch_;
    int hoverToken_ = -1;
    QPoint hoverPos_;
    QPoint lastMouse_;
};

}  // namespace mirudex::ui
