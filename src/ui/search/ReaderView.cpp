#include "ui/search/ReaderView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

#include "core/OptionNames.h"
#include "core/Registry.h"
#include "platform/api/Platform.h"
#include "platform/qt/QtText.h"
#include "ui/model/Furigana.h"
#include "ui/model/HoverCardPlace.h"
#include "ui/results/ResultHoverCard.h"
#include "ui/results/ResultWindow.h"

namespace mirudex::ui {

namespace {

constexpr int kMargin = 6;       // around the text
constexpr int kWordGap = 4;      // between two tokens, so that the words stand apart
constexpr int kLineGap = 6;      // between two lines
constexpr int kHoverSlack = 10;  // pixels the mouse may drift while the hover timer runs

// The readings are set at a little over half the text's size, never so small
// that their kana cannot be told apart (10 pixels, 7 points).
QFont RubyFont(const QFont& text)
{
    QFont ruby = text;
    if (text.pixelSize() > 0)
        ruby.setPixelSize(std::max(10, text.pixelSize() * 11 / 20));
    else
        ruby.setPointSizeF(std::max(7.0, text.pointSizeF() * 0.55));
    return ruby;
}

QString Shown(std::u16string_view text)
{
    QString shown = Q(text);
    shown.replace(QLatin1Char('\t'), QLatin1Char(' '));
    shown.remove(QLatin1Char('\r'));
    return shown;
}

std::vector<RubyPiece> PiecesOf(const search::ReadToken& token)
{
    const bool japanese = token.kind == search::TokenKind::Word || token.kind == search::TokenKind::Unknown;
    if (!japanese)
        return {{token.surface, {}}};
    return FuriganaPieces(token.surface, token.reading);
}

}  // namespace

ReaderView::ReaderView(Registry& options, QWidget* parent)
    : QAbstractScrollArea(parent), options_(options), watch_(this, [this] { CloseHover(); })
{
    setObjectName(QStringLiteral("ReaderView"));
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::PointingHandCursor);
    LoadFonts(options_, fonts_, logicalDpiY());
    LoadResultColors(options_, cardColors_);
    textColor_ = ColorFromColorref(options_.GetINT(opt::search::font::kColor));
    background_ = ColorFromColorref(options_.GetINT(opt::search::kWindowBG));
    // The words in the result window's word font, which is made to show kanji large.
    SetTextFont(fonts_.result_word);
    hoverTimer_.setSingleShot(true);
    hoverTimer_.setInterval(kResultHoverDelayMs);
    connect(&hoverTimer_, &QTimer::timeout, this, &ReaderView::ShowHover);
}

ReaderView::~ReaderView() { CloseHover(); }

void ReaderView::SetTextFont(const QFont& font)
{
    text_ = font;
    ruby_ = RubyFont(font);
    Relayout();
}

QSize ReaderView::sizeHint() const { return QSize(400, 3 * std::max(lineHeight_, 20) + 2 * kMargin); }

void ReaderView::SetTokens(std::vector<search::ReadToken> tokens)
{
    CloseHover();
    tokens_ = std::move(tokens);
    current_ = -1;
    hoverToken_ = -1;
    Relayout();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

bool ReaderView::Steppable(int i) const
{
    return i >= 0 && i < static_cast<int>(tokens_.size()) &&
           tokens_[static_cast<size_t>(i)].kind != search::TokenKind::Punctuation &&
           !SearchTextOf(tokens_[static_cast<size_t>(i)]).empty();
}

std::u16string ReaderView::SearchTextOf(const search::ReadToken& token)
{
    if (token.kind == search::TokenKind::Punctuation)
        return {};
    if (token.kind == search::TokenKind::Word)
        return !token.form.empty() ? token.form : !token.entry.word.empty() ? token.entry.word : token.surface;
    return token.surface;
}

int ReaderView::NextWord(int from, int step) const
{
    const int n = static_cast<int>(tokens_.size());
    for (int i = from + step; i >= 0 && i < n; i += step)
        if (Steppable(i))
            return i;
    return -1;
}

bool ReaderView::Choose(int i)
{
    if (!Steppable(i) || Busy())
        return false;
    CloseHover();
    current_ = i;
    EnsureVisible(i);
    viewport()->update();
    emit chosen(i);
    return onSearch ? onSearch(SearchTextOf(tokens_[static_cast<size_t>(i)])) : true;
}

// ---- copying ----

std::u16string ReaderView::TextWithReadings() const
{
    std::vector<RubyPiece> all;
    for (const search::ReadToken& token : tokens_)
        for (RubyPiece& piece : PiecesOf(token))
            all.push_back(std::move(piece));
    return BracketReadings(all);
}

std::u16string ReaderView::HtmlWithReadings() const
{
    std::vector<RubyPiece> all;
    for (const search::ReadToken& token : tokens_)
        for (RubyPiece& piece : PiecesOf(token))
            all.push_back(std::move(piece));
    return RubyHtml(all);
}

void ReaderView::CopyWithReadings() const
{
    if (tokens_.empty())
        return;
    platform::Get().SetClipboardTextAndHtml(TextWithReadings(), HtmlWithReadings());
}

// ---- layout ----

void ReaderView::Relayout()
{
    const QFontMetrics textMetrics(text_);
    const QFontMetrics rubyMetrics(ruby_);
    rubyHeight_ = rubyMetrics.height();
    lineHeight_ = rubyHeight_ + textMetrics.height() + kLineGap;
    const int right = std::max(kMargin + 1, viewport()->width() - kMargin);
    boxes_.assign(tokens_.size(), Box{});
    int line = 0;
    int x = kMargin;
    for (size_t i = 0; i < tokens_.size(); ++i) {
        const search::ReadToken& token = tokens_[i];
        Box& box = boxes_[i];
        const std::u16string_view surface(token.surface);
        const size_t breaks = static_cast<size_t>(std::count(surface.begin(), surface.end(), u'\n'));
        // Blanks and punctuation with line ends: what comes before the first
        // line end stays on this line, and the blanks after the last one
        // indent the next.
        const std::vector<RubyPiece> pieces =
            breaks > 0 ? std::vector<RubyPiece>{{std::u16string(surface.substr(0, surface.find(u'\n'))), {}}}
                       : PiecesOf(token);
        for (const RubyPiece& piece : pieces) {
            if (piece.text.empty())
                continue;
            Piece p;
            p.text = Shown(piece.text);
            p.ruby = Q(piece.ruby);
            p.textWidth = textMetrics.horizontalAdvance(p.text);
            p.rubyWidth = p.ruby.isEmpty() ? 0 : rubyMetrics.horizontalAdvance(p.ruby);
            p.slot = std::max(p.textWidth, p.rubyWidth);
            box.width += p.slot;
            box.pieces.push_back(std::move(p));
        }
        if (x > kMargin && x + box.width > right) {
            ++line;
            x = kMargin;
        }
        box.line = line;
        box.x = x;
        x += box.width + kWordGap;
        if (breaks > 0) {
            line += static_cast<int>(breaks);
            x = kMargin + textMetrics.horizontalAdvance(Shown(surface.substr(surface.rfind(u'\n') + 1)));
        }
    }
    contentHeight_ = tokens_.empty() ? 0 : LineTop(line) + lineHeight_ + kMargin;
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, contentHeight_ - viewport()->height()));
    bar->setPageStep(std::max(1, viewport()->height()));
    bar->setSingleStep(std::max(1, lineHeight_));
}

int ReaderView::LineTop(int line) const { return kMargin + line * lineHeight_; }

QRect ReaderView::TokenRect(int i) const
{
    if (i < 0 || i >= static_cast<int>(boxes_.size()))
        return {};
    const Box& box = boxes_[static_cast<size_t>(i)];
    return QRect(box.x, LineTop(box.line) - verticalScrollBar()->value(), box.width, lineHeight_ - kLineGap);
}

std::vector<ReaderView::RubyBox> ReaderView::RubyBoxes(int i) const
{
    std::vector<RubyBox> rubies;
    if (i < 0 || i >= static_cast<int>(boxes_.size()))
        return rubies;
    const Box& box = boxes_[static_cast<size_t>(i)];
    const int top = LineTop(box.line) - verticalScrollBar()->value();
    const int textHeight = lineHeight_ - kLineGap - rubyHeight_;
    int x = box.x;
    for (const Piece& p : box.pieces) {
        if (!p.ruby.isEmpty())
            rubies.push_back({QRect(x + (p.slot - p.textWidth) / 2, top + rubyHeight_, p.textWidth, textHeight),
                              QRect(x + (p.slot - p.rubyWidth) / 2, top, p.rubyWidth, rubyHeight_)});
        x += p.slot;
    }
    return rubies;
}

int ReaderView::TokenAt(QPoint point) const
{
    for (int i = 0; i < static_cast<int>(boxes_.size()); ++i)
        if (!boxes_[static_cast<size_t>(i)].pieces.empty() && TokenRect(i).contains(point))
            return i;
    return -1;
}

void ReaderView::EnsureVisible(int i)
{
    const QRect r = TokenRect(i);
    QScrollBar* bar = verticalScrollBar();
    if (r.top() < 0)
        bar->setValue(bar->value() + r.top() - kMargin);
    else if (r.bottom() > viewport()->height())
        bar->setValue(bar->value() + r.bottom() - viewport()->height() + kMargin);
}

// ---- painting ----

void ReaderView::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), background_);
    const QFontMetrics textMetrics(text_);
    const QFontMetrics rubyMetrics(ruby_);
    const QPalette pal = palette();
    for (int i = 0; i < static_cast<int>(boxes_.size()); ++i) {
        const Box& box = boxes_[static_cast<size_t>(i)];
        if (box.pieces.empty())
            continue;
        const QRect r = TokenRect(i);
        if (r.bottom() < 0 || r.top() > viewport()->height())
            continue;
        const search::ReadToken& token = tokens_[static_cast<size_t>(i)];
        QColor ink = textColor_;
        if (i == current_) {
            p.fillRect(r.adjusted(-kWordGap / 2, 0, kWordGap / 2, 0), pal.color(QPalette::Highlight));
            ink = pal.color(QPalette::HighlightedText);
        } else if (token.kind == search::TokenKind::Unknown) {
            ink = QColor(150, 40, 40);  // Japanese that no dictionary holds
        }
        const int baseline = r.top() + rubyHeight_ + textMetrics.ascent();
        int x = box.x;
        for (const Piece& piece : box.pieces) {
            p.setPen(ink);
            p.setFont(text_);
            p.drawText(x + (piece.slot - piece.textWidth) / 2, baseline, piece.text);
            if (!piece.ruby.isEmpty()) {
                p.setFont(ruby_);
                p.drawText(x + (piece.slot - piece.rubyWidth) / 2, r.top() + rubyMetrics.ascent(), piece.ruby);
            }
            x += piece.slot;
        }
        if (token.found() && i != current_) {
            // Words with an entry are underlined lightly: they can be clicked.
            QColor line = textColor_;
            line.setAlpha(70);
            p.setPen(QPen(line, 1, Qt::DotLine));
            p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        }
    }
}

void ReaderView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    Relayout();
}

void ReaderView::scrollContentsBy(int, int)
{
    CloseHover();
    viewport()->update();
}

// ---- mouse and keys ----

void ReaderView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton)
        Choose(TokenAt(event->position().toPoint()));
}

void ReaderView::mouseMoveEvent(QMouseEvent* event)
{
    lastMouse_ = event->position().toPoint();
    if (Busy())
        return;
    const int i = TokenAt(lastMouse_);
    if (hover_ && i != hoverToken_)
        CloseHover();
    if (i >= 0 && tokens_[static_cast<size_t>(i)].found()) {
        if (!hover_) {
            hoverTimer_.start();
            hoverToken_ = i;
            hoverPos_ = lastMouse_;
        }
    } else {
        hoverTimer_.stop();
    }
}

void ReaderView::ShowHover()
{
    if (hover_ || Busy() || hoverToken_ < 0 || hoverToken_ >= static_cast<int>(tokens_.size()))
        return;
    if (std::abs(lastMouse_.x() - hoverPos_.x()) > kHoverSlack ||
        std::abs(lastMouse_.y() - hoverPos_.y()) > kHoverSlack || TokenAt(lastMouse_) != hoverToken_)
        return;
    const QPoint global = viewport()->mapToGlobal(lastMouse_);
    const QScreen* s = QGuiApplication::screenAt(global);
    if (!s)
        s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect work = s ? s->availableGeometry() : QRect(0, 0, 1 << 20, 1 << 20);
    hover_ = new ResultHoverCard(tokens_[static_cast<size_t>(hoverToken_)].entry, fonts_, cardColors_, logicalDpiY(),
                                 this, work.width());
    // Beside the word's line, never over it: the pointer stays on the word.
    const QRect word = TokenRect(hoverToken_);
    const int rowTop = viewport()->mapToGlobal(word.topLeft()).y();
    const CardPlace place =
        PlaceCardOffRow(global.x(), rowTop, rowTop + word.height(), hover_->width(), hover_->height(),
                        WorkArea{work.left(), work.top(), work.right() + 1, work.bottom() + 1});
    hover_->move(place.x, place.y);
    hover_->show();
    watch_.Start();
}

void ReaderView::CloseHover()
{
    hoverTimer_.stop();
    watch_.Stop();
    if (hover_)
        hover_->close();
    hover_ = nullptr;
}

ResultHoverCard* ReaderView::hoverCard() const { return hover_.data(); }

void ReaderView::leaveEvent(QEvent* event)
{
    CloseHover();
    QAbstractScrollArea::leaveEvent(event);
}

void ReaderView::hideEvent(QHideEvent* event)
{
    CloseHover();
    QAbstractScrollArea::hideEvent(event);
}

void ReaderView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopyWithReadings();
        return;
    }
    const int n = static_cast<int>(tokens_.size());
    int next = -1;
    switch (event->key()) {
    case Qt::Key_Right: next = NextWord(current_ < 0 ? -1 : current_, 1); break;
    case Qt::Key_Left: next = NextWord(current_ < 0 ? n : current_, -1); break;
    case Qt::Key_Home: next = NextWord(-1, 1); break;
    case Qt::Key_End: next = NextWord(n, -1); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    if (next >= 0)
        Choose(next);
}

void ReaderView::contextMenuEvent(QContextMenuEvent* event)
{
    if (tokens_.empty())
        return;
    CloseHover();
    QMenu menu(this);
    QAction* copy = menu.addAction(QCoreApplication::translate("Mirudex", "Copy with readings"));
    copy->setShortcut(QKeySequence::Copy);
    if (menu.exec(event->globalPos()) == copy)
        CopyWithReadings();
}

}  // namespace mirudex::ui
