// The yardstick of a cold build: what a plain C++ program pays to read an
// EDICT file, convert it from its encoding to UTF-16 with iconv and write an
// index of it, every headword and reading sorted with the offset of its line.
//   mirudex_anchor_edict_index EDICT INDEX [ENCODING]
// The index file: a 32-bit count, then per key its length in UTF-16 units
// (16-bit), the units, and the line's offset (32-bit). Nothing of Mirudex is
// used, so that the figures compare the program with the plain way of doing
// the same work (bench/compare-cold.py).
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Key {
    uint32_t start = 0, length = 0;  // in the pool of converted text
    uint32_t offset = 0;             // the line's first byte in the dictionary
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s EDICT INDEX [ENCODING]\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && !in) {
        std::perror(argv[1]);
        return 2;
    }
    iconv_t cd = iconv_open("UTF-16LE", argc > 3 ? argv[3] : "EUC-JP");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::perror("iconv_open");
        return 2;
    }

    // Every line converted whole; its headword and reading become keys.
    std::u16string pool;
    std::vector<Key> keys;
    std::vector<char16_t> buffer(4096);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + pos, end - pos);
        if (buffer.size() < line.size() + 1)
            buffer.resize(line.size() + 1);
        char* from = const_cast<char*>(line.data());
        size_t fromLeft = line.size();
        char* to = reinterpret_cast<char*>(buffer.data());
        size_t toLeft = buffer.size() * sizeof(char16_t);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &from, &fromLeft, &to, &toLeft) != static_cast<size_t>(-1)) {
            const std::u16string_view converted(buffer.data(), (reinterpret_cast<char16_t*>(to) - buffer.data()));
            const uint32_t base = static_cast<uint32_t>(pool.size());
            pool.append(converted);
            const size_t space = converted.find(u' ');
            if (space != std::u16string_view::npos && space > 0) {
                keys.push_back({base, static_cast<uint32_t>(space), static_cast<uint32_t>(pos)});
                if (space + 1 < converted.size() && converted[space + 1] == u'[') {
                    const size_t close = converted.find(u']', space + 2);
                    if (close != std::u16string_view::npos)
                        keys.push_back({base + static_cast<uint32_t>(space + 2),
                                        static_cast<uint32_t>(close - space - 2), static_cast<uint32_t>(pos)});
                }
            }
        }
        pos = end + 1;
    }
    iconv_close(cd);

    const std::u16string_view all(pool);
    std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        return all.substr(a.start, a.length) < all.substr(b.start, b.length);
    });

    std::ofstream out(argv[2], std::ios::binary);
    const uint32_t count = static_cast<uint32_t>(keys.size());
    out.write(reinterpret_cast<const char*>(&count), sizeof count);
    for (const Key& k : keys) {
        const uint16_t length = static_cast<uint16_t>(std::min<uint32_t>(k.length, 0xffff));
        out.write(reinterpret_cast<const char*>(&length), sizeof length);
        out.write(reinterpret_cast<const char*>(all.data() + k.start), length * sizeof(char16_t));
        out.write(reinterpret_cast<const char*>(&k.offset), sizeof k.offset);
    }
    out.close();
    if (!out) {
        std::perror(argv[2]);
        return 2;
    }
    std::printf("%u keys\n", count);
    return 0;
}
