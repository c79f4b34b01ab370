#pragma once
// What every page of the settings dialog shares: where it reads and writes
// (SettingsContext), one command handler per page that every button and
// check box of the page reaches with its control id, and the font and colour
// protocols of the "Font" and "Color" buttons.
//
// Threads: user-interface thread only.

#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mirudex {
class Registry;
}
namespace mirudex::opt {
struct FontItems;
}
namespace mirudex::dict {
struct DictionaryStore;
}

namespace mirudex::ui {

struct Resources;
class SettingsHost;

// Everything the pages work on; owned elsewhere, outliving the dialog.
struct SettingsContext {
    Registry& options;
    // The shared fonts and colours; a page remakes them after a change.
    Resources& resources;
    // edict_dictionaries: the Dictionaries page renames and removes records.
    dict::DictionaryStore& store;
    SettingsHost& host;
    // thread_searching: a worker runs and may be reading the dictionary list.
    std::function<bool()> thread_searching;
    // Vertical dots per inch the fonts are made for.
    int dpiY = 96;
};

// "%S, %i pt." of a font label.
QString FontLabelText(const std::string& face, int points);
// The options text of a value typed by the user. A line of the options file
// cannot hold "::" (it separates the fields), so each one is written the
// way the copy formats write a literal double colon, "\:\:".
std::string OptionText(const QString& typed);
// What the C library's string-to-integer reading makes of the first maxChars
// characters: blanks, an optional sign, digits up to the first other
// character; 0 when there are none. Values beyond int are clamped.
int AtoiText(const QString& text, int maxChars);

class SettingsPage : public QWidget {
    Q_OBJECT
public:
    // id: the page's dialog resource (objectName); caption: its group box.
    SettingsPage(SettingsContext& context, int id, const QString& caption, QWidget* parent);

    int id() const { return id_; }
    // What a click of the control with this id does on this page.
    virtual void OnCommand(int controlId) = 0;

protected:
    // Controls whose objectName is their id; buttons and check boxes send
    // OnCommand(id) when clicked.
    QPushButton* Button(int controlId, const QString& text);
    QCheckBox* Check(int controlId, const QString& text);
    QLineEdit* Edit(int controlId);
    QLabel* Label(int controlId, const QString& text = QString());
    // A check box from a BOOL option, and the option from the check box.
    QCheckBox* BoolCheck(int controlId, const QString& text, std::string_view key);
    void StoreCheck(int controlId, std::string_view key);
    template <typename T>
    T* Control(int controlId) const
    {
        return findChild<T*>(QString::number(controlId));
    }

    // Font protocol on a font key's face and size items: true when a font was
    // chosen and stored. The label, if given, shows "%S, %i pt." afterwards.
    bool ChooseFont(const opt::FontItems& font, QLabel* label = nullptr);
    // Colour protocol on one INT key: true when a colour was chosen and stored.
    bool ChooseColor(std::string_view key);
    // Shows the face and size of a font key.
    void ShowFont(QLabel* label, const opt::FontItems& font);

    SettingsContext& ctx_;
    Registry& options_;
    QGroupBox* group_;

private:
    int id_;
};

}  // namespace mirudex::ui
