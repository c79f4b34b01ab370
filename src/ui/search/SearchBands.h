#pragma once
// The band strip at the top of the search window: nine bands in a row
// (nothing; the language, substring, option and conversion tool bars; the
// encoding list; the results field; the Search button; the random buttons),
// three of them with a caption at their left. Every band is as large as its
// content asks (fonts, pictures and the screen's scale decide); bands that do
// not fit the width go on a new row, so heightForWidth() gives the strip's
// height.
//
// The strip only shows and reports: a click on a button is handed to the
// search window as commandTriggered(id) after Qt has toggled the button, and
// the window decides what the state means. User-interface thread only.

#include <QWidget>
#include <map>
#include <vector>

class QAction;
class QActionGroup;
class QComboBox;
class QLineEdit;
class QLayout;
class QToolButton;

namespace mirudex::ui {

class SearchBands : public QWidget {
    Q_OBJECT
public:
    explicit SearchBands(QWidget* parent = nullptr);

    // The action of a tool bar command (button id), or nullptr.
    QAction* Action(int id) const;
    QToolButton* Button(int id) const;
    // The strip's controls in the order Tab visits them: the buttons band by
    // band, the encoding list, the results field, Search and the random buttons.
    const std::vector<QWidget*>& Controls() const { return controls_; }
    bool IsChecked(int id) const;
    // Marks a button without sending its command.
    void SetChecked(int id, bool checked);

    // The encoding list: one item per row of the encoding table, the item
    // index being the row's position.
    QComboBox* encodingList() const { return encodingList_; }
    // Whether the item at index is an encoding this system can convert (not a
    // heading, not one that iconv cannot open here: those are shown disabled).
    bool EncodingAvailable(int index) const;
    // The maximum-results field (digits only).
    QLineEdit* resultsField() const { return resultsField_; }

    void SetMiscFont(const QFont& font);

signals:
    void commandTriggered(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* AddBand(const QString& caption);
    QWidget* AddToolBar(QWidget* band, std::initializer_list<int> ids);
    QToolButton* AddButton(QWidget* bar, int id, bool checkable);
    void OnEncodingActivated(int index);

    QLayout* layout_ = nullptr;
    std::map<int, QAction*> actions_;
    std::map<int, QToolButton*> buttons_;
    std::vector<QWidget*> controls_;
    QActionGroup* typeGroup_ = nullptr;
    QComboBox* encodingList_ = nullptr;
    QLineEdit* resultsField_ = nullptr;
};

}  // namespace mirudex::ui
