// Fuzzes a program's whole command line (pendrik's, or ostavel's with FUZZ_OSTAVEL) on a fixed
// clock, and checks each run against the documented contract: status 0 or 1; on 1 one message
// line of the program's, and no file touched when an argument or a file was refused; on 0 no
// message but warnings of the files read, and a page in CR LF with today marked once at most;
// "Cannot write file" exactly when a write failed. Input: a byte for the page's room in KiB, then
// the arguments split at NUL bytes, up to a double NUL; what follows is any file read.
#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <vector>

#include <getopt.h>

#include "fuzz_io.h"
#include "output/output.h"

int program_main(int argc, char **argv);

namespace {

bool starts_with_any(std::string_view text, const auto &prefixes)
{
	return std::any_of(prefixes.begin(), prefixes.end(),
	                   [&](std::string_view prefix) { return text.starts_with(prefix); });
}

// The messages after which no file may have been touched, and the program's others.
#ifdef FUZZ_OSTAVEL
constexpr const char *program = "ostavel";

// A file's name as a message shows it, its control characters escaped.
std::string as_in_message(const std::string &path)
{
	char *text = nullptr;
	std::size_t size = 0;
	std::FILE *memory = open_memstream(&text, &size);
	print_message(memory, "", path);
	(void)std::fclose(memory);
	std::string named(text, size - 1);
	std::free(text);
	return named;
}
constexpr std::array<std::string_view, 2> file_faults = {"Cannot open file ", "Cannot write file "};

bool is_refusal(std::string_view message)
{
	constexpr std::array<std::string_view, 14> refusals = {
		"Unknown option: ",           "Calendar not available: ",
		"Holidays not known: ",       "Layout must be year, month or poster: ",
		"Unexpected argument: ",      "Standard input given twice: ",
		"Ambiguous option: ",         "Option needs a value: ",
		"Output is an events file: ", "Start must be a year from ",
		"Months must be 1 to 120: ",  "Language not available: ",
		"Cannot read file ",          "Cannot read the current date\n"};
	// "FILE:LINE: fault" or "FILE: fault", of a file the run read; an iCalendar file's events
	// cost warnings, never the page.
	constexpr std::array<std::string_view, 9> faults = {
		": not a date: ",  ": no text after the date\n",
		": not UTF-8\n",   ": control character\n",
		": line too long", ": too many events\n",
		": cut short: ",   ": not an iCalendar file: ",
		": a NUL byte: "};
	auto of_events_file = [&](const std::string &path) {
		std::string named = as_in_message(path) + ":";
		return message.starts_with(named) &&
		       std::any_of(faults.begin(), faults.end(), [&](std::string_view fault) {
			       return message.find(fault, named.size() - 1) !=
			              std::string_view::npos;
		       });
	};
	return starts_with_any(message, refusals) ||
	       std::any_of(fuzz::read_paths.begin(), fuzz::read_paths.end(), of_events_file);
}

// Whether line is a warning: of a file the run read ("FILE:LINE: ...", "FILE: N more
// warnings", quoting the file as it may), or of a region's holidays.
bool is_warning(std::string_view line)
{
	auto of_file = [&](const std::string &path) {
		return line.starts_with(as_in_message(path) + ":");
	};
	auto in_region = [](char c) {
		return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
	};
	std::string_view region = line.substr(0, line.find(": public holidays known for "));
	return std::any_of(fuzz::read_paths.begin(), fuzz::read_paths.end(), of_file) ||
	       (region.size() >= 2 && region.size() < line.size() &&
	        std::all_of(region.begin(), region.end(), in_region));
}

// The bytes of message's first lines that are warnings, as a page written may carry and a
// refusal (the last line) may follow.
std::size_t warnings_size(const std::string &message, bool refused)
{
	std::size_t size = 0;
	for (std::size_t end = message.find('\n'); end != std::string::npos;
	     end = message.find('\n', size)) {
		if ((refused && end + 1 == message.size()) ||
		    !is_warning(std::string_view(message).substr(size, end + 1 - size)))
			break;
		size = end + 1;
	}
	return size;
}

#else
constexpr const char *program = "pendrik";
constexpr std::array<std::string_view, 3> file_faults = {"Cannot open file ", "Cannot write file ",
                                                         "Cannot read the current date\n"};

bool is_refusal(std::string_view)
{
	return false; // pendrik refuses no argument
}

std::size_t warnings_size(const std::string &, bool)
{
	return 0; // pendrik reads no file
}
#endif

// The program's name, then the input's pieces between NUL bytes, 15 at most.
std::vector<std::string> split_arguments(std::string_view input)
{
	std::vector<std::string> words{program};
	for (std::size_t nul = 0; words.size() < 16 && nul != std::string_view::npos;
	     input.remove_prefix(nul + 1)) {
		nul = input.find('\0');
		words.emplace_back(input.substr(0, nul));
	}
	return words;
}

// Runs the program with standard output and error in fuzz's sinks; returns its status.
int run(std::vector<std::string> &words, std::size_t room)
{
	std::vector<char *> argv;
	for (auto &word : words)
		argv.push_back(word.data());
	argv.push_back(nullptr);
	fuzz::page = fuzz::sink{};
	fuzz::page.limit = room;
	fuzz::written_path.clear();
	fuzz::read_paths = {"-"}; // standard input
	std::FILE *saved_in = stdin, *saved_out = stdout, *saved_err = stderr;
	stdin = fuzz::open_read_file();
	stdout = fuzz::open_sink(fuzz::standard_output, room);
	stderr = fuzz::open_sink(fuzz::standard_error, SIZE_MAX);
	optind = 0; // getopt_long starts afresh
	fuzz::active = true;
	int status = program_main(static_cast<int>(words.size()), argv.data());
	fuzz::active = false;
	(void)std::fclose(stdin);
	stdin = saved_in;
	if (!fuzz::standard_output.closed) // the program closes it after a page on it
		(void)std::fclose(stdout);
	(void)std::fclose(stderr);
	stdout = saved_out;
	stderr = saved_err;
	return status;
}

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

// message: the program's message stream, lost when it had no room for the message (a name
// longer than that, escaped); quiet: the other one, which holds at most a page, the usage or
// the version.
void check_run(int status, const std::string &said, bool message_lost, const std::string &quiet,
               bool on_stdout)
{
	std::string message = said.substr(warnings_size(said, status != 0)); // past the warnings
	using fuzz::abort_unless;
	bool wrote = !fuzz::written_path.empty() || on_stdout;
	bool failed = fuzz::page.failed || (on_stdout && fuzz::standard_output.failed);
	bool refused = status != 0 && is_refusal(message); // warnings come with a page
	abort_unless(status == 0 || status == 1, "status 0 or 1");
	if (message_lost) {
		abort_unless(status == 1, "status 1 after a message");
		if (wrote)
			check_page(fuzz::page.bytes, false);
		return;
	}
	if (status == 0)
		abort_unless(message.empty() && !failed,
		             "no message but warnings, no failed write");
	else if (message.empty()) // the usage or version could not be printed: the status tells
		abort_unless(fuzz::standard_output.failed && !wrote, "a message");
	else
		abort_unless(message.ends_with('\n') &&
		                     (refused || starts_with_any(message, file_faults)),
		             "a message line of the program's");
	abort_unless(!refused || fuzz::written_path.empty(), "no file touched after a refusal");
	abort_unless(refused || message.starts_with("Cannot write file ") == failed,
	             "Cannot write file exactly when a write failed");
	abort_unless(!wrote || quiet.empty() || on_stdout, "nothing beside the page");
	if (wrote)
		check_page(on_stdout ? quiet : fuzz::page.bytes, status == 0);
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
	if (size == 0)
		return 0;
	std::string_view input(reinterpret_cast<const char *>(data) + 1, size - 1);
	std::size_t end = std::min(input.find(std::string_view("\0\0", 2)), input.size());
	fuzz::read_file = input.substr(std::min(end + 2, input.size()));
	std::vector<std::string> words = split_arguments(input.substr(0, end));
	int status = run(words, (data[0] % 64 + 1) * std::size_t{1024});
#ifdef FUZZ_OSTAVEL
	const std::string &quiet = fuzz::standard_output.bytes;
	check_run(status, fuzz::standard_error.bytes, fuzz::standard_error.failed, quiet,
	          quiet.starts_with("<"));
#else
	check_run(status, fuzz::standard_output.bytes, fuzz::standard_output.failed,
	          fuzz::standard_error.bytes, false);
#endif
	return 0;
}
