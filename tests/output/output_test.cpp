#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "output/output.h"
#include "test_output.h"

namespace {

TEST(Output, LineFeedsBecomeCrLf)
{
	const std::pair<const char *, const char *> cases[] = {
		{"", ""},
		{"plain", "plain"},
		{"\n", "\r\n"},
		{"a\nb\n", "a\r\nb\r\n"},
		{"\n\nx", "\r\n\r\nx"},
		{"a\rb", "a\rb"},
	};
	for (const auto &[text, expected] : cases) {
		const char *input = text; // clang 14 cannot capture a structured binding
		EXPECT_EQ(capture([&](out_stream &out) { put(out, input); }), expected) << text;
	}
}

TEST(Output, IntegersInPlainDecimal)
{
	const std::pair<int, const char *> cases[] = {
		{0, "0"},
		{7, "7"},
		{10, "10"},
		{-1, "-1"},
		{2010, "2010"},
		{INT_MAX, "2147483647"},
		{INT_MIN, "-2147483648"},
	};
	for (const auto &[value, expected] : cases) {
		int input = value;
		EXPECT_EQ(capture([&](out_stream &out) { put_int(out, input); }), expected)
			<< value;
	}
}

std::vector<std::size_t> writes;

bool record_write(void *, const char *, std::size_t count)
{
	writes.push_back(count);
	return true;
}

TEST(Output, WritesWholeBuffersThenTheRest)
{
	writes.clear();
	out_stream out{record_write, nullptr};
	for (int i = 0; i < 300; ++i)
		put(out, "abc\n"); // 1500 bytes once translated
	EXPECT_EQ(writes, (std::vector<std::size_t>{512, 512}));
	EXPECT_TRUE(flush_output(out));
	EXPECT_EQ(writes, (std::vector<std::size_t>{512, 512, 476}));
	EXPECT_TRUE(flush_output(out));
	EXPECT_EQ(writes.size(), 3u);
}

int failing_calls;

bool fail_write(void *, const char *, std::size_t)
{
	++failing_calls;
	return false;
}

TEST(Output, AFailedWriteIsRememberedAndNotRepeated)
{
	failing_calls = 0;
	out_stream out{fail_write, nullptr};
	for (int i = 0; i < 1000; ++i)
		put(out, "0123456789\n");
	EXPECT_TRUE(out.failed);
	EXPECT_FALSE(flush_output(out));
	EXPECT_EQ(failing_calls, 1);
}

} // namespace

namespace {

TEST(Output, BytesMadeText)
{
	const std::pair<const char *, const char *> cases[] = {
		{"plain\ttab", "plain\ttab"},
		{"a\nb\rc", "a\xEF\xBF\xBD"
	                    "b\xEF\xBF\xBD"
	                    "c"},
		{"caf\xC3\xA9 \xF0\x9F\x8E\x82", "caf\xC3\xA9 \xF0\x9F\x8E\x82"},
		{"\xC3(", "\xEF\xBF\xBD("},
		{"\xC2\x9B[2J", "\xEF\xBF\xBD[2J"},
		{"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
	};
	for (const auto &[bytes, expected] : cases) {
		std::string text;
		append_as_text(text, bytes);
		EXPECT_EQ(text, expected) << bytes;
	}
}

} // namespace
