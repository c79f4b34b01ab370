#pragma once
// "Change Desciption" (133): shows a dictionary's file and description and
// lets the user type a new description. OK (1) accepts, Cancel (2) changes
// nothing; the caller stores the result.

#include <QDialog>

namespace mirudex::ui {

class ChangeDescriptionDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxDescription = 4999;

    ChangeDescriptionDialog(const QString& path, const QString& description, QWidget* parent);

    // The typed description, at most kMaxDescription characters.
    QString description() const;
};

}  // namespace mirudex::ui
