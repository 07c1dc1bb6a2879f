#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/platform.h"

namespace {

// A folder of its own with a file, a second name of it, a link to it, another file, a folder
// and a dangling link.
struct folder {
	std::string path;
	folder()
	{
		char name[] = "/tmp/platform-test-XXXXXX";
		path = mkdtemp(name);
		for (const char *file : {"/page.htm", "/other.htm"})
			std::fclose(std::fopen((path + file).c_str(), "w"));
		EXPECT_EQ(link((path + "/page.htm").c_str(), (path + "/hard.htm").c_str()), 0);
		EXPECT_EQ(symlink("page.htm", (path + "/link.htm").c_str()), 0);
		EXPECT_EQ(symlink("none.htm", (path + "/dangling.htm").c_str()), 0);
	}
	~folder() { (void)std::system(("rm -rf " + path).c_str()); }
	[[nodiscard]] std::string operator/(const char *name) const { return path + "/" + name; }
};

TEST(Platform, SameFileThroughLinks)
{
	folder f;
	const struct {
		const char *a, *b;
		bool same;
	} cases[] = {
		{"page.htm", "page.htm", true},  {"page.htm", "hard.htm", true},
		{"link.htm", "page.htm", true},  {"page.htm", "other.htm", false},
		{"page.htm", "none.htm", false}, {"dangling.htm", "none.htm", false},
	};
	for (const auto &c : cases)
		EXPECT_EQ(is_same_file((f / c.a).c_str(), (f / c.b).c_str()), c.same)
			<< c.a << " " << c.b;
	EXPECT_FALSE(is_same_file(f.path.c_str(), f.path.c_str())) << "a folder is no file";
}

TEST(Platform, LinksFollowedToTheirFiles)
{
	folder f;
	char resolved[path_capacity];
	std::string page = f / "page.htm";
	EXPECT_EQ(follow_link(page.c_str(), resolved), page.c_str());
	const char *target = follow_link((f / "link.htm").c_str(), resolved);
	ASSERT_NE(target, nullptr);
	EXPECT_TRUE(is_same_file(target, page.c_str()));
	EXPECT_EQ(follow_link((f / "dangling.htm").c_str(), resolved), nullptr);
}

TEST(Platform, NamesOfOpenFiles)
{
	folder f;
	EXPECT_EQ(symlink("/dev/stdout", (f / "out").c_str()), 0);
	const struct {
		std::string path;
		bool open;
	} cases[] = {{"/dev/stdout", true}, {"/dev/fd/1", true},     {"/proc/self/fd/1", true},
	             {f / "out", true},     {f / "page.htm", false}, {"/dev/null", false}};
	for (const auto &c : cases)
		EXPECT_EQ(names_open_file(c.path.c_str()), c.open) << c.path;
}

// Local times as the C library places them, in a zone with a change of clocks.
TEST(Platform, LocalTimes)
{
	(void)setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
	tzset();
	const struct {
		std::time_t t;
		int year, month, day, hour;
	} cases[] = {
		{0, 1970, 0, 1, 1},
		{1806541200, 2027, 3, 1, 3},  // 2027-04-01T01:00Z, summer time
		{-8520336000, 1700, 0, 1, 1}, // before 1900
		{16725225600, 2500, 0, 1, 1}, // far ahead
	};
	for (const auto &c : cases) {
		std::tm local{};
		ASSERT_TRUE(to_local(c.t, local)) << c.t;
		EXPECT_EQ(local.tm_year + 1900, c.year) << c.t;
		EXPECT_EQ(local.tm_mon, c.month) << c.t;
		EXPECT_EQ(local.tm_mday, c.day) << c.t;
		EXPECT_EQ(local.tm_hour, c.hour) << c.t;
	}
	(void)unsetenv("TZ");
	tzset();
}

TEST(Platform, StandardInputIsDash)
{
	EXPECT_EQ(open_input("-"), stdin);
	close_input(stdin);
	EXPECT_EQ(open_input("/nonexistent/x"), nullptr);
}

} // namespace
