#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "output/diagnostics.h"

namespace {

// What the calls said, each through a fresh sink.
template <class Say>
std::string said(Say say)
{
	char *text = nullptr;
	std::size_t size = 0;
	std::FILE *to = open_memstream(&text, &size);
	diagnostics d{to};
	say(d);
	end_warnings(d);
	(void)std::fclose(to);
	std::string result(text, size);
	std::free(text);
	return result;
}

TEST(Diagnostics, OneLineEachEscaped)
{
	const struct {
		const char *file;
		unsigned long long line;
		const char *what, *expected;
	} cases[] = {
		{"a.ics", 12, "no DTSTART", "a.ics:12: no DTSTART\n"},
		{"a.ics", 0, "too many events", "a.ics: too many events\n"},
		{"a\nb.ics", 3, "event x\ty\x1b[2J", "a\\nb.ics:3: event x\\ty\\x1b[2J\n"},
		{"-", 1, "not UTF-8", "-:1: not UTF-8\n"},
	};
	for (const auto &c : cases) {
		EXPECT_EQ(said([&](diagnostics &d) { refuse_file(d, c.file, c.line, c.what); }),
		          c.expected);
		EXPECT_EQ(said([&](diagnostics &d) { warn(d, c.file, c.line, c.what); }),
		          c.expected);
	}
}

TEST(Diagnostics, TenWarningsAFileThenACount)
{
	const char *one = "one.ics";
	const char *other = "other.ics";
	std::string text = said([&](diagnostics &d) {
		for (int i = 1; i <= 13; ++i)
			warn(d, one, static_cast<unsigned long long>(i), "x");
		warn(d, other, 1, "y");
		for (int i = 2; i <= 11; ++i)
			warn(d, other, static_cast<unsigned long long>(i), "y");
		refuse_file(d, other, 13, "cut");
	});
	std::string expected;
	for (int i = 1; i <= 10; ++i)
		expected += "one.ics:" + std::to_string(i) + ": x\n";
	expected += "one.ics: 3 more warnings\n";
	for (int i = 1; i <= 10; ++i)
		expected += "other.ics:" + std::to_string(i) + ": y\n";
	// The count before the refusal, which is the last line said.
	expected += "other.ics: 1 more warning\nother.ics:13: cut\n";
	EXPECT_EQ(text, expected);
}

TEST(Diagnostics, ARefusalIsNotedAWarningIsNot)
{
	std::FILE *to = std::tmpfile();
	diagnostics d{to};
	warn(d, "a", 1, "x");
	EXPECT_FALSE(d.refused);
	EXPECT_FALSE(refuse(d, "Cannot open file ", "x\n.htm"));
	EXPECT_TRUE(d.refused);
	(void)std::fclose(to);
}

} // namespace
