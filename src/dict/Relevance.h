#pragma once
// How relevant an entry is to a search: one score, smaller is better, made of
// penalties that each say why a learner is less likely to want the entry.
//
// For an English search, where the searched word stands in the meanings:
//   - a gloss that is the word itself ("cat", "to eat", "a cat") beats the
//     same gloss with a note ("cat (esp. the domestic cat)"), which beats
//     the word ending a gloss of two or three words, the head of a short
//     English phrase ("railway station"), which beats the word elsewhere
//     inside a longer gloss ("cat's eye");
//   - the first gloss of the first sense beats a later gloss of that sense,
//     which beats the second sense, which beats any later one;
//   - a sense marked archaic, obsolete, rare, slang, vulgar and the like
//     goes after the others.
// For every search, of the entry itself:
//   - a common word (EDICT's "(P)"; EDICT2 and JMdict write their priority
//     tags as the same mark) goes before one that is not;
//   - an entry whose first sense carries one of those usage marks goes after;
//   - so does one whose first part of speech is a prefix, a suffix or a
//     counter (新 "new-", 旧 "ex-", 大 "big-"): a learner meets it bound to
//     another word and looks for the word that stands alone (新しい);
//   - productivity: a word that many other headwords of the dictionary hold
//     (学校 in 小学校, 学校教育 ...) is an everyday word; the count is taken on a
//     log scale, and a single character, which any word holding it counts
//     for, needs eight times the count for the same weight. A single kanji
//     may instead count the headwords that hold it read as it is read (月
//     read つき in 月見 and, voiced, in 三日月; 経 read きょう in few words,
//     read けい in many), four of them worth one of a longer word: the
//     better of the two counts. A verb builds its
//     compounds on its continuative stem (書き in 書き込む, 食べ in 食べ物), so
//     a verb counts the headwords holding its stem when they are more;
//   - in an English search, polysemy: an everyday word gathers senses
//     (先生, 走る, 時 have four or more, 教員, 駆ける fewer), so each sense
//     after the first takes a quarter point off, at most a point: enough to
//     part near ties, never to outweigh how the word stands in the meanings.
//     (Not for a reading: the words one reading finds differ in their
//     number of senses mostly by part of speech, verbs having many);
//   - a katakana loanword goes after a native word with the same gloss when
//     the search is English (ヘッド after 頭 for "head"), by less than what
//     separates a common word from a rare one, so a loanword that is the only
//     everyday word for a thing (バス) still comes first.
// Ties go to the shorter entry. A Japanese search puts an entry whose found
// form is the typed text itself before the others and then orders by the
// entry's own penalties.
//
// The penalties of an entry and of every English word of its meanings are
// worked out once, when the index is built (IndexTable.h), so that a search
// ranks from the index alone. Units: quarters of a point.
//
// Pure functions on the raw bytes of a line (any encoding whose ASCII bytes
// are ASCII); any thread.

#include <cstdint>
#include <string>
#include <string_view>

namespace mirudex::dict {

// Per gloss: how the searched text stands in it.
inline constexpr uint32_t kRankNote = 4;         // the whole gloss, but for a note in parentheses
inline constexpr uint32_t kRankInside = 32;      // a word inside a longer gloss
inline constexpr uint32_t kRankPhraseHead = 12;  // the last word of a gloss of two or three words
inline constexpr uint32_t kRankLaterGloss = 8;   // a later gloss of the first sense
inline constexpr uint32_t kRankSecondSense = 16;
inline constexpr uint32_t kRankLaterSense = 24;
inline constexpr uint32_t kRankMarked = 48;  // archaic, obsolete, rare, slang, vulgar ...
// Per entry.
inline constexpr uint32_t kRankUncommon = 40;
inline constexpr uint32_t kRankLoanword = 16;
inline constexpr uint32_t kRankBound = 24;            // first of all a prefix, suffix or counter
inline constexpr uint32_t kRankProductivityStep = 4;  // per doubling of the count
inline constexpr uint32_t kRankProductivitySteps = 8;
inline constexpr uint32_t kRankSenseStep = 1;  // per sense after the first
inline constexpr uint32_t kRankSenseSteps = 4;
// An entry's own penalties are stored with this added, so that productivity
// and the number of senses can take them down without going below zero.
inline constexpr uint32_t kRankEntryBase =
    kRankProductivityStep * kRankProductivitySteps + kRankSenseStep * kRankSenseSteps;
// The worst rank a searched word can have in an entry (it is in it somewhere).
inline constexpr uint32_t kRankWorstMatch = kRankInside + kRankLaterSense + kRankMarked;

// An entry's own penalties as stored: the rank in the low 12 bits, the
// number of senses after the first (at most kRankSenseSteps) in the next
// three, and kEntryLoanword when the headword is written in katakana only.
inline constexpr uint16_t kEntryRankMask = 0x0FFF;
inline constexpr unsigned kEntrySensesShift = 12;
inline constexpr uint16_t kEntryLoanword = 0x8000;
// productivitySteps: ProductivitySteps of the headword (or of its verb stem).
uint16_t EntryRank(std::string_view meanings, std::u16string_view headword, uint32_t productivitySteps);
// How many doublings a count of headwords holding a text of `length` units
// is worth, at most kRankProductivitySteps.
uint32_t ProductivitySteps(uint32_t count, size_t length);
// The continuative stem a verb builds compounds on: 書く gives 書き, 食べる
// gives 食べ; empty for a word that is not a verb written with kanji (the
// part of speech is read from the tags of the first sense: v5..., v1...).
std::u16string VerbStem(std::string_view meanings, std::u16string_view headword);
// The part of a stored entry rank that counts for a search.
inline uint32_t EntryPenalty(uint16_t stored, bool english)
{
    if (!english)
        return stored & kEntryRankMask;
    return (stored & kEntryRankMask) - ((stored >> kEntrySensesShift) & 7u) * kRankSenseStep +
           ((stored & kEntryLoanword) ? kRankLoanword : 0);
}

// Calls visit(word, rank) for every run of ASCII letters in the meanings
// (from the first '/' on, as the raw line has them, letters in any case),
// with the rank of the gloss it stands in for that word. A word that stands
// in several glosses is visited once per gloss.
template <typename Visit>
void ForEachMeaningWord(std::string_view meanings, Visit&& visit);

// The best rank of a lower-case search text (a word or a phrase, a leading
// "to " ignored) in lower-cased meanings; kRankWorstMatch when it stands in
// no gloss as a whole gloss or a run of whole words.
uint32_t PhraseRank(std::string_view loweredMeanings, std::string_view phrase);

// How one gloss is read: the tags in front of it, and its core.
struct GlossParts {
    bool newSense = false;  // a "(1)", "(2)" ... among its leading tags
    bool marked = false;    // a usage mark among its leading tags
    bool common = false;    // the gloss is "(P)"
    bool bound = false;     // the first part of speech among its tags is a prefix, suffix or counter
    std::string_view core;  // after the leading tags
};
GlossParts ReadGloss(std::string_view gloss);

// A gloss's core as it is compared with a search text: lower case, notes in
// parentheses and a leading "to ", "a ", "an " or "the " taken out, blanks
// folded. note: whether a note was taken out. Writes into out.
void GlossKey(std::string_view core, std::string& out, bool& note);

// Whether a word (any case) ends a gloss key of two or three words: the
// head of a short English phrase ("railway station" for "station").
bool IsPhraseHead(std::string_view key, std::string_view word);

// The rank of a gloss position (sense number from 0, gloss number within
// the sense from 0).
inline uint32_t PositionRank(uint32_t sense, uint32_t glossInSense)
{
    if (sense == 0)
        return glossInSense == 0 ? 0 : kRankLaterGloss;
    return sense == 1 ? kRankSecondSense : kRankLaterSense;
}

// Calls visit(gloss, parts, base) for every gloss of the meanings (from the
// first '/' on): its text, how it is read (ReadGloss), and the rank of its
// place (PositionRank, plus kRankMarked in a marked sense), until visit
// returns false.
template <typename Visit>
void ForEachGlossPlace(std::string_view meanings, Visit&& visit)
{
    uint32_t sense = 0, glossInSense = 0;
    bool senseMarked = false, first = true;
    size_t start = meanings.find('/');
    while (start != std::string_view::npos && start < meanings.size()) {
        size_t end = meanings.find('/', start + 1);
        if (end == std::string_view::npos)
            end = meanings.size();
        const std::string_view gloss = meanings.substr(start + 1, end - start - 1);
        start = end;
        const GlossParts parts = ReadGloss(gloss);
        if (parts.newSense && !first) {
            ++sense;
            glossInSense = 0;
        }
        senseMarked = (parts.newSense || first) ? parts.marked : (senseMarked || parts.marked);
        first = false;
        if (!visit(gloss, parts, PositionRank(sense, glossInSense) + (senseMarked ? kRankMarked : 0)))
            return;
        ++glossInSense;
    }
}

// Calls visit(gloss, key, note, base) for every gloss of the meanings (from
// the first '/' on): its text, its GlossKey and note, and the rank of its
// place (as ForEachGlossPlace gives it).
template <typename Visit>
void ForEachGloss(std::string_view meanings, Visit&& visit)
{
    std::string key;
    ForEachGlossPlace(meanings, [&](std::string_view gloss, const GlossParts& parts, uint32_t base) {
        bool note = false;
        GlossKey(parts.core, key, note);
        visit(gloss, std::string_view(key), note, base);
        return true;
    });
}

template <typename Visit>
void ForEachMeaningWord(std::string_view meanings, Visit&& visit)
{
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    ForEachGloss(meanings, [&](std::string_view gloss, std::string_view key, bool note, uint32_t base) {
        for (size_t i = 0; i < gloss.size();) {
            if (!isLetter(gloss[i])) {
                ++i;
                continue;
            }
            size_t j = i + 1;
            while (j < gloss.size() && isLetter(gloss[j]))
                ++j;
            const std::string_view word = gloss.substr(i, j - i);
            bool whole = word.size() == key.size();
            for (size_t k = 0; whole && k < word.size(); ++k)
                whole = (word[k] | 0x20) == key[k];
            visit(word, base + (whole                     ? (note ? kRankNote : 0)
                                : IsPhraseHead(key, word) ? kRankPhraseHead
                                                          : kRankInside));
            i = j;
        }
    });
}

}  // namespace mirudex::dict
