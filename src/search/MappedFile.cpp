#include "search/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mirudex::search {

MappedFile::~MappedFile() { Close(); }

bool MappedFile::Open(const std::string& path)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    size_ = static_cast<size_t>(st.st_size);
    if (size_ > 0) {
        // Only the pages a search touches are read: the candidates' lines.
        void* map = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (map == MAP_FAILED) {
            ::close(fd);
            size_ = 0;
            return false;
        }
        map_ = map;
        data_ = static_cast<const char*>(map);
    }
    ::close(fd);  // the mapping stays valid without the descriptor
    open_ = true;
    return true;
}

void MappedFile::Close()
{
    if (map_)
        ::munmap(map_, size_);
    map_ = nullptr;
    data_ = nullptr;
    size_ = 0;
    open_ = false;
}

namespace {

inline char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

inline bool EqualsAt(const char* p, std::string_view needle)
{
    for (size_t i = 0; i < needle.size(); ++i)
        if (Lower(p[i]) != needle[i])
            return false;
    return true;
}

}  // namespace

size_t FindCaseInsensitive(std::string_view text, std::string_view needle, size_t from)
{
    const size_t n = needle.size();
    if (n == 0)
        return from <= text.size() ? from : std::string_view::npos;
    if (from > text.size() || text.size() - from < n)
        return std::string_view::npos;
    const char* data = text.data();
    const size_t last = text.size() - n;  // last possible start
    // (b | 0x20) == (c | 0x20) holds whenever Lower(b) == c, so it only ever
    // lets through too many candidates, which EqualsAt then rejects.
    const char first = static_cast<char>(needle[0] | 0x20);
    const char end = static_cast<char>(needle[n - 1] | 0x20);
    size_t i = from;
#if defined(__SSE2__)
    const __m128i v20 = _mm_set1_epi8(0x20);
    const __m128i vFirst = _mm_set1_epi8(first);
    const __m128i vEnd = _mm_set1_epi8(end);
    for (; i + 16 <= last + 1; i += 16) {
        const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), v20);
        const __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + n - 1)), v20);
        unsigned mask =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, vFirst), _mm_cmpeq_epi8(b, vEnd))));
        while (mask) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (EqualsAt(data + i + bit, needle))
                return i + bit;
            mask &= mask - 1;
        }
    }
#endif
    for (; i <= last; ++i)
        if ((data[i] | 0x20) == first && EqualsAt(data + i, needle))
            return i;
    return std::string_view::npos;
}

}  // namespace mirudex::search
