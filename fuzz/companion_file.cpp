// The companion file reader: any bytes as the image of a dictionary's .mxs
// file. Whatever the section table says, lookups stay inside the image.
#include "FuzzSupport.h"
#include "dict/IndexTable.h"

using namespace mirudex;

namespace {

class Bytes final : public dict::IndexImage {
public:
    explicit Bytes(std::string data) : data_(std::move(data)) {}
    std::string_view bytes() const override { return data_; }

private:
    std::string data_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    dict::IndexTable table;
    if (!table.Adopt(std::make_shared<Bytes>(std::string(fuzz::Bytes(data, size)))))
        return 0;
    using Field = dict::IndexTable::Field;
    size_t seen = 0;
    for (const dict::IndexEntry entry : table) {
        seen += entry.word.size() + entry.kana.size();
        if (seen > (1u << 20))
            break;
    }
    for (Field field : {Field::Word, Field::Kana}) {
        for (const uint32_t r : table.Prefix(field, u"ネ"))
            FUZZ_CHECK(r < table.size());
        for (const uint32_t r : table.Suffix(field, u"コ"))
            FUZZ_CHECK(r < table.size());
        table.Exact(field, u"ネコ");
        table.Grams(field, u'ネ', u'コ');
    }
    std::vector<std::span<const uint32_t>> lists;
    table.WordPostings("cat");
    table.WordsStartingWith("ca", lists);
    table.WordsEndingWith("at", lists);
    table.WordsContaining("a", lists);
    return 0;
}
