#pragma once
// The main window's status bar (control id 100): two parts, the first ending
// at 90 % of the client width, the second running to the right edge. Part 0
// carries progress and result texts, part 1 the input-method state.

#include <QLabel>
#include <QWidget>

namespace mirudex::ui {

class StatusBar : public QWidget {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent);

    void SetText(int part, const QString& text);
    QString Text(int part) const;
    // Lays the two parts out for a client width.
    void SetParts(int clientWidth);
    int PartRight(int part) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* parts_[2];
};

}  // namespace mirudex::ui
