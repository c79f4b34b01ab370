#pragma once
// The English search: entries whose meanings contain every word of the text
// at a place the search type accepts, or one of whose meanings is exactly a
// quoted phrase, appended to edict_results[0] in dictionary and index order.
//
// Each enabled dictionary file is open only while it is searched. Its lines
// are read in file order from a read-only mapping and only lines that
// contain the rarest term at all are tested in full; the result is the same
// as reading the line of every index entry and testing it.
//
// Threads: runs on the search worker; the stop request is tested between
// index entries.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dict/IndexTable.h"

namespace mirudex::dict {
struct Dictionary;
struct Entry;
}  // namespace mirudex::dict

namespace mirudex::search {

class AppState;
struct SearchOptions;

// text: printable ASCII (the dispatcher checks); options: the search's own
// (its search type). Returns the status word (bit 0: truncated).
int SearchFor_English(AppState& state, const SearchOptions& options, std::u16string text);
// The same with state.search_options (a program without a worker, tests).
int SearchFor_English(AppState& state, std::u16string text);

// An English search whose results are read one at a time, in search order:
// what SearchFor_English appends, without every entry held at once (the
// terminal tool prints them as it reads them). The search runs in the
// constructor; the dictionaries must stay loaded while the object lives.
class EnglishResults {
public:
    EnglishResults(AppState& state, const SearchOptions& options, std::u16string text);
    ~EnglishResults();
    EnglishResults(const EnglishResults&) = delete;
    EnglishResults& operator=(const EnglishResults&) = delete;

    int status() const { return status_; }  // as SearchFor_English returns it
    size_t size() const;
    // The record of result i (in a plain EDICT dictionary its headword and
    // reading are the entry's; an EDICT2 entry has all the forms of its line).
    dict::IndexEntry IndexOf(size_t i) const;
    // The line of result i as the dictionary's line reader would give it (its
    // LF included), straight from the searched bytes; empty when the line is
    // read through the line reader instead (Fill then reads it). record: IndexOf(i).
    std::string_view LineOf(size_t i, const dict::IndexEntry& record) const;
    // The dictionary result i comes from.
    const dict::Dictionary& DictionaryOf(size_t i) const;
    // Its relevance (Entry::relevance).
    uint64_t RelevanceOf(size_t i) const;
    // Reads result i's entry, markers set, as SearchFor_English appends it
    // (without Entry::meaningsAsRead when keepAsRead is false).
    void Fill(size_t i, dict::Entry& entry, bool keepAsRead = true);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int status_ = 0;
};

}  // namespace mirudex::search
