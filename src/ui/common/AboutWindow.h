#pragma once
// The About window "About Mirudex": the program's picture, name and version
// and three links (home page, web site, contact address), each after its
// heading or, when it does not fit, on the line below it; under them the
// program's licence and the credit of the dictionaries' owners. At most one
// exists; it deletes itself when closed.

#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QWidget>
#include <functional>

#include "core/Registry.h"

namespace mirudex::ui {

class AboutWindow : public QWidget {
    Q_OBJECT
public:
    AboutWindow(Registry& registry, QWidget* owner);

    // The measured boxes of the three links (empty until the first paint).
    QRect linkRect(int index) const { return links_[index]; }
    // The box the licence and credit text took at the last paint.
    QRect creditRect() const { return credit_; }
    // What a click on link index opens: an address, a local file's URL or a mailto: URL.
    QUrl LinkUrl(int index) const;

    // Opens addresses, answering whether something opened it; tests replace it.
    static void SetUrlOpener(std::function<bool(const QUrl&)> opener);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPushButton* okay_;
    QPixmap picture_;
    QRect links_[3];
    QRect credit_;
};

// The licence and the credit of the dictionaries, as the About window shows them.
QString AboutCredits();

// A build-time address as something to open: web and mail addresses as they
// are, a relative file name (the shipped user guide) found beside the program.
QUrl ResolveAddress(const QString& address);

// The user guide (docs/index.html), where ResolveAddress finds it.
QUrl UserGuideUrl();

// Opens an address with the desktop's own program for it. When that cannot be
// done (the file is not there, nothing on this system opens such addresses)
// a message box says so and, for a file, where it is; the answer is false.
bool OpenLink(const QUrl& url);

}  // namespace mirudex::ui
