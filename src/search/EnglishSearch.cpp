#include "search/EnglishSearch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "core/Registry.h"
#include "dict/Edict2Line.h"
#include "dict/Relevance.h"
#include "platform/api/Platform.h"
#include "search/AppState.h"
#include "search/Candidates.h"
#include "search/EnglishMatch.h"
#include "search/JapaneseSearch.h"
#include "search/MappedFile.h"
#include "search/StatusText.h"

namespace mirudex::search {

namespace {

struct Match {
    size_t scan;             // which dictionary (position in the scans)
    uint32_t record;         // record number in it
    bool plain = false;      // its line lies in the mapped bytes as the reader would give it
    uint32_t length = 0;     // a plain line's length, its LF included
    uint64_t relevance = 0;  // smaller is more relevant
    bool judged = true;      // its line was found to match (a candidate from the index is judged when kept)
    bool exact = true;       // relevance is the line's own; else the least it can be, known before judging
    bool leftOut = false;    // stands for the candidates a ranked collection left out, relevance their least
};

// The order the most relevant are chosen in: the more relevant first, then
// the earlier dictionary and record.
bool MoreRelevant(const Match& a, const Match& b)
{
    if (a.relevance != b.relevance)
        return a.relevance < b.relevance;
    return a.scan != b.scan ? a.scan < b.scan : a.record < b.record;
}

// One dictionary searched through its mapped bytes. Lines that are not plain
// (no line feed, too long for the line buffer, no slash, at the very end of
// the file) go through the dictionary's own line reader instead, so that every
// line is judged exactly as the line reader would give it.
class DictionaryScan {
public:
    DictionaryScan(AppState& state, const dict::Dictionary& dictionary, const EnglishQuery& query, SearchType type)
        : state_(state),
          dictionary_(dictionary),
          query_(query),
          type_(type),
          bufferSize_(state.options.GetINT(opt::buffer::kEDICT)),
          wanted_(query.exact ? query.phrase : query.text)
    {
        const auto& index = dictionary_.index;
        count_ = static_cast<size_t>(dictionary_.count) <= index.size() ? dictionary_.count : index.size();
    }

    // False when the file cannot be opened.
    bool Open()
    {
        path_ = platform::FilePath(dictionary_.path);
        if (!map_.Open(path_))
            return false;
        bytes_ = map_.bytes();
        return true;
    }

    size_t count() const { return count_; }
    const dict::Dictionary& dictionary() const { return dictionary_; }

    // Appends the matching lines (the first record of each) in record order.
    // A word searched by itself comes from the index with its relevance,
    // not judged yet: the lines of those kept are judged by Judge.
    // False when a stop request came in.
    // want: how many matches the search can use at most (one more than the
    // room left); only the most relevant of a word searched alone are taken
    // then, the others left for CollectLeftOut. Under a maximum, the other
    // candidates are not judged here either: each comes with the least
    // relevance its line can have (that of the entry itself), so that only
    // those that may still be kept are judged.
    bool Collect(size_t scan, std::vector<Match>& out, size_t want)
    {
        if (CollectRanked(scan, out, want))
            return true;
        const bool bounded = want != SIZE_MAX;
        if (bounded)
            PreparePhraseBound();
        const auto candidates = EnglishCandidates(dictionary_.index, query_, type_);
        const size_t total = candidates ? candidates->size() : count_;
        int64_t lastOffset = -1;
        for (size_t c = 0; c < total; ++c) {
            if (state_.StopRequested())
                return false;
            const size_t k = candidates ? (*candidates)[c] : c;
            if (k >= count_)
                break;
            const dict::IndexEntry entry = dictionary_.index[k];
            if (entry.offset == lastOffset)
                continue;  // another form of a line already judged
            lastOffset = entry.offset;
            Match m{scan, static_cast<uint32_t>(k)};
            m.exact = false;
            if (bounded) {
                m.judged = false;
                m.relevance = std::max(EnglishRelevanceAtLeast(dictionary_.index, k), PhraseBound(k));
                out.push_back(m);
            } else if (Judge(m)) {
                out.push_back(m);
            }
        }
        return true;
    }

    // Judges the line of a match, as the search judges every line: false
    // when it does not match. A match whose relevance was only a bound has
    // its own then.
    bool Judge(Match& m)
    {
        if (!JudgeLine(m))
            return false;
        if (!m.exact) {
            m.relevance = EnglishRelevance(dict::PhraseRank(lowered_, wanted_), dictionary_.index, m.record);
            m.exact = true;
        }
        return true;
    }

private:
    // Leaves the lowered meanings in lowered_.
    bool JudgeLine(Match& m)
    {
        const dict::IndexEntry entry = dictionary_.index[m.record];
        m.judged = true;
        Plain plain;
        if (PlainLine(entry.offset, plain)) {
            // The meanings as the line reader's line would give them: from
            // the first slash to the last one (the line holds at least one).
            const std::string_view raw = bytes_.substr(plain.begin, plain.lineEnd + 1 - plain.begin);
            const size_t lastSlash = raw.rfind('/');
            const std::string_view meanings =
                dict::WithoutEntryId(raw.substr(plain.slash - plain.begin, lastSlash + plain.begin + 1 - plain.slash));
            m.plain = true;
            m.length = static_cast<uint32_t>(plain.lineEnd + 1 - plain.begin);
            return Test(meanings);
        }
        m.plain = false;
        if (!OpenReader())
            return false;
        std::optional<std::string> line = dict::GetEdictLine(reader_, state_.options, entry);
        if (!line) {
            dlog::Write(u"      No line!\n");
            return false;
        }
        const size_t slash = line->find('/');
        if (slash == std::string::npos) {
            dlog::Write(u"      No meaning!\n");
            return false;
        }
        return Test(std::string_view(*line).substr(slash));
    }

public:
    dict::IndexEntry IndexOf(const Match& match) const { return dictionary_.index[match.record]; }

    // A plain match's line as the line reader gives it (its LF included):
    // found when the match was, not looked for again.
    std::string_view LineOf(const Match& match, const dict::IndexEntry& entry) const
    {
        return bytes_.substr(static_cast<size_t>(entry.offset), match.length);
    }

    // Reads the entry of a match.
    void Fill(const Match& match, dict::Entry& found, bool keepAsRead)
    {
        dlog::WriteAt(1, u"      Okay to add...\n");
        const dict::IndexEntry entry = dictionary_.index[match.record];
        found = dict::Entry();
        if (match.plain) {
            dlog::WriteAt(1, u"LoadInfoInto()\n");
            dict::FillEntryFromLine(std::string(LineOf(match, entry)), dictionary_, found, entry);
        } else if (OpenReader()) {
            dict::LoadInfoInto(reader_, state_.options, dictionary_, found, entry);
        }
        dict::SetInfo(found, state_.store.marker_table, keepAsRead);
        found.relevance = match.relevance;
    }

private:
    // A quoted phrase is found as a whole gloss, and the index ranks the
    // gloss's words by where they stand in it: the phrase's word that ranks
    // best there (the phrase itself, else its last word ending a short phrase)
    // gives a bound tighter than the entry's own, its stored rank less what
    // standing in such a gloss adds. A line whose best place for that word
    // is a later sense or inside a longer gloss is then not judged.
    void PreparePhraseBound()
    {
        boundWord_ = {};
        const dict::IndexTable& index = dictionary_.index;
        if (!query_.exact || !index.Has(dict::kEnglishWords | dict::kRanks) || !index.HasWords())
            return;
        bool note = false;
        dict::GlossKey(query_.phrase, phraseKey_, note);
        const size_t blank = phraseKey_.rfind(' ');
        const std::string_view last = std::string_view(phraseKey_).substr(blank == std::string::npos ? 0 : blank + 1);
        if (last.empty() || !std::all_of(last.begin(), last.end(), IsEnglishLetter))
            return;
        if (blank == std::string::npos)
            boundAdds_ = 0;
        else if (dict::IsPhraseHead(phraseKey_, last))
            boundAdds_ = dict::kRankPhraseHead;
        else
            return;
        const auto list = index.WordPostings(last);
        const auto ranks = index.RanksOf(list);
        if (ranks.size() != list.size())
            return;
        boundWord_ = list;
        boundRanks_ = ranks;
    }

    uint64_t PhraseBound(size_t record) const
    {
        const auto at = std::lower_bound(boundWord_.begin(), boundWord_.end(), record);
        if (at == boundWord_.end() || *at != record)
            return 0;
        const uint32_t stored = boundRanks_[static_cast<size_t>(at - boundWord_.begin())];
        return uint64_t{stored > boundAdds_ ? stored - boundAdds_ : 0} << 32;
    }

    // A single word searched whole: every line holding it (the first record
    // of each), from the index, with the word's rank in the line. False when the index has no
    // ranks for it (the lines are then judged one by one).
    bool CollectRanked(size_t scan, std::vector<Match>& out, size_t want)
    {
        const dict::IndexTable& index = dictionary_.index;
        if (type_ != SearchType::Exact || query_.exact || query_.words.size() != 1 ||
            !index.Has(dict::kEnglishWords | dict::kRanks) || !index.HasWords())
            return false;
        const std::string& term = query_.words[0];
        if (term.empty() || !std::all_of(term.begin(), term.end(), IsEnglishLetter))
            return false;
        auto list = index.WordPostings(term);
        const auto ranks = index.RanksOf(list);
        if (ranks.size() != list.size())
            return false;
        // Records beyond the dictionary's count are not searched (ascending).
        list = list.first(static_cast<size_t>(std::lower_bound(list.begin(), list.end(), count_) - list.begin()));
        ranked_ = list;
        rankedRanks_ = ranks.first(list.size());
        // A common word stands in tens of thousands of lines: only those whose
        // stored rank is within the best `want` are taken now (a count of each
        // rank finds the bound), so the search costs the same at any size.
        threshold_ = 255;
        if (want < list.size()) {
            std::array<size_t, 256> counts{};
            for (const uint8_t r : rankedRanks_)
                ++counts[r];
            size_t total = 0;
            for (threshold_ = 0; threshold_ < 255; ++threshold_)
                if ((total += counts[threshold_]) >= want)
                    break;
        }
        Append(scan, out, false);
        return true;
    }

public:
    // The matches a ranked collection left out (their stored rank above the
    // bound), when the lines of those taken did not all match.
    bool HasLeftOut() const { return threshold_ < 255; }
    // What stands for them among the matches until they are taken.
    Match LeftOutMark(size_t scan) const
    {
        Match m{scan, 0};
        m.judged = false;
        m.leftOut = true;
        m.relevance = uint64_t{threshold_ + 1} << 32;
        return m;
    }
    void CollectLeftOut(size_t scan, std::vector<Match>& out)
    {
        if (!HasLeftOut())
            return;
        Append(scan, out, true);
        threshold_ = 255;
    }

private:
    void Append(size_t scan, std::vector<Match>& out, bool leftOut)
    {
        for (size_t i = 0; i < ranked_.size(); ++i) {
            if ((rankedRanks_[i] > threshold_) != leftOut)
                continue;
            Match m{scan, ranked_[i]};
            m.judged = false;
            m.relevance = EnglishRelevanceOfPosting(rankedRanks_[i], dictionary_.index, ranked_[i]);
            out.push_back(m);
        }
    }

    struct Plain {
        size_t begin = 0;
        size_t slash = 0;    // first '/'
        size_t lineEnd = 0;  // the LF
    };

    bool PlainLine(int64_t offset, Plain& plain) const
    {
        const std::string_view line = PlainLineAt(bytes_, offset, bufferSize_);
        if (line.empty())
            return false;
        const void* slash = std::memchr(line.data(), '/', line.size() - 1);
        if (!slash)
            return false;
        plain.begin = static_cast<size_t>(offset);
        plain.slash = plain.begin + static_cast<size_t>(static_cast<const char*>(slash) - line.data());
        plain.lineEnd = plain.begin + line.size() - 1;
        return true;
    }

    // meanings: the line from its first slash to its last one. Leaves them
    // lowered in lowered_.
    bool Test(std::string_view meanings)
    {
        lowered_.assign(meanings);
        LowerAscii(lowered_);
        return EnglishMeaningsMatch(query_, lowered_, type_);
    }

    bool OpenReader()
    {
        if (!reader_.IsOpen())
            reader_.Open(path_);
        return reader_.IsOpen();
    }

    AppState& state_;
    const dict::Dictionary& dictionary_;
    const EnglishQuery& query_;
    SearchType type_;
    int bufferSize_;
    size_t count_ = 0;
    std::string path_;
    MappedFile map_;
    std::string_view bytes_;
    LineReader reader_;
    std::string lowered_;  // the meanings being judged, lowered; kept to reuse its room
    // A word searched alone: its postings, their stored ranks, and the
    // highest rank taken so far (255: all of them).
    std::span<const uint32_t> ranked_;
    std::span<const uint8_t> rankedRanks_;
    uint32_t threshold_ = 255;
    std::string wanted_;  // what the relevance looks for in a gloss
    // A quoted phrase under a maximum: the postings and stored ranks of the
    // word that bounds its relevance, and what its place adds to that word.
    std::string phraseKey_;
    std::span<const uint32_t> boundWord_;
    std::span<const uint8_t> boundRanks_;
    uint32_t boundAdds_ = 0;
};

// Whether a record follows the match in the search order: in its own
// dictionary, or any record of a later one.
bool RecordsFollow(const std::vector<std::unique_ptr<DictionaryScan>>& scans, size_t scan, size_t record)
{
    if (record + 1 < scans[scan]->count())
        return true;
    for (size_t s = scan + 1; s < scans.size(); ++s)
        if (scans[s]->count() > 0)
            return true;
    return false;
}

}  // namespace

int SearchFor_English(AppState& state, std::u16string text)
{
    return SearchFor_English(state, state.search_options, std::move(text));
}

struct EnglishResults::Impl {
    EnglishQuery query;
    std::vector<std::unique_ptr<DictionaryScan>> scans;
    std::vector<Match> matches;
};

EnglishResults::EnglishResults(AppState& state, const SearchOptions& options, std::u16string text)
    : impl_(std::make_unique<Impl>())
{
    dlog::WriteAt(1, u"SearchFor_English()\n");
    impl_->query = PrepareEnglishQuery(text);
    const EnglishQuery& query = impl_->query;
    dlog::WriteAt(1, u"   English search text: %S\n", query.text);
    for (const std::string& word : query.words)
        dlog::WriteAt(1, u"      %S\n", word);

    // Every matching line of every dictionary first, then the kept ones read.
    auto& scans = impl_->scans;
    auto& matches = impl_->matches;
    const long long size = static_cast<long long>(state.edict_results[kResultList].size());
    const bool limited = state.max_results >= 0 && size <= state.max_results;
    const size_t want = limited ? static_cast<size_t>(state.max_results - size) + 1 : SIZE_MAX;
    for (const auto& holder : state.store.edict_dictionaries) {
        if (state.StopRequested())
            break;
        dict::Dictionary& dictionary = *holder;
        if (!dictionary.on)
            continue;
        SetStatus(Format(u"Searching in dictionary '%S'...", dictionary.name));
        dict::PrepareStructures(dictionary, dict::kEnglishWords | dict::kRanks);
        auto scan = std::make_unique<DictionaryScan>(state, dictionary, query, options.type);
        if (!scan->Open()) {
            dlog::Write(u"ERROR: Could not open dictionary '%S'; skipping it.\n", dictionary.path);
            continue;
        }
        dlog::WriteAt(1, u"   Searching in dictionary '%S'...\n", dictionary.path);
        scans.push_back(std::move(scan));
        const bool finished = scans.back()->Collect(scans.size() - 1, matches, want);
        dlog::WriteAt(1, u"   Finished this dictionary; Closed 'fedict'.\n");
        if (!finished)
            break;
    }

    int status = 0;
    const size_t room = limited ? static_cast<size_t>(state.max_results - size) : matches.size();
    const bool leftOut = std::any_of(scans.begin(), scans.end(), [](const auto& scan) { return scan->HasLeftOut(); });
    const bool allJudged = std::all_of(matches.begin(), matches.end(), [](const Match& m) { return m.judged; });
    if (matches.size() > room || !allJudged || leftOut) {
        // The most relevant are kept, in search order. The matches wait in a
        // heap, the most relevant on top. A candidate on top is judged; one
        // whose relevance was only a bound goes back with its own. A match
        // on top whose relevance is its own is the next one kept, until one
        // more than the room is found (the list is then truncated) or none
        // is left. The candidates a ranked collection left out wait as one
        // mark, taken when it comes to the top.
        std::vector<Match> heap = std::move(matches);
        for (size_t s = 0; s < scans.size(); ++s)
            if (scans[s]->HasLeftOut())
                heap.push_back(scans[s]->LeftOutMark(s));
        const auto lessRelevant = [](const Match& a, const Match& b) { return MoreRelevant(b, a); };
        std::make_heap(heap.begin(), heap.end(), lessRelevant);
        std::vector<Match> kept;
        kept.reserve(std::min(room, heap.size()));
        bool more = false;
        while (!heap.empty() && !state.StopRequested()) {
            std::pop_heap(heap.begin(), heap.end(), lessRelevant);
            Match m = heap.back();
            heap.pop_back();
            if (m.leftOut) {
                const size_t before = heap.size();
                scans[m.scan]->CollectLeftOut(m.scan, heap);
                for (size_t i = before; i < heap.size(); ++i)
                    std::push_heap(heap.begin(), heap.begin() + static_cast<std::ptrdiff_t>(i) + 1, lessRelevant);
                continue;
            }
            if (!m.judged) {
                if (!scans[m.scan]->Judge(m))
                    continue;
                if (heap.empty() || !lessRelevant(m, heap.front())) {
                    // Still the most relevant: kept below.
                } else {
                    heap.push_back(m);
                    std::push_heap(heap.begin(), heap.end(), lessRelevant);
                    continue;
                }
            }
            if (kept.size() == room) {
                more = true;
                break;
            }
            kept.push_back(m);
        }
        matches = std::move(kept);
        std::sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
            return a.scan != b.scan ? a.scan < b.scan : a.record < b.record;
        });
        if (more)
            status |= kStatusTruncated;
    }
    if (!(status & kStatusTruncated) && limited && matches.size() == room) {
        // Exactly the maximum: truncated when a record is left after the last one.
        const bool more = matches.empty() ? RecordsFollow(scans, 0, static_cast<size_t>(-1))
                                          : RecordsFollow(scans, matches.back().scan, matches.back().record);
        if (!scans.empty() && more)
            status |= kStatusTruncated;
    }
    status_ = status;
}

EnglishResults::~EnglishResults() = default;

size_t EnglishResults::size() const { return impl_->matches.size(); }

dict::IndexEntry EnglishResults::IndexOf(size_t i) const
{
    const Match& m = impl_->matches[i];
    return impl_->scans[m.scan]->IndexOf(m);
}

uint64_t EnglishResults::RelevanceOf(size_t i) const { return impl_->matches[i].relevance; }

std::string_view EnglishResults::LineOf(size_t i, const dict::IndexEntry& record) const
{
    const Match& m = impl_->matches[i];
    return m.plain ? impl_->scans[m.scan]->LineOf(m, record) : std::string_view();
}

const dict::Dictionary& EnglishResults::DictionaryOf(size_t i) const
{
    return impl_->scans[impl_->matches[i].scan]->dictionary();
}

void EnglishResults::Fill(size_t i, dict::Entry& entry, bool keepAsRead)
{
    const Match& m = impl_->matches[i];
    impl_->scans[m.scan]->Fill(m, entry, keepAsRead);
}

int SearchFor_English(AppState& state, const SearchOptions& options, std::u16string text)
{
    EnglishResults results(state, options, std::move(text));
    auto& list = state.edict_results[kResultList];
    list.reserve(list.size() + results.size());
    for (size_t i = 0; i < results.size(); ++i) {
        list.emplace_back();
        results.Fill(i, list.back());
        dlog::WriteAt(1, u"      Entry added\n");
    }
    dlog::WriteAt(1, u"END: Search_English()\n");
    return results.status();
}

}  // namespace mirudex::search
