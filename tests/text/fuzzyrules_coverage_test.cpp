// The shipped rule file against inflected forms as they occur in running
// text: the dictionary form must be among the variants, and the variant list
// must stay short, since every variant is a search of its own.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/api/Utf.h"
#include "support/TestSupport.h"
#include "text/FuzzySearch.h"

using namespace mirudex;
using namespace mirudex::text;

namespace {

struct Form {
    const char16_t* inflected;
    const char16_t* dictionary;
};

// Grouped by what the form exercises; kanji and kana spellings mixed as
// running text has them.
const Form kForms[] = {
    // polite
    {u"食べます", u"食べる"},
    {u"食べました", u"食べる"},
    {u"食べません", u"食べる"},
    {u"食べませんでした", u"食べる"},
    {u"食べましょう", u"食べる"},
    {u"食べませんか", u"食べる"},
    {u"書きます", u"書く"},
    {u"書きました", u"書く"},
    {u"泳ぎます", u"泳ぐ"},
    {u"話しました", u"話す"},
    {u"待ちません", u"待つ"},
    {u"死にました", u"死ぬ"},
    {u"遊びましょう", u"遊ぶ"},
    {u"読みませんでした", u"読む"},
    {u"帰ります", u"帰る"},
    {u"会いましょうか", u"会う"},
    {u"行きます", u"行く"},
    {u"します", u"する"},
    {u"しました", u"する"},
    {u"勉強します", u"勉強"},
    {u"来ます", u"来る"},
    {u"きました", u"くる"},
    {u"いきます", u"いく"},
    {u"あります", u"ある"},
    {u"ありませんでした", u"ある"},
    {u"わかります", u"わかる"},
    // plain negative and its past
    {u"食べない", u"食べる"},
    {u"書かない", u"書く"},
    {u"買わない", u"買う"},
    {u"泳がない", u"泳ぐ"},
    {u"話さない", u"話す"},
    {u"待たない", u"待つ"},
    {u"死なない", u"死ぬ"},
    {u"遊ばない", u"遊ぶ"},
    {u"読まない", u"読む"},
    {u"わからない", u"わかる"},
    {u"しない", u"する"},
    {u"こない", u"くる"},
    {u"来ない", u"来る"},
    {u"見ない", u"見る"},
    {u"食べなかった", u"食べる"},
    {u"行かなかった", u"行く"},
    {u"しなかった", u"する"},
    {u"知らなかった", u"知る"},
    {u"飲まなかった", u"飲む"},
    // past
    {u"食べた", u"食べる"},
    {u"見た", u"見る"},
    {u"書いた", u"書く"},
    {u"泳いだ", u"泳ぐ"},
    {u"話した", u"話す"},
    {u"待った", u"待つ"},
    {u"死んだ", u"死ぬ"},
    {u"遊んだ", u"遊ぶ"},
    {u"読んだ", u"読む"},
    {u"買った", u"買う"},
    {u"帰った", u"帰る"},
    {u"行った", u"行く"},
    {u"いった", u"いく"},
    {u"言った", u"言う"},
    {u"した", u"する"},
    {u"勉強した", u"勉強"},
    {u"来た", u"来る"},
    {u"きた", u"くる"},
    {u"起きた", u"起きる"},
    {u"思った", u"思う"},
    {u"聞いた", u"聞く"},
    {u"住んだ", u"住む"},
    {u"呼んだ", u"呼ぶ"},
    {u"脱いだ", u"脱ぐ"},
    {u"貸した", u"貸す"},
    {u"持った", u"持つ"},
    {u"あった", u"ある"},
    {u"なった", u"なる"},
    // te-form
    {u"食べて", u"食べる"},
    {u"書いて", u"書く"},
    {u"泳いで", u"泳ぐ"},
    {u"話して", u"話す"},
    {u"待って", u"待つ"},
    {u"死んで", u"死ぬ"},
    {u"遊んで", u"遊ぶ"},
    {u"読んで", u"読む"},
    {u"買って", u"買う"},
    {u"帰って", u"帰る"},
    {u"行って", u"行く"},
    {u"いって", u"いく"},
    {u"して", u"する"},
    {u"来て", u"来る"},
    {u"きて", u"くる"},
    {u"見て", u"見る"},
    {u"使って", u"使う"},
    {u"立って", u"立つ"},
    // progressive
    {u"食べている", u"食べる"},
    {u"食べていた", u"食べる"},
    {u"食べてる", u"食べる"},
    {u"食べています", u"食べる"},
    {u"読んでいる", u"読む"},
    {u"読んでいた", u"読む"},
    {u"読んでる", u"読む"},
    {u"住んでいます", u"住む"},
    {u"書いている", u"書く"},
    {u"待っています", u"待つ"},
    {u"知っている", u"知る"},
    {u"していた", u"する"},
    {u"働いていません", u"働く"},
    {u"降っていた", u"降る"},
    {u"見ていない", u"見る"},
    // たい
    {u"食べたい", u"食べる"},
    {u"行きたい", u"行く"},
    {u"したい", u"する"},
    {u"読みたくない", u"読む"},
    {u"見たかった", u"見る"},
    {u"会いたくなかった", u"会う"},
    {u"飲みたくて", u"飲む"},
    {u"寝たい", u"寝る"},
    {u"帰りたければ", u"帰る"},
    {u"話したがる", u"話す"},
    // potential
    {u"書ける", u"書く"},
    {u"話せる", u"話す"},
    {u"読める", u"読む"},
    {u"泳げる", u"泳ぐ"},
    {u"待てる", u"待つ"},
    {u"飛べる", u"飛ぶ"},
    {u"帰れる", u"帰る"},
    {u"買える", u"買う"},
    {u"食べられる", u"食べる"},
    {u"食べれる", u"食べる"},
    {u"来られる", u"来る"},
    {u"こられる", u"くる"},
    {u"読めない", u"読む"},
    {u"書けなかった", u"書く"},
    {u"見られます", u"見る"},
    {u"こられない", u"くる"},
    {u"勉強できる", u"勉強"},
    // passive
    {u"書かれる", u"書く"},
    {u"言われた", u"言う"},
    {u"読まれている", u"読む"},
    {u"呼ばれた", u"呼ぶ"},
    {u"盗まれた", u"盗む"},
    {u"待たれる", u"待つ"},
    {u"壊された", u"壊す"},
    {u"取られた", u"取る"},
    {u"食べられた", u"食べる"},
    {u"される", u"する"},
    {u"注意された", u"注意"},
    // causative
    {u"書かせる", u"書く"},
    {u"食べさせる", u"食べる"},
    {u"行かせた", u"行く"},
    {u"買わせた", u"買う"},
    {u"待たせて", u"待つ"},
    {u"飲ませる", u"飲む"},
    {u"させる", u"する"},
    {u"来させる", u"来る"},
    {u"話させる", u"話す"},
    {u"帰らせた", u"帰る"},
    {u"遊ばせる", u"遊ぶ"},
    // causative-passive, long and short
    {u"食べさせられた", u"食べる"},
    {u"書かせられる", u"書く"},
    {u"書かされる", u"書く"},
    {u"飲まされた", u"飲む"},
    {u"待たされた", u"待つ"},
    {u"行かされた", u"行く"},
    {u"させられた", u"する"},
    {u"歌わされた", u"歌う"},
    // conditionals
    {u"書けば", u"書く"},
    {u"食べれば", u"食べる"},
    {u"すれば", u"する"},
    {u"くれば", u"くる"},
    {u"行けば", u"行く"},
    {u"あれば", u"ある"},
    {u"読めば", u"読む"},
    {u"食べたら", u"食べる"},
    {u"行ったら", u"行く"},
    {u"読んだら", u"読む"},
    {u"したら", u"する"},
    {u"来たら", u"来る"},
    {u"高かったら", u"高い"},
    {u"なかったら", u"ない"},
    {u"言えば", u"言う"},
    // volitional
    {u"食べよう", u"食べる"},
    {u"行こう", u"行く"},
    {u"読もう", u"読む"},
    {u"しよう", u"する"},
    {u"こよう", u"くる"},
    {u"帰ろう", u"帰る"},
    {u"会おう", u"会う"},
    {u"待とう", u"待つ"},
    {u"遊ぼう", u"遊ぶ"},
    {u"話そう", u"話す"},
    {u"泳ごう", u"泳ぐ"},
    // imperative
    {u"書け", u"書く"},
    {u"食べろ", u"食べる"},
    {u"しろ", u"する"},
    {u"こい", u"くる"},
    {u"来い", u"来る"},
    {u"待て", u"待つ"},
    {u"読め", u"読む"},
    {u"走れ", u"走る"},
    {u"言え", u"言う"},
    {u"急げ", u"急ぐ"},
    {u"食べなさい", u"食べる"},
    {u"座りなさい", u"座る"},
    // ないで, なくて, ず
    {u"食べないで", u"食べる"},
    {u"行かないで", u"行く"},
    {u"食べなくて", u"食べる"},
    {u"わからなくて", u"わかる"},
    {u"言わずに", u"言う"},
    {u"せずに", u"する"},
    // adjectives
    {u"高くない", u"高い"},
    {u"高かった", u"高い"},
    {u"高くなかった", u"高い"},
    {u"高くて", u"高い"},
    {u"高く", u"高い"},
    {u"高さ", u"高い"},
    {u"高そう", u"高い"},
    {u"高すぎる", u"高い"},
    {u"高ければ", u"高い"},
    {u"寒かった", u"寒い"},
    {u"おいしくない", u"おいしい"},
    {u"おもしろかった", u"おもしろい"},
    {u"早く", u"早い"},
    {u"よかった", u"よい"},
    {u"よくない", u"よい"},
    {u"よさそう", u"よい"},
    {u"よければ", u"よい"},
    {u"なかった", u"ない"},
    {u"楽しくて", u"楽しい"},
    {u"大きくなった", u"大きい"},
    {u"強さ", u"強い"},
    {u"すごかった", u"すごい"},
    // two-step chains and colloquial forms
    {u"忘れちゃった", u"忘れる"},
    {u"食べちゃう", u"食べる"},
    {u"読んじゃった", u"読む"},
    {u"しなければ", u"する"},
    {u"食べなければ", u"食べる"},
    {u"行かなければ", u"行く"},
    {u"行かなきゃ", u"行く"},
    {u"しなくちゃ", u"する"},
    {u"食べてしまった", u"食べる"},
    {u"読んでしまった", u"読む"},
    {u"書いておく", u"書く"},
    {u"やっとく", u"やる"},
    {u"食べてみた", u"食べる"},
    {u"教えてくれた", u"教える"},
    {u"教えてもらった", u"教える"},
    {u"食べてください", u"食べる"},
    {u"読んでください", u"読む"},
    {u"書かれていた", u"書く"},
    {u"食べすぎた", u"食べる"},
    {u"降りそう", u"降りる"},
    {u"飲みながら", u"飲む"},
    {u"行かせてください", u"行く"},
    {u"待たせてしまった", u"待つ"},
    {u"休みたかった", u"休む"},
    {u"開けておいた", u"開ける"},
    {u"言われなかった", u"言う"},
    {u"食べさせてもらった", u"食べる"},
    {u"困っている", u"困る"},
    // dictionary forms stay
    {u"食べる", u"食べる"},
    {u"ねこ", u"ねこ"},
};

class FuzzyRulesCoverage : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        ASSERT_TRUE(rules_.LoadFuzzySearchInfo(test::ProgramDataPath(kFuzzyRulesFileName).string()));
    }
    FuzzyRules rules_;
};

TEST_F(FuzzyRulesCoverage, FindsTheDictionaryFormOfInflectedWords)
{
    std::size_t found = 0;
    std::size_t withDuplicates = 0;
    std::vector<std::size_t> counts;
    std::string missed;
    for (const Form& form : kForms) {
        const auto variants = rules_.FuzzySearch(form.inflected);
        ASSERT_FALSE(variants.empty());
        EXPECT_EQ(variants[0], form.inflected);
        counts.push_back(variants.size());
        auto sorted = variants;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
            ++withDuplicates;
        if (std::find(variants.begin(), variants.end(), form.dictionary) != variants.end())
            ++found;
        else
            missed += Utf16ToUtf8(form.inflected) + " ";
    }
    const std::size_t total = std::size(kForms);
    std::sort(counts.begin(), counts.end());
    const std::size_t median = counts[counts.size() / 2];
    const std::size_t p90 = counts[counts.size() * 9 / 10];
    RecordProperty("forms", static_cast<int>(total));
    RecordProperty("found", static_cast<int>(found));
    std::printf(
        "reverse conjugation: %zu of %zu forms found; variants median %zu, 90th percentile %zu, max %zu; %zu lists "
        "hold a text twice\n",
        found, total, median, p90, counts.back(), withDuplicates);
    if (!missed.empty())
        std::printf("missed: %s\n", missed.c_str());
    EXPECT_GE(found * 100, total * 95) << "missed: " << missed;
    EXPECT_LE(median, 30u);
    EXPECT_LE(p90, 40u);
}

TEST_F(FuzzyRulesCoverage, NoRuleDerivesItsOwnText)
{
    // The rule file must not rely on the cycle guard: no text reached from a
    // form may come back to a text it was derived from. Without cycles the
    // derivation depth stays small.
    for (const Form& form : kForms) {
        const auto variants = rules_.FuzzySearch(form.inflected);
        for (std::size_t i = 1; i < variants.size(); ++i)
            EXPECT_NE(variants[i], variants[0]) << Utf16ToUtf8(form.inflected);
    }
    for (const auto& rule : rules_.Rules()) {
        EXPECT_EQ(rule.pattern[0], u'＿') << Utf16ToUtf8(rule.pattern);
        for (const auto& r : rule.replacements) {
            EXPECT_EQ(r[0], u'＿') << Utf16ToUtf8(rule.pattern);
            EXPECT_NE(r, rule.pattern);
        }
    }
}

}  // namespace
