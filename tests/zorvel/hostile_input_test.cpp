// Files that are not project files and search spaces too large to try: each is refused at once
// with a message, and nothing hangs, floods memory or aborts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "tests/zorvel/zorvel_test_util.h"

using namespace zorvel;
using ztest::errorOf;
using ztest::json;

namespace {

// Runs f and returns its error, failing the test when it takes a second or more.
template <class F>
std::string quickError(F&& f) {
    auto start = std::chrono::steady_clock::now();
    std::string e = errorOf(f);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    return e;
}

std::string withNumber(const std::string& key, const std::string& literal) {
    json j = ztest::smallTemplate();
    j[key] = "@";
    std::string text = j.dump();
    return text.replace(text.find("\"@\""), 3, literal);
}

}  // namespace

TEST(HostileFiles, OnlyRegularFilesOfABoundedSizeAreRead) {
    ztest::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo.zvx").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero.zvx");
    { std::ofstream big(dir / "big.zvx"); }
    std::filesystem::resize_file(dir / "big.zvx", kMaxProjectBytes + 1);  // sparse, so cheap
    Project p;
    p.OpenFile(ztest::templateDir() / "Small_village_Pallix.zvx");
    for (const char* name : {"fifo.zvx", "zero.zvx"}) {
        std::string e = quickError([&] { p.OpenFile(dir / name); });
        EXPECT_NE(e.find("is not a regular file"), std::string::npos) << e;
        EXPECT_NE(e.find(name), std::string::npos) << e;
    }
    EXPECT_NE(quickError([&] { p.OpenFile("/dev/null"); }).find("is not a regular file"),
              std::string::npos);
    std::string e = quickError([&] { p.OpenFile(dir / "big.zvx"); });
    EXPECT_NE(e.find("is too large (16 MiB"), std::string::npos) << e;
    EXPECT_EQ(p.Name(), "Small village (Pallix)");  // the open project stays
}

TEST(HostileFiles, NumbersTooLargeForADoubleNameTheirKey) {
    std::string e = errorOf([] { parseProject("{\"format\":1e400}", "x.zvx"); });
    EXPECT_EQ(e,
              "Project file 'x.zvx': key 'format' holds a number too large for a double (1e400)");
    e = errorOf([] { parseProject(withNumber("notes", "-2e308"), "x.zvx"); });
    EXPECT_NE(e.find("key 'notes' holds a number too large for a double (-2e308)"),
              std::string::npos)
        << e;
    json j = ztest::smallTemplate();
    j["components"]["battery"]["counts"][2] = "@";
    std::string text = j.dump();
    text.replace(text.find("\"@\""), 3, "7e999");
    e = errorOf([&] { parseProject(text, "x.zvx"); });
    EXPECT_NE(e.find("key 'components.battery.counts[2]' holds a number too large"),
              std::string::npos)
        << e;
    // Other syntax errors say where they are.
    e = errorOf([] { parseProject("{\"site\": {\"latitude\": 12,, }}", "x.zvx"); });
    EXPECT_NE(e.find("is not valid JSON near key 'site.latitude'"), std::string::npos) << e;
    // Tiny numbers are no error: they read as 0.
    EXPECT_NE(errorOf([] {
                  parseProject(withNumber("notes", "1e-400"), "x.zvx");
              }).find("key 'notes' must be a text"),
              std::string::npos);
}

TEST(HostileFiles, SavingReplacesOnlyRegularFilesAndAsAWhole) {
    ztest::TempDir dir;
    Project p;
    p.OpenFile(ztest::templateDir() / "Small_village_Pallix.zvx");
    ASSERT_EQ(::mkfifo((dir / "fifo.zvx").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder.zvx");
    EXPECT_NE(quickError([&] { p.SaveFileAs(dir / "fifo.zvx"); }).find("not a regular file"),
              std::string::npos);
    EXPECT_NE(quickError([&] { p.SaveFileAs(dir / "folder.zvx"); }).find("a folder"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "fifo.zvx"));
    // A file replaced keeps its permissions, and no temporary file is left behind.
    { std::ofstream(dir / "old.zvx") << "old"; }
    std::filesystem::permissions(
        dir / "old.zvx", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    p.SaveFileAs(dir / "old.zvx");
    EXPECT_EQ(readProject(dir / "old.zvx").name, "Small village (Pallix)");
    EXPECT_EQ(std::filesystem::status(dir / "old.zvx").permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1);
    // Notes that are not UTF-8 (as a caller may pass them) are saved with replacement characters.
    p.SetNotes("caf\xE9");
    p.SaveFileAs(dir / "notes.zvx");
    EXPECT_EQ(readProject(dir / "notes.zvx").notes, "caf\xEF\xBF\xBD");
}

TEST(SearchSpace, CountedFromTheListSizesAsEnumerated) {
    for (const char* name :
         {"Small_village_Pallix.zvx", "Medium_village_Pallix.zvx", "Large_village_Pallix.zvx"}) {
        ProjectData d = ztest::parse(ztest::loadTemplate(name));
        EXPECT_EQ(countSystems(d), static_cast<std::int64_t>(enumerateSystems(d).size())) << name;
    }
    json j = ztest::smallTemplate();
    ztest::setSpace(j, {1, 2}, {0, 1}, {0}, {0, 3, 6}, {0, 1, 2});
    j["dispatch"]["strategies"] = {"cycle_charging"};
    ProjectData d = ztest::parse(j);
    EXPECT_EQ(countSystems(d), static_cast<std::int64_t>(enumerateSystems(d).size()));
    d.wind.reset();  // no wind resource: turbines are left out
    d.diesel.sizesKw = {0, 2};
    EXPECT_EQ(countSystems(d), static_cast<std::int64_t>(enumerateSystems(d).size()));
}

TEST(SearchSpace, TooLargeASearchIsRefusedAtOnceWithTheCountAndWhatToShrink) {
    json j = ztest::smallTemplate();
    std::vector<double> sizes;
    std::vector<int> counts;
    for (int i = 0; i < 100; ++i) {
        sizes.push_back(0.5 * i);
        counts.push_back(i);
    }
    ztest::setSpace(j, sizes, counts, sizes, counts, sizes);
    ztest::TempDir dir;
    Project p;
    p.OpenFile(ztest::writeJson(dir, "huge.zvx", j));
    EXPECT_EQ(p.SystemsToTry(), 19'602'000'198);
    EXPECT_EQ(p.InputsComplete(), 0);
    std::string e = quickError([&] { p.StartCalculation(); });
    EXPECT_NE(e.find("holds 19,602,000,198 systems, more than the limit of 5,000,000"),
              std::string::npos)
        << e;
    EXPECT_NE(e.find("components.pv.sizes_kw (100)"), std::string::npos) << e;
    EXPECT_EQ(p.IsCalculating(), 0);
    EXPECT_NO_THROW(p.InputSummaryHtml());
}
