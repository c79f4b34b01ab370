// The Qt platform's clipboard watching and the copy in two forms, over the
// real clipboard of the offscreen platform; the translations and the texts
// of the layers below, shown in the user's language.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>
#include <map>

#include "platform/qt/QtPlatform.h"
#include "platform/qt/Translation.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::platform {
namespace {

TEST(QtPlatformTest, ClipboardWatchingFollowsEveryChangeUntilStopped)
{
    QtPlatform qt;
    int changes = 0;
    qt.WatchClipboard([&] { ++changes; });
    QApplication::clipboard()->setText(QStringLiteral("ねこ"));
    MIRUDEX_WAIT_FOR(changes == 1);
    // A second watcher replaces the first.
    int second = 0;
    qt.WatchClipboard([&] { ++second; });
    QApplication::clipboard()->setText(QStringLiteral("いぬ"));
    MIRUDEX_WAIT_FOR(second == 1);
    EXPECT_EQ(changes, 1);
    qt.WatchClipboard({});
    QApplication::clipboard()->setText(QStringLiteral("とり"));
    QCoreApplication::processEvents();
    EXPECT_EQ(second, 1);
}

// Text and HTML go onto the clipboard as one copy: a program that pastes
// either finds its form, and a later plain copy replaces both.
TEST(QtPlatformTest, TextAndHtmlAreOneCopy)
{
    QtPlatform qt;
    qt.SetClipboardTextAndHtml(u"猫[ねこ]が", u"<ruby>猫<rt>ねこ</rt></ruby>が");
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->text(), QStringLiteral("猫[ねこ]が"));
    EXPECT_EQ(mime->html(), QStringLiteral("<ruby>猫<rt>ねこ</rt></ruby>が"));
    EXPECT_EQ(qt.ClipboardText(), std::optional<std::u16string>(u"猫[ねこ]が"));
    qt.SetClipboardText(u"犬");
    EXPECT_FALSE(QApplication::clipboard()->mimeData()->hasHtml());
}

// ---- translations ----------------------------------------------------------

struct TsMessage {
    QString source;
    QString translation;
    QString type;  // "unfinished", "obsolete", "vanished" or empty
};

std::vector<TsMessage> ReadTs(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    std::vector<TsMessage> messages;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("message")) {
            messages.emplace_back();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("source")) {
            messages.back().source = xml.readElementText();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("translation")) {
            messages.back().type = xml.attributes().value(QLatin1String("type")).toString();
            messages.back().translation = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

// The placeholders of a text: Qt's numbered ones as a sorted set, the
// formatter's in their order (the values go into them in that order).
QStringList Placeholders(const QString& text)
{
    static const QRegularExpression numbered(QStringLiteral("%[1-9]"));
    static const QRegularExpression formatted(QStringLiteral("%[-0-9]*[sSciduxX]|%(word|kana|meaning|info)"));
    QStringList out;
    for (auto it = numbered.globalMatch(text); it.hasNext();)
        out << it.next().captured();
    out.sort();
    for (auto it = formatted.globalMatch(text); it.hasNext();)
        out << it.next().captured();
    return out;
}

// A mnemonic: "&" before a letter or digit ("&&" and "& " are none).
int MnemonicCount(const QString& text)
{
    static const QRegularExpression mnemonic(QStringLiteral("(?<!&)&[^&\\s]"));
    return static_cast<int>(text.count(mnemonic));
}

TEST(TranslationTest, EveryShippedTranslationIsFinishedAndKeepsPlaceholdersAndMnemonics)
{
    const QString dir = QStringLiteral(MIRUDEX_SOURCE_DIR "/translations/");
    for (const char* language : {"ja", "de"}) {
        SCOPED_TRACE(language);
        const std::vector<TsMessage> messages = ReadTs(dir + QStringLiteral("mirudex_%1.ts").arg(language));
        ASSERT_GT(messages.size(), 300u);
        int finished = 0;
        for (const TsMessage& m : messages) {
            const std::string source = m.source.toStdString();
            if (m.type == QLatin1String("obsolete") || m.type == QLatin1String("vanished"))
                continue;
            EXPECT_TRUE(m.type.isEmpty()) << "unfinished: " << source;
            EXPECT_FALSE(m.translation.trimmed().isEmpty()) << "empty: " << source;
            EXPECT_EQ(Placeholders(m.translation), Placeholders(m.source)) << source;
            EXPECT_EQ(MnemonicCount(m.translation), MnemonicCount(m.source)) << source;
            // A shortcut shown after a tab stays after one.
            EXPECT_EQ(m.translation.count(u'\t'), m.source.count(u'\t')) << source;
            EXPECT_EQ(m.translation.endsWith(u'\n'), m.source.endsWith(u'\n')) << source;
            finished += m.type.isEmpty() && !m.translation.isEmpty() ? 1 : 0;
        }
        EXPECT_EQ(finished, static_cast<int>(messages.size()));
    }
}

TEST(TranslationTest, TextsOfTheLayersBelowAreShownInTheUsersLanguage)
{
    struct Case {
        const char* shown;  // as the layer below wrote it
        const char* ja;
        const char* de;
    };
    const Case cases[] = {
        // Whole texts and captions.
        {"Error", "エラー", "Fehler"},
        {"Mirudex is ready to go.", "Mirudex の準備ができました。", "Mirudex ist bereit."},
        // Values go into the translation's placeholders in their order, and
        // may hold anything (a path, line ends, a placeholder of their own).
        {"Loading EDICT: /usr/share/edict/edict...", "EDICT を読み込んでいます: /usr/share/edict/edict...",
         "EDICT wird geladen: /usr/share/edict/edict..."},
        {"Getting file (a%S.txt) from (b\n.host)...", "ファイル（a%S.txt）を（b\n.host）から取得しています...",
         "Datei (a%S.txt) wird von (b\n.host) geholt..."},
        {"Search complete (12 results) ", "検索完了（12 件） ", "Suche abgeschlossen (12 Ergebnisse) "},
        // The program's own notes in a value are shown translated, one or several.
        {"Search complete (200 results) -Results truncated-", "検索完了（200 件） -表示件数の上限で打ち切りました-",
         "Suche abgeschlossen (200 Ergebnisse) -Ergebnisse gekürzt-"},
        {"Search complete (3 results) -Results truncated- -Nothing as typed: searched its dictionary form-",
         "検索完了（3 件） -表示件数の上限で打ち切りました- -入力どおりでは見つからず、辞書形で検索しました-",
         "Suche abgeschlossen (3 Ergebnisse) -Ergebnisse gekürzt- -Wie eingegeben nichts gefunden: nach der "
         "Wörterbuchform gesucht-"},
        // So is what a message names; the reason the system gave stays.
        {"Mirudex could not save your settings to the file Options.mxreg:\n\nNo space left on device.\n\nThe file "
         "has been left as it was; the changes of this run are not in it.",
         "Mirudex は設定をファイル Options.mxreg に保存できませんでした:\n\nNo space left on device。\n\nファイルは"
         "元のままです。今回の変更は保存されていません。",
         "Mirudex konnte Ihre Einstellungen nicht in der Datei Options.mxreg speichern:\n\nNo space left on "
         "device.\n\nDie Datei ist unverändert geblieben; die Änderungen dieser Sitzung sind nicht darin."},
        // A value that only looks like notes, or a name between dashes, stays.
        {"Loading EDICT: -Results truncated- x...", "EDICT を読み込んでいます: -Results truncated- x...",
         "EDICT wird geladen: -Results truncated- x..."},
        // A longer pattern that the text only begins like is not taken.
        {"Getting file (x) from (y)... OKAY!", "ファイル（x）を（y）から取得しています... 完了！",
         "Datei (x) wird von (y) geholt... OK!"},
        // Texts the program does not know stay as they are.
        {"猫 [ねこ] /(n) cat/", "猫 [ねこ] /(n) cat/", "猫 [ねこ] /(n) cat/"},
        {"", "", ""},
    };
    for (const char* locale : {"en_US", "ja_JP", "de_DE"}) {
        SCOPED_TRACE(locale);
        const bool loaded = InstallTranslations(QLocale(QString::fromLatin1(locale)));
        EXPECT_EQ(loaded, locale[0] != 'e');
        for (const Case& c : cases) {
            const char* expected = locale[0] == 'j' ? c.ja : locale[0] == 'd' ? c.de : c.shown;
            EXPECT_EQ(ShownText(QString::fromUtf8(c.shown)), QString::fromUtf8(expected)) << c.shown;
        }
    }
    RemoveTranslations();
    EXPECT_EQ(ShownText(QStringLiteral("Error")), QStringLiteral("Error"));
    EXPECT_EQ(Tr("&File"), QStringLiteral("&File"));
    // A locale the program has no translation for shows English.
    EXPECT_FALSE(InstallTranslations(QLocale(QLocale::Swahili, QLocale::Kenya)));
    EXPECT_EQ(ShownText(QStringLiteral("Error")), QStringLiteral("Error"));
}

TEST(TranslationTest, MnemonicsAreLeftOutOfTextsReadAloud)
{
    const std::pair<const char*, const char*> cases[] = {{"&File", "File"},
                                                         {"Ka&na length", "Kana length"},
                                                         {"ファイル(&F)", "ファイル"},
                                                         {"情報(&I):", "情報:"},
                                                         {"Fish && chips", "Fish & chips"},
                                                         {"A&&&B", "A&B"},
                                                         {"(&)", "()"},
                                                         {"plain", "plain"},
                                                         {"", ""}};
    for (const auto& [text, read] : cases)
        EXPECT_EQ(WithoutMnemonic(QString::fromUtf8(text)), QString::fromUtf8(read)) << text;
}

// Every pattern, written out with values, comes back translated with every
// value in it: no translation loses a value or takes it for its own text.
TEST(TranslationTest, EveryPatternKeepsItsValuesInEveryLanguage)
{
    static const QRegularExpression placeholder(QStringLiteral("%[-0-9]*[sSciduxX]"));
    for (const char* locale : {"ja_JP", "de_DE"}) {
        SCOPED_TRACE(locale);
        ASSERT_TRUE(InstallTranslations(QLocale(QString::fromLatin1(locale))));
        for (const char* pattern : ShownTextPatterns()) {
            QString written = QString::fromUtf8(pattern);
            QStringList values;
            for (int n = 0; written.contains(placeholder); ++n) {
                values << QStringLiteral("⟨value %1⟩").arg(n);
                written.replace(written.indexOf(placeholder), placeholder.match(written).capturedLength(),
                                values.back());
            }
            const QString shown = ShownText(written);
            // (A whole text may read the same: "Info" in German.)
            if (!values.empty())
                EXPECT_NE(shown, written) << "not translated: " << pattern;
            qsizetype at = 0;
            for (const QString& value : values) {
                const qsizetype found = shown.indexOf(value, at);
                EXPECT_GE(found, 0) << pattern << " lost " << value.toStdString();
                at = found < 0 ? at : found + value.size();
            }
        }
    }
    RemoveTranslations();
}

}  // namespace
}  // namespace mirudex::platform
