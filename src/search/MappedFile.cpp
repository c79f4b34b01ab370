#include "search/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mirudex::search {

struct MappedFile::Mapping {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    const char* data = nullptr;

    Mapping() = default;
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    ~Mapping()
    {
        if (data)
            ::munmap(const_cast<char*>(data), static_cast<size_t>(size));
    }
    bool Same(const std::string& p, const struct stat& st) const
    {
        return p == path && st.st_dev == device && st.st_ino == inode && st.st_size == size &&
               st.st_mtim.tv_sec == modified.tv_sec && st.st_mtim.tv_nsec == modified.tv_nsec;
    }
};

namespace {

// The mappings kept for later searches, the latest used last.
constexpr size_t kKeptMappings = 8;
std::mutex keptLock;
std::vector<std::shared_ptr<const MappedFile::Mapping>>& Kept()
{
    static auto* kept = new std::vector<std::shared_ptr<const MappedFile::Mapping>>;  // left at exit
    return *kept;
}

}  // namespace

MappedFile::~MappedFile() { Close(); }

std::string_view MappedFile::bytes() const
{
    if (!mapping_ || !mapping_->data)
        return {};
    return {mapping_->data, static_cast<size_t>(mapping_->size)};
}

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
    std::lock_guard lock(keptLock);
    auto& kept = Kept();
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        if ((*it)->Same(path, st)) {
            mapping_ = *it;
            kept.erase(it);
            kept.push_back(mapping_);
            ::close(fd);
            open_ = true;
            return true;
        }
    }
    auto made = std::make_shared<Mapping>();
    made->path = path;
    made->device = st.st_dev;
    made->inode = st.st_ino;
    made->size = st.st_size;
    made->modified = st.st_mtim;
    if (st.st_size > 0) {
        // Only the pages a search touches are read: the candidates' lines.
        void* map = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (map == MAP_FAILED) {
            ::close(fd);
            return false;
        }
        made->data = static_cast<const char*>(map);
    }
    ::close(fd);  // the mapping stays valid without the descriptor
    // A file that changed: its older mapping goes once no search holds it.
    std::erase_if(kept, [&](const auto& m) { return m->path == path; });
    if (kept.size() >= kKeptMappings)
        kept.erase(kept.begin());
    kept.push_back(made);
    mapping_ = std::move(made);
    open_ = true;
    return true;
}

void MappedFile::Close()
{
    mapping_.reset();
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

std::string_view PlainLineAt(std::string_view bytes, int64_t offset, int bufferSize)
{
    if (offset < 0 || static_cast<uint64_t>(offset) >= bytes.size() || bufferSize < 3)
        return {};
    const size_t begin = static_cast<size_t>(offset);
    const void* lf = std::memchr(bytes.data() + begin, '\n', bytes.size() - begin);
    if (!lf)
        return {};
    const size_t lineEnd = static_cast<size_t>(static_cast<const char*>(lf) - bytes.data());
    if (lineEnd + 1 >= bytes.size())
        return {};  // the last byte of the file: let the reader decide
    if (lineEnd - begin + 1 > static_cast<size_t>(bufferSize - 2))
        return {};
    return bytes.substr(begin, lineEnd + 1 - begin);
}

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
