// Table files: a small header that names the format, the sections as they lie in memory, and a
// checksum at the end; loading checks everything before it trusts anything.
#include "solver/core/table_cache.h"

#include <array>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <istream>
#include <optional>
#include <ostream>
#include <random>
#include <system_error>
#include <thread>

#include "solver/core/threads.h"

namespace cw::table_cache {
namespace {

// Layout, all integers little-endian:
//   magic (8 bytes) · kind length (u32) · kind · version (u32) · section count (u32) ·
//   section sizes (u64 each) · the sections · checksum of the sections (u64)
constexpr std::array<char, 8> kMagic = {'C', 'W', 'T', 'A', 'B', 'L', 'E', '1'};
constexpr std::size_t kMaxKindBytes = 64;
constexpr std::size_t kMaxSections = 64;
// Sections are written as they lie in memory, and every machine the program is built for is
// little-endian.
static_assert(std::endian::native == std::endian::little);

constexpr int kRenameAttempts = 100;
constexpr std::size_t kChunkBytes = std::size_t{1} << 24;
// Reads are small enough that what was read is still in the processor's cache when it is
// summed.
constexpr std::size_t kReadBytes = std::size_t{1} << 20;
// A section at least this large is read in two halves at once when the file can be opened
// twice: most of a read is the system clearing and filling fresh pages, which then goes on
// on two cores.
constexpr std::size_t kSplitBytes = std::size_t{1} << 24;

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;

std::uint64_t round(std::uint64_t lane, std::uint64_t word) {
    return std::rotl(lane + word * kPrime2, 31) * kPrime1;
}

std::uint64_t avalanche(std::uint64_t h) {
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    return h ^ (h >> 32);
}

std::uint64_t loadWord(const std::uint8_t* at) {
    std::uint64_t word = 0;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// The checksum of a section taken a piece at a time as it is read, while the piece is still
// in the cache: add() whole blocks of 32 bytes, and hand the rest to finish().
class Checksum {
public:
    static constexpr std::size_t kBlock = 32;

    explicit Checksum(std::uint64_t seed)
        : lanes_{seed + kPrime1 + kPrime2, seed + kPrime2, seed, seed - kPrime1} {}

    /// Takes in every whole block of `bytes`; returns how many bytes that was.
    std::size_t add(std::span<const std::uint8_t> bytes) {
        const std::uint8_t* at = bytes.data();
        const std::size_t whole = bytes.size() / kBlock * kBlock;
        for (const std::uint8_t* end = at + whole; at != end; at += kBlock) {
            for (std::size_t lane = 0; lane < 4; ++lane) {
                lanes_[lane] = round(lanes_[lane], loadWord(at + 8 * lane));
            }
        }
        return whole;
    }

    /// The checksum of all `size` bytes, the last `rest` of them not yet added.
    std::uint64_t finish(std::span<const std::uint8_t> rest, std::uint64_t size) const {
        std::uint64_t h = std::rotl(lanes_[0], 1) + std::rotl(lanes_[1], 7) +
                          std::rotl(lanes_[2], 12) + std::rotl(lanes_[3], 18);
        h += size;
        const std::uint8_t* at = rest.data();
        std::size_t left = rest.size();
        for (; left >= 8; at += 8, left -= 8) {
            h = std::rotl(h ^ round(0, loadWord(at)), 27) * kPrime1 + kPrime3;
        }
        for (; left > 0; ++at, --left) {
            h = std::rotl(h ^ (*at * kPrime1), 11) * kPrime2;
        }
        return avalanche(h);
    }

private:
    std::array<std::uint64_t, 4> lanes_;
};

void putU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

void putU64(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

std::string header(const FileFormat& format) {
    std::string out(kMagic.begin(), kMagic.end());
    putU32(out, static_cast<std::uint32_t>(format.kind.size()));
    out += format.kind;
    putU32(out, format.version);
    putU32(out, static_cast<std::uint32_t>(format.sectionBytes.size()));
    for (const std::uint64_t bytes : format.sectionBytes) {
        putU64(out, bytes);
    }
    return out;
}

// Reads exactly `size` bytes; false at a short read.
bool readExactly(std::istream& in, void* into, std::size_t size) {
    in.read(static_cast<char*>(into), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(in.gcount()) == size;
}

bool readU32(std::istream& in, std::uint32_t& value) {
    std::array<std::uint8_t, 4> bytes{};
    if (!readExactly(in, bytes.data(), bytes.size())) {
        return false;
    }
    value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | bytes[static_cast<std::size_t>(i)];
    }
    return true;
}

bool readU64(std::istream& in, std::uint64_t& value) {
    std::array<std::uint8_t, 8> bytes{};
    if (!readExactly(in, bytes.data(), bytes.size())) {
        return false;
    }
    value = loadWord(bytes.data());
    return true;
}

bool sectionsMatch(const FileFormat& format, std::size_t count, auto sizeOf) {
    if (count != format.sectionBytes.size()) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (sizeOf(i) != format.sectionBytes[i]) {
            return false;
        }
    }
    return true;
}

// A name no other writer picks: two processes (or threads) building at once each write their
// own temporary file and rename it into place.
std::filesystem::path temporaryName(const std::filesystem::path& file) {
    static std::atomic<std::uint64_t> counter{0};
    std::random_device device;
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const std::uint64_t tag = avalanche(now ^ (std::uint64_t{device()} << 32) ^ device() ^
                                        (counter.fetch_add(1) * kPrime3));
    std::array<char, 17> hex{};
    for (std::size_t i = 0; i < 16; ++i) {
        hex[i] = "0123456789abcdef"[(tag >> (60 - 4 * i)) & 15];
    }
    std::filesystem::path name = file;
    name += ".tmp-";
    name += hex.data();
    return name;
}

bool writeFile(const std::filesystem::path& path, const FileFormat& format,
               std::span<const std::span<const std::uint8_t>> sections, std::string& why) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        why = "cannot create " + path.string();
        return false;
    }
    const std::string head = header(format);
    out.write(head.data(), static_cast<std::streamsize>(head.size()));
    std::uint64_t sum = 0;
    for (const auto& section : sections) {
        sum = checksum(section, sum);
        for (std::size_t at = 0; at < section.size(); at += kChunkBytes) {
            const std::size_t size = std::min(kChunkBytes, section.size() - at);
            out.write(reinterpret_cast<const char*>(section.data() + at),
                      static_cast<std::streamsize>(size));
        }
    }
    std::string tail;
    putU64(tail, sum);
    out.write(tail.data(), static_cast<std::streamsize>(tail.size()));
    out.close();
    if (!out) {
        why = "cannot write " + path.string();
        return false;
    }
    return true;
}

} // namespace

std::uint64_t checksum(std::span<const std::uint8_t> bytes, std::uint64_t seed) {
    Checksum sum(seed);
    const std::size_t added = sum.add(bytes);
    return sum.finish(bytes.subspan(added), bytes.size());
}

std::filesystem::path defaultFolder() {
#ifdef _WIN32
    if (const char* local = std::getenv("LOCALAPPDATA"); local != nullptr && *local != '\0') {
        return std::filesystem::path(local) / "Cubewright";
    }
    return {};
#else
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/') {
        return std::filesystem::path(cache) / "cubewright";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        return std::filesystem::path(home) / ".cache" / "cubewright";
    }
    return {};
#endif
}

namespace {

// Reads `into` from `in` a piece at a time, telling `afterPiece` how far it has read after
// each; false at a short read.
template <typename AfterPiece>
bool readPieces(std::istream& in, std::span<std::uint8_t> into, const AfterPiece& afterPiece) {
    for (std::size_t at = 0; at < into.size(); at += kReadBytes) {
        const std::size_t size = std::min(kReadBytes, into.size() - at);
        if (!readExactly(in, into.data() + at, size)) {
            return false;
        }
        afterPiece(at + size);
    }
    return true;
}

// read(), where `file`, when given, is the file `in` reads: large sections then have their
// back half read from a second stream of it on a thread of its own.
LoadStatus readFrom(std::istream& in, const std::filesystem::path* file, const FileFormat& format,
                    std::span<const std::span<std::uint8_t>> sections, std::string& why) {
    if (!sectionsMatch(format, sections.size(),
                       [&](std::size_t i) { return sections[i].size(); })) {
        why = "the tables in memory do not match the format";
        return LoadStatus::damaged;
    }
    std::array<char, kMagic.size()> magic{};
    in.read(magic.data(), static_cast<std::streamsize>(magic.size()));
    if (in.gcount() == 0) {
        return LoadStatus::missing;
    }
    if (static_cast<std::size_t>(in.gcount()) != magic.size() || magic != kMagic) {
        why = "not a table file";
        return LoadStatus::damaged;
    }
    std::uint32_t kindBytes = 0;
    if (!readU32(in, kindBytes) || kindBytes > kMaxKindBytes) {
        why = "its header is damaged";
        return LoadStatus::damaged;
    }
    std::string kind(kindBytes, '\0');
    std::uint32_t version = 0;
    std::uint32_t count = 0;
    if (!readExactly(in, kind.data(), kind.size()) || !readU32(in, version) ||
        !readU32(in, count) || count > kMaxSections) {
        why = "its header is damaged";
        return LoadStatus::damaged;
    }
    if (kind != format.kind) {
        why = "it holds other tables (" + kind + ")";
        return LoadStatus::damaged;
    }
    if (version != format.version) {
        why = "it was made for version " + std::to_string(version) + " of the tables, not " +
              std::to_string(format.version);
        return LoadStatus::damaged;
    }
    std::vector<std::uint64_t> sizes(count);
    for (std::uint64_t& size : sizes) {
        if (!readU64(in, size)) {
            why = "its header is damaged";
            return LoadStatus::damaged;
        }
    }
    if (!sectionsMatch(format, sizes.size(), [&](std::size_t i) { return sizes[i]; })) {
        why = "its tables have other sizes";
        return LoadStatus::damaged;
    }
    std::uint64_t sum = 0;
    for (const auto& section : sections) {
        // Each piece is summed as soon as it is read, while it is still in the cache; the
        // back half of a large section, once both halves are in.
        Checksum piecewise(sum);
        std::size_t added = 0;
        const std::streamoff start = file != nullptr ? static_cast<std::streamoff>(in.tellg()) : -1;
        const bool split =
            start >= 0 && section.size() >= kSplitBytes && core::usableThreads(2) > 1;
        const std::size_t front =
            split ? section.size() / 2 / kReadBytes * kReadBytes : section.size();
        bool frontRead = false;
        bool backRead = true;
        {
            const auto readBack = [&] {
                std::ifstream second(*file, std::ios::binary);
                backRead = second.seekg(start + static_cast<std::streamoff>(front)) &&
                           readPieces(second, section.subspan(front), [](std::size_t) {});
            };
            std::optional<core::Beside> back;
            if (split) {
                back.emplace(readBack);
            }
            frontRead = readPieces(in, section.first(front), [&](std::size_t read) {
                added += piecewise.add(section.subspan(added, read - added));
            });
        }
        if (!frontRead || !backRead ||
            (split && !in.seekg(start + static_cast<std::streamoff>(section.size())))) {
            why = "it is truncated";
            return LoadStatus::damaged;
        }
        added += piecewise.add(section.subspan(added));
        sum = piecewise.finish(section.subspan(added), section.size());
    }
    std::uint64_t stored = 0;
    if (!readU64(in, stored)) {
        why = "it is truncated";
        return LoadStatus::damaged;
    }
    if (stored != sum) {
        why = "its checksum does not match its contents";
        return LoadStatus::damaged;
    }
    if (in.peek() != std::istream::traits_type::eof()) {
        why = "it is longer than its tables";
        return LoadStatus::damaged;
    }
    return LoadStatus::loaded;
}

} // namespace

LoadStatus read(std::istream& in, const FileFormat& format,
                std::span<const std::span<std::uint8_t>> sections, std::string& why) {
    return readFrom(in, nullptr, format, sections, why);
}

LoadStatus load(const std::filesystem::path& file, const FileFormat& format,
                std::span<const std::span<std::uint8_t>> sections, std::string& why) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return LoadStatus::missing;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        why = "it cannot be opened";
        return LoadStatus::damaged;
    }
    const LoadStatus status = readFrom(in, &file, format, sections, why);
    if (status == LoadStatus::missing) {
        why = "it is empty";
        return LoadStatus::damaged;
    }
    return status;
}

bool store(const std::filesystem::path& file, const FileFormat& format,
           std::span<const std::span<const std::uint8_t>> sections, std::string& why) {
    if (format.kind.size() > kMaxKindBytes || format.sectionBytes.size() > kMaxSections ||
        !sectionsMatch(format, sections.size(),
                       [&](std::size_t i) { return sections[i].size(); })) {
        why = "the tables in memory do not match the format";
        return false;
    }
    std::error_code error;
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), error);
        if (error) {
            why = "cannot make the folder " + file.parent_path().string() + ": " + error.message();
            return false;
        }
    }
    const std::filesystem::path temporary = temporaryName(file);
    if (!writeFile(temporary, format, sections, why)) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    std::filesystem::rename(temporary, file, error);
    // Windows will not rename over a file that exists, nor over one that another process has
    // open: take the old file away and try again, giving a racing writer or a reader a moment
    // to finish. Every writer writes the same tables, so whichever file ends up there serves.
    for (int attempt = 0; error && attempt < kRenameAttempts; ++attempt) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        std::filesystem::rename(temporary, file, error);
        if (error) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    if (error) {
        why = "cannot rename " + temporary.string() + ": " + error.message();
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

LoadStatus loadOrBuild(const std::filesystem::path& file, const FileFormat& format,
                       std::span<const std::span<std::uint8_t>> sections,
                       const std::function<void()>& build, std::ostream& notes,
                       std::string_view program) {
    if (file.empty()) {
        build();
        return LoadStatus::missing;
    }
    std::string why;
    const LoadStatus status = load(file, format, sections, why);
    if (status == LoadStatus::loaded) {
        return status;
    }
    if (status == LoadStatus::damaged) {
        notes << program << ": the table file " << file.string() << " is damaged (" << why
              << "); rebuilding it\n";
    }
    build();
    std::vector<std::span<const std::uint8_t>> built(sections.begin(), sections.end());
    if (!store(file, format, built, why)) {
        notes << program << ": could not write " << file.string() << " (" << why
              << "); the tables stay in memory\n";
    }
    return status;
}

} // namespace cw::table_cache
