#pragma once
// The smaller pages of the settings dialog: "Mirudex" (131), "Miscellaneous
// Options" (136), "Search Window" (134), "The Recent History List" (146),
// "Radical Lookup Options" (141) and "Copying EDICT Entries" (142). Every
// change is stored and applied at once, except on the copy page, which
// stores nothing until its Apply button.

#include <QPointer>

#include "ui/settings/SettingsPage.h"

namespace mirudex::ui {

class SettingsMainPage : public SettingsPage {
    Q_OBJECT
public:
    SettingsMainPage(SettingsContext& context, QWidget* parent);
    void OnCommand(int controlId) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Makes this "Set" button the default of the page and of the dialog, so that Enter applies it.
    void MakeDefault(int buttonId);
};

class SettingsMiscPage : public SettingsPage {
    Q_OBJECT
public:
    SettingsMiscPage(SettingsContext& context, QWidget* parent);
    void OnCommand(int controlId) override;
};

class SettingsSearchPage : public SettingsPage {
    Q_OBJECT
public:
    SettingsSearchPage(SettingsContext& context, QWidget* parent);
    void OnCommand(int controlId) override;

private:
    // The font label drawn in the search text colour on the window background.
    void ShowPreview();
};

class SettingsHistoryPage : public SettingsPage {
    Q_OBJECT
public:
    SettingsHistoryPage(SettingsContext& context, QWidget* parent);
    void OnCommand(int controlId) override;
};

class SettingsRadicalPage : public SettingsPage {
    Q_OBJECT
public:
    SettingsRadicalPage(SettingsContext& context, QWidget* parent);
    void OnCommand(int controlId) override;
};

class SettingsCopyPage : public SettingsPage {
    Q_OBJECT
public:
    SettingsCopyPage(SettingsContext& context, QWidget* parent);
    void OnCommand(int controlId) override;
};

// The copy page's rule for a typed text: "{" in front unless it begins with
// "{", "}" at the end unless it ends with "}".
QString BraceWrapped(const QString& text);

}  // namespace mirudex::ui
