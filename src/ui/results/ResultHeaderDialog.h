#pragma once
// "Result Window Header Bars": one row of Top / Bottom / None radio buttons
// per header item (control id 1100 + item id x 3 + column) and OK. A choice
// takes effect at once through the callback; OK or Cancel closes the dialog.

#include <QDialog>
#include <functional>

#include "ui/model/ResultHeaderItems.h"

namespace mirudex::ui {

inline constexpr int kHeaderDialogFirstRadio = 1100;

class ResultHeaderDialog : public QDialog {
    Q_OBJECT
public:
    // onChoice(item id, bar) with bar 0 top, 1 bottom, -1 none.
    ResultHeaderDialog(const ResultHeaderItems& items, std::function<void(int, int)> onChoice, QWidget* parent);
};

}  // namespace mirudex::ui
