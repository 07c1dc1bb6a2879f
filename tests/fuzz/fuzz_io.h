#ifndef PENDRIK_FUZZ_IO_H
#define PENDRIK_FUZZ_IO_H

// What the fuzz targets put around the code under test, linked with --wrap=time and
// --wrap=fopen and --wrap=rename: a fixed clock, files that are strings (a page's fails past a
// size, as on a full disk), and standard output and error caught in strings. Linux only
// (fopencookie).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// A stream's bytes and whether it was closed; writes past limit fail.
struct sink {
	std::string bytes;
	std::size_t limit = SIZE_MAX;
	bool failed = false;
	bool closed = false;
};

inline sink page, standard_output, standard_error;
inline std::string_view read_file;          // what any file opened for reading holds
inline std::string written_path;            // the last file opened for writing, "" for none
inline std::vector<std::string> read_paths; // the files opened for reading
inline bool active = false; // while the code under test runs; libFuzzer's files are real

inline std::FILE *open_sink(sink &s, std::size_t limit)
{
	s = sink{};
	s.limit = limit;
	cookie_io_functions_t io{};
	io.write = [](void *cookie, const char *bytes, std::size_t count) -> ssize_t {
		auto &to = *static_cast<sink *>(cookie);
		if (count > to.limit - to.bytes.size()) {
			to.failed = true;
			return 0; // a failed write, for fopencookie
		}
		to.bytes.append(bytes, count);
		return static_cast<ssize_t>(count);
	};
	io.close = [](void *cookie) {
		static_cast<sink *>(cookie)->closed = true;
		return 0;
	};
	return fopencookie(&s, "w", io);
}

// A stream of read_file: any file opened for reading, and standard input.
inline std::FILE *open_read_file()
{
	static char empty[1];
	auto *bytes = read_file.empty() ? empty : const_cast<char *>(read_file.data());
	return fmemopen(bytes, read_file.size(), "r");
}

inline void abort_unless(bool ok, const char *what)
{
	if (!ok) {
		(void)std::fprintf(stderr, "contract broken: %s\n", what);
		std::abort();
	}
}

inline std::size_t count_of(std::string_view text, std::string_view what)
{
	std::size_t n = 0;
	for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1))
		++n;
	return n;
}

// Every line feed after a CR, and no CR without one.
inline bool is_crlf(std::string_view text)
{
	return count_of(text, "\r\n") == count_of(text, "\n") &&
	       count_of(text, "\r") == count_of(text, "\n");
}

} // namespace fuzz

// 10 March 2010, 12:00 UTC: the command-line table's day.
extern "C" std::time_t __wrap_time(std::time_t *now)
{
	std::time_t fixed = 1268222400;
	if (now != nullptr)
		*now = fixed;
	return fixed;
}

extern "C" int __real_rename(const char *from, const char *to);

// A page is written to a new file that replaces its path: while fuzz::active, both are the sink.
extern "C" int __wrap_rename(const char *from, const char *to)
{
	return fuzz::active ? 0 : __real_rename(from, to);
}

extern "C" std::FILE *__real_fopen(const char *path, const char *mode);

// While fuzz::active, any file opened for reading holds fuzz::read_file, but one named
// "missing" and the system's time zones; files for writing are fuzz::page, but one in a folder
// ('/'), which cannot be made: no run writes a real file.
extern "C" std::FILE *__wrap_fopen(const char *path, const char *mode)
{
	// The system's time zones, which libical reads, are the system's.
	if (!fuzz::active ||
	    (mode[0] == 'r' && std::string_view(path).starts_with("/usr/share/zoneinfo/")))
		return __real_fopen(path, mode);
	if (mode[0] == 'r') {
		fuzz::read_paths.emplace_back(path);
		if (std::strcmp(path, "missing") == 0)
			return nullptr;
		return fuzz::open_read_file();
	}
	fuzz::written_path = path;
	if (std::strchr(path, '/') != nullptr)
		return nullptr;
	return fuzz::open_sink(fuzz::page, fuzz::page.limit);
}

#endif
