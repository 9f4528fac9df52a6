// Table files: what is trusted, what is rebuilt, and that writing never leaves a bad file.
#include "solver/core/table_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using cw::table_cache::FileFormat;
using cw::table_cache::LoadStatus;

class TableCache : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("cubewright-table-cache-" +
                   std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) +
                   "-" + std::to_string(std::random_device{}()));
        fs::remove_all(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Two sections with contents that differ from byte to byte.
    static std::vector<std::vector<std::uint8_t>> tables() {
        std::vector<std::uint8_t> first(100003);
        std::iota(first.begin(), first.end(), std::uint8_t{7});
        std::vector<std::uint8_t> second(77, 0xA5);
        return {first, second};
    }

    // What a build does: fills the sections where they lie, as the solvers' builders do.
    static void fill(std::vector<std::vector<std::uint8_t>>& into) {
        const auto data = tables();
        for (std::size_t i = 0; i < into.size(); ++i) {
            std::copy(data[i].begin(), data[i].end(), into[i].begin());
        }
    }

    static FileFormat format() { return {"test", 3, {100003, 77}}; }

    fs::path file() const { return folder_ / "sub" / "test.tables"; }

    void write() const {
        const auto data = tables();
        const std::vector<std::span<const std::uint8_t>> sections(data.begin(), data.end());
        std::string why;
        ASSERT_TRUE(cw::table_cache::store(file(), format(), sections, why)) << why;
    }

    LoadStatus load(const FileFormat& asked, std::vector<std::vector<std::uint8_t>>& into,
                    std::string& why) const {
        into.clear();
        for (const std::uint64_t bytes : asked.sectionBytes) {
            into.emplace_back(bytes);
        }
        const std::vector<std::span<std::uint8_t>> sections(into.begin(), into.end());
        return cw::table_cache::load(file(), asked, sections, why);
    }

    std::vector<char> bytesOfFile() const {
        std::ifstream in(file(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    void rewriteFile(const std::vector<char>& bytes) const {
        std::ofstream out(file(), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    fs::path folder_;
};

TEST_F(TableCache, StoredTablesLoadBackUnchangedAndLeaveNoTemporaryFile) {
    write();
    std::vector<std::vector<std::uint8_t>> loaded;
    std::string why;
    EXPECT_EQ(load(format(), loaded, why), LoadStatus::loaded) << why;
    EXPECT_EQ(loaded, tables());
    EXPECT_EQ(std::distance(fs::directory_iterator(file().parent_path()), {}), 1);
}

TEST_F(TableCache, AMissingFileIsMissingAndEveryOtherFaultIsDamage) {
    std::vector<std::vector<std::uint8_t>> loaded;
    std::string why;
    EXPECT_EQ(load(format(), loaded, why), LoadStatus::missing);

    write();
    const std::vector<char> good = bytesOfFile();
    struct Case {
        const char* what;
        std::vector<char> bytes;
        FileFormat asked;
        const char* why;
    };
    std::vector<char> flipped = good;
    flipped[flipped.size() / 2] ^= 1;
    std::vector<char> longer = good;
    longer.push_back('x');
    const std::vector<Case> cases = {
        {"one byte changed", flipped, format(), "checksum"},
        {"truncated", std::vector<char>(good.begin(), good.end() - 100), format(), "truncated"},
        {"cut inside the header", std::vector<char>(good.begin(), good.begin() + 12), format(),
         "header"},
        {"empty", {}, format(), "empty"},
        {"another file altogether", std::vector<char>(200, 'z'), format(), "not a table file"},
        {"trailing bytes", longer, format(), "longer"},
        {"another version", good, {"test", 4, {100003, 77}}, "version 3"},
        {"another kind", good, {"other", 3, {100003, 77}}, "other tables"},
        {"other sizes", good, {"test", 3, {100003, 78}}, "sizes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rewriteFile(c.bytes);
        why.clear();
        EXPECT_EQ(load(c.asked, loaded, why), LoadStatus::damaged);
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
    }
}

TEST_F(TableCache, ALargeSectionReadInTwoHalvesAtOnceIsCheckedWhole) {
    // Large sections have their back half read beside the front one: both halves must
    // arrive in their places, and a fault in either is found.
    constexpr std::size_t kLarge = (std::size_t{1} << 24) + 12345;
    const FileFormat large{"test", 3, {kLarge, 77}};
    std::vector<std::uint8_t> first(kLarge);
    std::mt19937 random(5);
    std::generate(first.begin(), first.end(), [&random] { return std::uint8_t(random()); });
    const std::vector<std::vector<std::uint8_t>> data = {first,
                                                         std::vector<std::uint8_t>(77, 0x5A)};
    {
        const std::vector<std::span<const std::uint8_t>> sections(data.begin(), data.end());
        std::string why;
        ASSERT_TRUE(cw::table_cache::store(file(), large, sections, why)) << why;
    }
    std::vector<std::vector<std::uint8_t>> loaded;
    std::string why;
    ASSERT_EQ(load(large, loaded, why), LoadStatus::loaded) << why;
    EXPECT_TRUE(loaded == data);

    const std::vector<char> good = bytesOfFile();
    const std::size_t header = good.size() - kLarge - 77 - 8;
    const auto cut = [&good](std::size_t size) {
        return std::vector<char>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    };
    struct Case {
        const char* what;
        std::vector<char> bytes;
        const char* why;
    };
    std::vector<char> front = good;
    front[header + kLarge / 4] ^= 1;
    std::vector<char> back = good;
    back[header + kLarge - 1000] ^= 1;
    const std::vector<Case> cases = {
        {"one byte changed in the front half", front, "checksum"},
        {"one byte changed in the back half", back, "checksum"},
        {"cut in the front half", cut(header + 1000), "truncated"},
        {"cut in the back half", cut(header + kLarge * 3 / 4), "truncated"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rewriteFile(c.bytes);
        why.clear();
        EXPECT_EQ(load(large, loaded, why), LoadStatus::damaged);
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
    }
}

TEST_F(TableCache, LoadOrBuildRebuildsADamagedFileAndWritesItBack) {
    write();
    std::vector<char> bytes = bytesOfFile();
    bytes[bytes.size() - 3] ^= 0x40;
    rewriteFile(bytes);

    std::vector<std::vector<std::uint8_t>> into = {std::vector<std::uint8_t>(100003),
                                                   std::vector<std::uint8_t>(77)};
    const std::vector<std::span<std::uint8_t>> sections(into.begin(), into.end());
    int builds = 0;
    std::ostringstream notes;
    const auto build = [&] {
        ++builds;
        fill(into);
    };
    EXPECT_EQ(cw::table_cache::loadOrBuild(file(), format(), sections, build, notes),
              LoadStatus::damaged);
    EXPECT_EQ(builds, 1);
    EXPECT_NE(notes.str().find("cubewright-solve: the table file"), std::string::npos);
    EXPECT_NE(notes.str().find("rebuilding it"), std::string::npos);

    // The rewritten file is whole: the next run loads it without building.
    notes.str("");
    EXPECT_EQ(cw::table_cache::loadOrBuild(file(), format(), sections, build, notes),
              LoadStatus::loaded);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(notes.str(), "");
    EXPECT_EQ(into, tables());
}

TEST_F(TableCache, AFolderThatCannotBeWrittenStillGivesTheTables) {
    // A plain file where the folder should be: no one, not even root, can write below it.
    fs::create_directories(folder_);
    std::ofstream(folder_ / "sub") << "in the way";

    std::vector<std::vector<std::uint8_t>> into = {std::vector<std::uint8_t>(100003),
                                                   std::vector<std::uint8_t>(77)};
    const std::vector<std::span<std::uint8_t>> sections(into.begin(), into.end());
    std::ostringstream notes;
    EXPECT_EQ(cw::table_cache::loadOrBuild(
                  file(), format(), sections, [&] { fill(into); }, notes),
              LoadStatus::missing);
    EXPECT_EQ(into, tables());
    EXPECT_NE(notes.str().find("could not write"), std::string::npos) << notes.str();
    EXPECT_NE(notes.str().find("the tables stay in memory"), std::string::npos);

    // Without a file name nothing is read or written at all.
    notes.str("");
    int builds = 0;
    EXPECT_EQ(cw::table_cache::loadOrBuild(
                  {}, format(), sections, [&] { ++builds; }, notes),
              LoadStatus::missing);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(notes.str(), "");
}

TEST_F(TableCache, WritersRacingOnOneFileLeaveOneGoodFile) {
    std::vector<std::thread> writers;
    for (int i = 0; i < 4; ++i) {
        writers.emplace_back([this] {
            for (int round = 0; round < 5; ++round) {
                write();
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    std::vector<std::vector<std::uint8_t>> loaded;
    std::string why;
    EXPECT_EQ(load(format(), loaded, why), LoadStatus::loaded) << why;
    EXPECT_EQ(loaded, tables());
    EXPECT_EQ(std::distance(fs::directory_iterator(file().parent_path()), {}), 1);
}

TEST(TableChecksum, SeesEveryByteAndItsPlace) {
    std::vector<std::uint8_t> bytes(1000);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    const std::uint64_t whole = cw::table_cache::checksum(bytes);
    for (const std::size_t at :
         {std::size_t{0}, std::size_t{31}, std::size_t{32}, std::size_t{995}, std::size_t{999}}) {
        std::vector<std::uint8_t> changed = bytes;
        changed[at] ^= 0x80;
        EXPECT_NE(cw::table_cache::checksum(changed), whole) << "byte " << at;
    }
    std::swap(bytes[10], bytes[11]);
    EXPECT_NE(cw::table_cache::checksum(bytes), whole);
    EXPECT_NE(cw::table_cache::checksum(std::span(bytes).first(999)), whole);
}

} // namespace
