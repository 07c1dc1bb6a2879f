#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "output/page_file.h"

namespace {

std::string contents(const std::string &path)
{
	std::ifstream in(path, std::ios::binary);
	std::stringstream text;
	text << in.rdbuf();
	return text.str();
}

std::string folder_of_test()
{
	char name[] = "/tmp/page-file-test-XXXXXX";
	return mkdtemp(name);
}

page_file page; // as the programs have it: static, for its buffers

// Writes text as a page at path; whether it was put there.
bool write_page(const std::string &path, const std::string &text, std::FILE *messages)
{
	diagnostics d{messages};
	if (!open_page_file(page, path.c_str(), d))
		return false;
	put(page.out, text);
	return close_page_file(page, d);
}

// A page replaces the file at its path whole, keeps its mode, and leaves no other file; a
// page that cannot be whole leaves the old one.
TEST(PageFile, ReplacedWholeOrNotAtAll)
{
	std::string dir = folder_of_test();
	std::string path = dir + "/page.htm";
	std::FILE *messages = std::tmpfile();
	{
		std::ofstream(path) << "old";
	}
	ASSERT_EQ(chmod(path.c_str(), 0640), 0);
	EXPECT_TRUE(write_page(path, "new\n", messages));
	EXPECT_EQ(contents(path), "new\r\n");
	struct stat info {};
	ASSERT_EQ(stat(path.c_str(), &info), 0);
	EXPECT_EQ(info.st_mode & 0777, 0640u);
	EXPECT_EQ(std::system(("test $(ls " + dir + " | wc -l) = 1").c_str()), 0);

	EXPECT_FALSE(write_page(dir + "/none/page.htm", "x", messages));
	std::rewind(messages);
	char said[256] = {};
	ASSERT_NE(std::fgets(said, sizeof said, messages), nullptr);
	EXPECT_EQ(std::string(said), "Cannot open file " + dir + "/none/page.htm\n");
	(void)std::fclose(messages);
	(void)std::system(("rm -rf " + dir).c_str());
}

} // namespace
