// The reverse-conjugation rule file: the data is fuzzysearch.uni.dat
// (UTF-16LE); the rules are then applied to a few texts, one of them the
// first rule's own pattern with its wildcard dropped.
#include "FuzzSupport.h"
#include "text/FuzzySearch.h"

using namespace mirudex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    fuzz::WriteFile("fuzzysearch.uni.dat", fuzz::Bytes(data, size));
    text::FuzzyRules rules;
    FUZZ_CHECK(rules.LoadFuzzySearchInfo("fuzzysearch.uni.dat"));
    std::vector<std::u16string> texts = {u"食べました", u"たべられる", u"＿", u"ａ"};
    if (!rules.Empty() && !rules.Rules()[0].pattern.empty())
        texts.push_back(u"あ" + rules.Rules()[0].pattern.substr(1));
    for (const std::u16string& t : texts) {
        const std::vector<std::u16string> variants = rules.FuzzySearch(t);
        FUZZ_CHECK(!variants.empty() && variants.front() == t);
        FUZZ_CHECK(variants.size() <= text::FuzzyRules::kMaxVariants);
    }
    return 0;
}
