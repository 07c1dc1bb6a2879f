// Fuzzes a program's whole command line (pendrik's, or ostavel's with FUZZ_OSTAVEL) on a fixed
// clock, and checks each run against the documented contract: status 0 or 1; on 1 one message
// line of the program's, and no file touched when an argument or a file was refused; on 0 no
// message, and a page in CR LF with today marked once at most; "Cannot write file" exactly
// when a write failed. Input: a byte for the page's room in KiB, then the arguments split at
// NUL bytes, up to a double NUL; what follows is any file read.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "fuzz_io.h"

int program_main(int argc, char **argv);

namespace {

bool starts_with_any(std::string_view text, const auto &prefixes)
{
	return std::any_of(prefixes.begin(), prefixes.end(),
	                   [&](std::string_view prefix) { return text.starts_with(prefix); });
}

// is_refusal: whether a message is one after which no file has been touched; file_faults: the
// program's other messages.
#ifdef FUZZ_OSTAVEL
constexpr const char *program = "ostavel";
constexpr std::array<std::string_view, 2> file_faults = {"Cannot open file ", "Cannot write file "};

bool is_refusal(std::string_view message)
{
	constexpr std::array<std::string_view, 8> refusals = {
		"Unknown option: ",
		"Option needs a value: ",
		"Start must be a year from 1701 to 2500, or YEAR-MONTH: ",
		"Months must be 1 to 120: ",
		"Language not available: ",
		"Name too long in language: ",
		"Cannot read file ",
		"Cannot read the current date\n"};
	// An events file's "FILE:LINE: fault" or "FILE: too many events".
	constexpr std::array<std::string_view, 6> faults = {
		": not a date: ",        ": no text after the date\n", ": not UTF-8\n",
		": control character\n", ": line too long\n",          ": too many events\n"};
	auto of_events_file = [&](const std::string &path) {
		return message.starts_with(path + ":") &&
		       std::any_of(faults.begin(), faults.end(), [&](std::string_view fault) {
			       return message.find(fault, path.size()) != std::string_view::npos;
		       });
	};
	return starts_with_any(message, refusals) ||
	       std::any_of(fuzz::read_paths.begin(), fuzz::read_paths.end(), of_events_file);
}
#else
constexpr const char *program = "pendrik";
constexpr std::array<std::string_view, 3> file_faults = {"Cannot open file ", "Cannot write file ",
                                                         "Cannot read the current date\n"};

bool is_refusal(std::string_view)
{
	return false; // pendrik refuses no argument
}
#endif

// A page cut by a failed write may end between CR and LF.
void check_page(std::string_view page, bool whole)
{
	using fuzz::abort_unless;
	if (!whole && page.ends_with('\r'))
		page.remove_suffix(1);
	bool modern = page.starts_with("<!DOCTYPE html>");
	abort_unless(fuzz::is_crlf(page), "a page in CR LF");
	abort_unless(!whole || page.ends_with(modern ? "</html>\r\n" : "</BODY></HTML>\r\n"),
	             "a whole page's end");
	abort_unless(fuzz::count_of(page, modern ? "<td aria-current=\"date\"" : "FF0000") <= 1,
	             "one today at most");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
	setenv("TZ", "UTC0", 1);
	tzset();
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, std::size_t size)
{
	using fuzz::abort_unless;
	if (size == 0)
		return 0;
	std::string_view input(reinterpret_cast<const char *>(data) + 1, size - 1);
	std::size_t end = std::min(input.find(std::string_view("\0\0", 2)), input.size());
	fuzz::read_file = input.substr(std::min(end + 2, input.size()));
	std::vector<std::string> words{program};
	for (std::string_view rest = input.substr(0, end); words.size() < 16;) {
		std::size_t nul = std::min(rest.find('\0'), rest.size());
		words.emplace_back(rest.substr(0, nul));
		if (nul == rest.size())
			break;
		rest.remove_prefix(nul + 1);
	}
	std::vector<char *> argv;
	for (auto &word : words)
		argv.push_back(word.data());
	argv.push_back(nullptr);

	std::size_t room = (data[0] % 64 + 1) * std::size_t{1024};
	fuzz::page = fuzz::sink{};
	fuzz::page.limit = room;
	fuzz::written_path.clear();
	fuzz::read_paths.clear();
	std::FILE *saved_out = stdout, *saved_err = stderr;
	stdout = fuzz::open_sink(fuzz::standard_output, room);
	stderr = fuzz::open_sink(fuzz::standard_error, SIZE_MAX);
	fuzz::active = true;
	int status = program_main(static_cast<int>(words.size()), argv.data());
	fuzz::active = false;
	for (auto *s : {&fuzz::standard_output, &fuzz::standard_error})
		if (!s->closed)
			(void)std::fclose(s == &fuzz::standard_output ? stdout : stderr);
	stdout = saved_out;
	stderr = saved_err;

#ifdef FUZZ_OSTAVEL
	const std::string &message = fuzz::standard_error.bytes,
			  &quiet = fuzz::standard_output.bytes;
	bool on_stdout = quiet.starts_with("<");
#else
	const std::string &message = fuzz::standard_output.bytes,
			  &quiet = fuzz::standard_error.bytes;
	bool on_stdout = false;
#endif
	bool wrote = !fuzz::written_path.empty() || on_stdout;
	bool failed = fuzz::page.failed || (on_stdout && fuzz::standard_output.failed);
	abort_unless(status == 0 || status == 1, "status 0 or 1");
	if (status == 1 && message.empty()) {
		// The usage or version could not be printed: the status alone tells.
		abort_unless(fuzz::standard_output.failed && !wrote, "a message");
	} else if (status == 1) {
		abort_unless(message.ends_with('\n'), "a message line");
		bool refused = is_refusal(message);
		abort_unless(refused || starts_with_any(message, file_faults),
		             "a message of the program's");
		abort_unless(!refused || fuzz::written_path.empty(),
		             "no file touched after a refusal");
		abort_unless(refused || message.starts_with("Cannot write file ") == failed,
		             "Cannot write file exactly when a write failed");
	} else {
		abort_unless(message.empty() && (on_stdout || quiet.empty() || !wrote),
		             "no message");
		abort_unless(!failed, "no failed write reported as success");
	}
	if (wrote)
		check_page(on_stdout ? quiet : fuzz::page.bytes, status == 0);
	return 0;
}
