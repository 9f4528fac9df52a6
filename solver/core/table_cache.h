// Tables that take seconds to build, kept in the user's cache folder so that later runs load
// them instead. Used by the solvers' large tables (cubewright-solve), their tests and benchmarks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// How to use it. Describe the file with a FileFormat: a kind tag that names the tables, a
/// version that changes whenever their layout or content changes, and the size of each section
/// (one section per table). Size the tables in memory, then call loadOrBuild(): it loads the
/// file when it is whole and made for exactly this format, and otherwise builds the tables and
/// writes them for next time. A file is trusted only after its header, its length and a 64-bit
/// checksum of its contents have been checked; anything else (missing, truncated, damaged,
/// another kind, another version) is rebuilt, never read into the tables half-way and never a
/// crash. Writing goes through a temporary file renamed into place, so a reader never sees a
/// half-written file and two processes building at once leave one good file. Nothing here
/// throws.
namespace cw::table_cache {

/// Where the tables are kept: $XDG_CACHE_HOME/cubewright (when it is an absolute path), else
/// $HOME/.cache/cubewright on Linux; %LOCALAPPDATA%\Cubewright on Windows. Empty when no such
/// folder can be named.
std::filesystem::path defaultFolder();

/// What a trusted file holds.
struct FileFormat {
    /// Names the tables ("short", "optimal-medium"); at most 64 bytes.
    std::string kind;
    /// Changes whenever the tables' layout or content changes.
    std::uint32_t version = 0;
    /// The size in bytes of each section, in the order they are stored.
    std::vector<std::uint64_t> sectionBytes;
};

enum class LoadStatus { loaded, missing, damaged };

/// Reads the file into `sections`, each already sized as `format` says. On `damaged`, `why`
/// names the fault and the sections' contents are unspecified.
LoadStatus load(const std::filesystem::path& file, const FileFormat& format,
                std::span<const std::span<std::uint8_t>> sections, std::string& why);

/// The same over any stream: `missing` when the stream is empty.
LoadStatus read(std::istream& in, const FileFormat& format,
                std::span<const std::span<std::uint8_t>> sections, std::string& why);

/// Writes the sections to a temporary file beside `file` and renames it over `file`, creating
/// the folder first. Returns false, with `why`, when it cannot; no temporary file is left.
bool store(const std::filesystem::path& file, const FileFormat& format,
           std::span<const std::span<const std::uint8_t>> sections, std::string& why);

/// The usual flow: loads `file`; when it is missing or damaged, calls `build` (which fills the
/// sections) and stores the result. A damaged file and a failed write each get one line on
/// `notes`, starting with `program` and a colon. An empty `file` builds and writes nothing.
/// Returns what loading found (`missing` for an empty `file`).
LoadStatus loadOrBuild(const std::filesystem::path& file, const FileFormat& format,
                       std::span<const std::span<std::uint8_t>> sections,
                       const std::function<void()>& build, std::ostream& notes,
                       std::string_view program = "cubewright-solve");

/// The checksum files carry: 64 bits over the bytes, in four independent lanes so that it runs
/// at memory speed on large tables.
std::uint64_t checksum(std::span<const std::uint8_t> bytes, std::uint64_t seed = 0);

} // namespace cw::table_cache
