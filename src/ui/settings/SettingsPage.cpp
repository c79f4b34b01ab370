#include "ui/settings/SettingsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "core/Registry.h"
#include "platform/api/Platform.h"

namespace mirudex::ui {

QString FontLabelText(const std::string& face, int points)
{
    return QStringLiteral("%1, %2 pt.").arg(QString::fromStdString(face)).arg(points);
}

std::string OptionText(const QString& typed)
{
    const std::string text = typed.toStdString();
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ':' && i + 1 < text.size() && text[i + 1] == ':') {
            out += "\\:\\:";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

int AtoiText(const QString& text, int maxChars)
{
    const std::string bytes = text.left(maxChars).toStdString();
    errno = 0;
    const long value = std::strtol(bytes.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

SettingsPage::SettingsPage(SettingsContext& context, int id, const QString& caption, QWidget* parent)
    : QWidget(parent), ctx_(context), options_(context.options), id_(id)
{
    setObjectName(QString::number(id));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 0, 6, 6);
    group_ = new QGroupBox(caption, this);
    outer->addWidget(group_);
    new QVBoxLayout(group_);
}

QPushButton* SettingsPage::Button(int controlId, const QString& text)
{
    auto* button = new QPushButton(text, group_);
    button->setObjectName(QString::number(controlId));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, controlId] { OnCommand(controlId); });
    return button;
}

QCheckBox* SettingsPage::Check(int controlId, const QString& text)
{
    auto* check = new QCheckBox(text, group_);
    check->setObjectName(QString::number(controlId));
    connect(check, &QCheckBox::clicked, this, [this, controlId] { OnCommand(controlId); });
    return check;
}

QLineEdit* SettingsPage::Edit(int controlId)
{
    auto* edit = new QLineEdit(group_);
    edit->setObjectName(QString::number(controlId));
    return edit;
}

QLabel* SettingsPage::Label(int controlId, const QString& text)
{
    auto* label = new QLabel(text, group_);
    label->setObjectName(QString::number(controlId));
    return label;
}

QCheckBox* SettingsPage::BoolCheck(int controlId, const QString& text, std::string_view key)
{
    QCheckBox* check = Check(controlId, text);
    check->setChecked(options_.GetBOOL(key));
    return check;
}

void SettingsPage::StoreCheck(int controlId, std::string_view key)
{
    if (auto* check = Control<QCheckBox>(controlId))
        options_.SetBOOL(key, check->isChecked());
}

void SettingsPage::ShowFont(QLabel* label, const opt::FontItems& font)
{
    label->setText(FontLabelText(options_.GetString(font.face), options_.GetINT(font.size)));
}

bool SettingsPage::ChooseFont(const opt::FontItems& font, QLabel* label)
{
    const platform::FontChoice initial{options_.GetString(font.face), options_.GetINT(font.size)};
    const auto chosen = platform::Get().ChooseFont(initial, 6, 100);
    if (!chosen)
        return false;
    options_.SetSTRING(font.face, chosen->face);
    options_.SetINT(font.size, chosen->pointSize);
    if (label)
        ShowFont(label, font);
    return true;
}

bool SettingsPage::ChooseColor(std::string_view key)
{
    const auto chosen = platform::Get().ChooseColor(options_.GetINT(key));
    if (!chosen)
        return false;
    options_.SetINT(key, *chosen);
    return true;
}

}  // namespace mirudex::ui
