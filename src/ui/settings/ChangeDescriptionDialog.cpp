#include "ui/settings/ChangeDescriptionDialog.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirudex::ui {

ChangeDescriptionDialog::ChangeDescriptionDialog(const QString& path, const QString& description, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("133"));
    setWindowTitle(QCoreApplication::translate("Mirudex", "Change Desciption"));
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* file = new QLabel(path, this);
    file->setObjectName(QStringLiteral("1037"));
    auto* current = new QLabel(description, this);
    current->setObjectName(QStringLiteral("1038"));
    auto* edit = new QLineEdit(description, this);
    edit->setObjectName(QStringLiteral("1000"));
    edit->setMaxLength(kMaxDescription);
    edit->setMinimumWidth(320);
    form->addRow(QCoreApplication::translate("Mirudex", "File:"), file);
    form->addRow(QCoreApplication::translate("Mirudex", "Description:"), current);
    form->addRow(QCoreApplication::translate("Mirudex", "&New description:"), edit);
    column->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QCoreApplication::translate("Mirudex", "OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QCoreApplication::translate("Mirudex", "Cancel"), this);
    cancel->setObjectName(QStringLiteral("2"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString ChangeDescriptionDialog::description() const
{
    return findChild<QLineEdit*>(QStringLiteral("1000"))->text().left(kMaxDescription);
}

}  // namespace mirudex::ui
