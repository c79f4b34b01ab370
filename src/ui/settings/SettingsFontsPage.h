#pragma once
// The two font-and-colour pages, "Kanji Window" (132) and "Result Window"
// (101). Both have the same arrangement: four rows of a preview label, a
// Font button (none for the kanji page's Kun row, which uses the On font)
// and a Color button; two radio buttons choosing which row background the
// previews are drawn on and which one its Color button sets; and the outer
// border, inner border and window colours.

#include <array>

#include "ui/settings/SettingsPage.h"

class QRadioButton;

namespace mirudex::ui {

struct FontRowLayout {
    const char* title;
    int labelId;
    int fontId;  // 0: no Font button
    int colorId;
    const opt::FontItems* font;  // the face and size the label shows
    std::string_view colorKey;   // the row's Color item
};

struct FontsPageLayout {
    int pageId;
    const char* caption;
    bool kanji;  // which window's fonts and colours the page changes
    std::array<FontRowLayout, 4> rows;
    int radio1Id, radio2Id, backgroundColorId;
    std::string_view bg1Key;
    std::string_view bg2Key;
    int outsideId, insideId, windowId;
    std::string_view outsideKey;
    std::string_view insideKey;
    std::string_view windowKey;
};

// The result page's check box for one-line rows (.\Results\CompactRows).
inline constexpr int kCompactRowsId = 1070;

extern const FontsPageLayout kKanjiPageLayout;
extern const FontsPageLayout kResultPageLayout;

class SettingsFontsPage : public SettingsPage {
    Q_OBJECT
public:
    SettingsFontsPage(SettingsContext& context, const FontsPageLayout& layout, QWidget* parent);
    void OnCommand(int controlId) override;

private:
    // Every label's text, and its colour on the background the radio buttons choose.
    void ShowPreviews();
    void FontChanged(const FontRowLayout& row);
    void ColorChanged();

    const FontsPageLayout& layout_;
};

}  // namespace mirudex::ui
