#include "search/EnglishMatch.h"

namespace mirudex::search {

void LowerAscii(std::string& text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
}

EnglishQuery PrepareEnglishQuery(std::u16string_view text)
{
    EnglishQuery q;
    q.text.reserve(text.size());
    for (char16_t u : text)
        q.text.push_back(static_cast<char>(u & 0xFF));
    LowerAscii(q.text);

    const std::string& t = q.text;
    if (!t.empty() && t.front() == '"' && t.back() == '"') {
        q.exact = true;
        q.phrase = t.size() >= 2 ? t.substr(1, t.size() - 2) : std::string();
        return q;
    }

    std::string word;
    bool inQuote = false;
    const size_t last = t.empty() ? 0 : t.size() - 1;
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (IsEnglishLetter(c)) {
            word.push_back(c);
            if (i == last && !word.empty())
                q.words.push_back(word);
        } else if (c == '"') {
            if (inQuote) {
                if (!word.empty())
                    q.words.push_back(word);
                word.clear();
                inQuote = false;
            } else {
                inQuote = true;
            }
        } else if (inQuote) {
            word.push_back(c);
            if (i == last && !word.empty())
                q.words.push_back(word);
        } else if (!word.empty()) {
            q.words.push_back(word);
            word.clear();
        }
    }
    return q;
}

std::string_view TrimMeaning(std::string_view meaning)
{
    size_t first = std::string_view::npos;
    size_t lastLetter = std::string_view::npos;
    int depth = 0;
    for (size_t i = 0; i < meaning.size(); ++i) {
        const char c = meaning[i];
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (depth > 0)
                --depth;
        } else if (depth == 0 && IsEnglishLetter(c)) {
            if (first == std::string_view::npos)
                first = i;
            lastLetter = i;
        }
    }
    if (first == std::string_view::npos)
        return meaning;
    return meaning.substr(first, lastLetter - first + 1);
}

namespace {

bool Accepts(std::string_view text, size_t pos, size_t len, SearchType type)
{
    const bool letterBefore = pos > 0 && IsEnglishLetter(text[pos - 1]);
    const size_t after = pos + len;
    const bool hasAfter = after < text.size();
    const bool letterAfter = hasAfter && IsEnglishLetter(text[after]);
    switch (type) {
    case SearchType::Beginning: return !letterBefore;
    case SearchType::Middle: return true;
    case SearchType::End: return hasAfter && !letterAfter;
    case SearchType::Exact: return !letterBefore && !letterAfter;
    }
    return true;
}

}  // namespace

bool FindEnglishWord(std::string_view text, std::string_view word, SearchType type)
{
    size_t pos = text.find(word);
    while (pos != std::string_view::npos) {
        if (Accepts(text, pos, word.size(), type))
            return true;
        if (text.size() - pos < 2)
            return false;
        pos = text.find(word, pos + 1);
    }
    return false;
}

bool EnglishMeaningsMatch(const EnglishQuery& query, std::string_view meanings, SearchType type)
{
    if (query.exact) {
        // The pieces between consecutive slashes; what follows the last one is not a meaning.
        size_t start = meanings.find('/');
        while (start != std::string_view::npos) {
            const size_t end = meanings.find('/', start + 1);
            if (end == std::string_view::npos)
                break;
            if (TrimMeaning(meanings.substr(start + 1, end - start - 1)) == query.phrase)
                return true;
            start = end;
        }
        return false;
    }
    for (const std::string& word : query.words)
        if (!FindEnglishWord(meanings, word, type))
            return false;
    return true;
}

}  // namespace mirudex::search
