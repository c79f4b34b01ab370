// A dictionary of EDICT2 lines (several written forms and readings with
// their tags, an entry id) searched as a learner searches it: every form
// finds its entry, as one row, with the info and meanings a learner reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "SearchFixture.h"
#include "core/OptionNames.h"
#include "dict/Dictionary.h"
#include "dict/Edict2Line.h"
#include "dict/JmdictImport.h"
#include "platform/api/Utf.h"
#include "search/EnglishSearch.h"
#include "search/JapaneseSearch.h"
#include "support/TestSupport.h"

namespace mirudex::search::test {
namespace {

class Edict2SearchTest : public SearchTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        // With indexing on, the second load reads the index and companion files.
        options_.SetBOOL(opt::dictionaries::kIndexing, GetParam());
        std::filesystem::copy_file(mirudex::test::FixturePath("edict2-sample.txt"), "edict2");
        for (int load = 0; load < (GetParam() ? 2 : 1); ++load) {
            dictionary_ = std::make_unique<dict::Dictionary>();
            dictionary_->path = "edict2";
            dictionary_->name = "JMdict";
            dictionary_->encoding = "UTF-8";
            ASSERT_EQ(dict::EDICT_Index_Load(*dictionary_, options_), dict::LoadOutcome::Done);
        }
        store_.marker_table.Add(u"n", u"noun (common) (futsuumeishi)");
        store_.marker_table.Add(u"uk", u"word usually written using kana alone");
        store_.marker_table.Add(u"iK", u"word containing irregular kanji usage");
        store_.marker_table.Add(u"ateji", u"ateji (phonetic) reading");
        store_.edict_dictionaries.push_back(std::move(dictionary_));
    }

    // Wildcards stand where the search type would put them.
    const std::vector<dict::Entry>& Search(const std::string& text)
    {
        state_->edict_results[kResultList].clear();
        SearchFor(*state_, U(text));
        return state_->edict_results[kResultList];
    }

    std::unique_ptr<dict::Dictionary> dictionary_;
};

TEST_P(Edict2SearchTest, TheFileIsReadAsEdict2AndEveryFormFindsItsEntryOnce)
{
    EXPECT_EQ(store_.edict_dictionaries[0]->form, dict::LineForm::Edict2);
    struct Case {
        const char* search;
        const char* word;  // the row: all forms of the line
        const char* kana;
    };
    const Case cases[] = {
        {"猫", "猫", "ねこ;ネコ"},
        {"ネコ", "猫", "ねこ;ネコ"},
        {"ねこ", "猫", "ねこ;ネコ"},
        // Outside the Basic Multilingual Plane.
        {"𠮟る", "𠮟る;叱る", "しかる"},
        {"叱る", "𠮟る;叱る", "しかる"},
        {"しかる", "𠮟る;叱る", "しかる"},
        // A restricted reading is kept with the form it belongs to.
        {"すく", "空く;開く", "あく;すく(空く)"},
        {"開く", "空く;開く", "あく;すく(空く)"},
        {"喰べる", "食べる;喰べる", "たべる"},
        // Kana only: the forms are the readings.
        {"ありがとう", "ありがとう", "ありがとう"},
        {"ゆく", "行く;逝く;往く", "いく;ゆく"},
        {"往く", "行く;逝く;往く", "いく;ゆく"},
        {"小猫", "子猫;仔猫;小猫", "こねこ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.search);
        const auto& rows = Search(c.search);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].word, U(c.word));
        EXPECT_EQ(rows[0].kana, U(c.kana));
        EXPECT_EQ(rows[0].relevance, Search(c.search)[0].relevance);
    }
    // Several forms of one line match a search: still one row.
    EXPECT_EQ(Search("＿猫＿").size(), 2u);  // 猫 and 子猫;仔猫;小猫
    EXPECT_EQ(Search("＿く").size(), 2u);    // 空く;開く and 行く;逝く;往く
    EXPECT_EQ(Search("こね＿").size(), 1u);
}

TEST_P(Edict2SearchTest, InfoAndMeaningsReadAsALearnerExpects)
{
    const auto& cat = Search("猫");
    ASSERT_EQ(cat.size(), 1u);
    // Senses keep their numbers and tags (a marker between words leaves one
    // blank, as in plain lines); the entry id is no meaning.
    EXPECT_EQ(cat[0].meanings, (std::vector<std::u16string>{u"(1) cat (esp. the domestic cat)", u"(2) shamisen"}));
    const std::vector<std::u16string> catInfo = {u"noun (common) (futsuumeishi)",
                                                 u"word usually written using kana alone", u"One of top 20,000 words"};
    EXPECT_EQ(cat[0].info, catInfo);

    const auto& eat = Search("たべる");
    ASSERT_EQ(eat.size(), 1u);
    EXPECT_NE(std::find(eat[0].info.begin(), eat[0].info.end(), u"喰べる: word containing irregular kanji usage"),
              eat[0].info.end());
    EXPECT_EQ(std::count(eat[0].info.begin(), eat[0].info.end(), u"One of top 20,000 words"), 1);

    const auto& little = Search("一寸");
    ASSERT_EQ(little.size(), 1u);
    EXPECT_EQ(little[0].info.back(), u"一寸: ateji (phonetic) reading");

    for (const auto& rows : {Search("パン"), Search("電算機")}) {
        ASSERT_EQ(rows.size(), 1u);
        for (const std::u16string& meaning : rows[0].meanings)
            EXPECT_EQ(meaning.find(u"EntL"), std::u16string::npos) << meaning.size();
    }
}

TEST_P(Edict2SearchTest, EnglishFindsEachEntryOnceAndNeverItsId)
{
    struct Case {
        const char* search;
        size_t rows;
    };
    for (const Case& c : {Case{"scold", 1}, Case{"cat", 1}, Case{"kitten", 1}, Case{"entl", 0}}) {
        SCOPED_TRACE(c.search);
        state_->edict_results[kResultList].clear();
        state_->search_options.type = SearchType::Exact;
        SearchFor_English(*state_, U(c.search));
        EXPECT_EQ(state_->edict_results[kResultList].size(), c.rows);
    }
}

INSTANTIATE_TEST_SUITE_P(Indexing, Edict2SearchTest, ::testing::Bool());

// Every written form and every reading of every line, of our EDICT2 file and
// of what the JMdict import makes of our JMdict file, finds exactly that line
// once.
TEST_F(SearchTest, EveryFormOfEveryLineFindsItsLine)
{
    std::string imported;
    const auto outcome =
        dict::ImportJmdictText(mirudex::test::ReadFile(mirudex::test::FixturePath("jmdict-sample.xml")), imported,
                               dict::kJmdictDefaultLanguage);
    ASSERT_EQ(outcome.status, dict::ImportStatus::Done);
    // A JMdict file of three entries with many forms each (in the second,
    // each reading belongs to one written form): one record a form.
    auto two = [](int first, char16_t second) { return Utf16ToUtf8(std::u16string{char16_t(first), second}); };
    std::string xml = "<JMdict>";
    for (int e = 0; e < 3; ++e) {
        xml += "<entry><ent_seq>" + std::to_string(e + 1) + "</ent_seq>";
        for (int k = 0; k < 40; ++k)
            xml += "<k_ele><keb>" + two(0x4E00 + e * 100 + k, u'語') + "</keb></k_ele>";
        for (int r = 0; r < 30; ++r) {
            xml += "<r_ele><reb>" + two((e < 2 ? 0x3041 + e * 30 : 0x30A1) + r, u'ご') + "</reb>";
            if (e == 1)
                xml += "<re_restr>" + two(0x4E00 + e * 100 + r, u'語') + "</re_restr>";
            xml += "</r_ele>";
        }
        xml += "<sense><gloss>word " + std::to_string(e) + "</gloss></sense></entry>";
    }
    std::string manyForms;
    ASSERT_EQ(dict::ImportJmdictText(xml + "</JMdict>", manyForms, dict::kJmdictDefaultLanguage).status,
              dict::ImportStatus::Done);
    struct File {
        const char* name;
        std::string text;
        size_t lines, records;
    };
    const File files[] = {
        {"edict2", mirudex::test::ReadFile(mirudex::test::FixturePath("edict2-sample.txt")), 12, 0},
        {"jmdict.edict2", imported, 12, 0},
        {"forms.edict2", manyForms, 3, (40 + 29) + 40 + (40 + 29)},
    };
    for (const auto& [name, text, expectedLines, records] : files) {
        SCOPED_TRACE(name);
        mirudex::test::WriteFile(name, text);
        auto d = std::make_unique<dict::Dictionary>();
        d->path = name;
        d->name = name;
        d->encoding = "UTF-8";
        ASSERT_EQ(dict::EDICT_Index_Load(*d, options_), dict::LoadOutcome::Done);
        if (records > 0)
            EXPECT_EQ(d->index.size(), records);
        store_.edict_dictionaries.clear();
        store_.edict_dictionaries.push_back(std::move(d));
        size_t lines = 0;
        for (size_t start = 0; start < text.size(); ++lines) {
            const size_t end = text.find('\n', start);
            const std::string line = text.substr(start, end - start + 1);
            start = end + 1;
            const dict::Edict2Line parsed = dict::ParseEdict2Line(U(line));
            for (const auto* forms : {&parsed.headwords, &parsed.readings}) {
                for (const dict::Edict2Form& form : *forms) {
                    SCOPED_TRACE(line);
                    state_->edict_results[kResultList].clear();
                    SearchFor(*state_, form.text);
                    const auto& rows = state_->edict_results[kResultList];
                    EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                                            [&](const dict::Entry& e) { return e.rawLine == line; }),
                              1);
                }
            }
        }
        EXPECT_EQ(lines, expectedLines);
    }
}

}  // namespace
}  // namespace mirudex::search::test
