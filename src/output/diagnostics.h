#ifndef PENDRIK_DIAGNOSTICS_H
#define PENDRIK_DIAGNOSTICS_H

#include <cstdio>
#include <string_view>

// Where the readers and the entries say what is wrong: warnings, after which the run goes on
// without what they name, and refusals, which end it. Each is one line, escaped as
// print_message escapes, so that a name or a text from a file stays on it and sends the
// terminal no escape sequence.
struct diagnostics {
	std::FILE *to;
	bool gives_reasons = false; // a file's refusal ends in the system's reason, ": ..."
	bool refused = false;
	const char *file = nullptr; // whose warnings are counted, null for none
	unsigned long long warnings = 0;
};

// A file's warnings said before the rest are only counted.
inline constexpr unsigned long long warnings_said_per_file = 10;

// Says before, subject and after, and notes the run refused: false, for the caller to return.
bool refuse(diagnostics &d, std::string_view before, std::string_view subject,
            std::string_view after = "");

// Refuses with before and subject and, where d gives reasons, the system's words for error (an
// errno value; 0 for none): "Cannot read file x.ics: No such file or directory".
bool refuse_for(diagnostics &d, std::string_view before, std::string_view subject, int error);

// Refuses a file for what is wrong at line (1 ... ; 0 for the file as a whole):
// "FILE:LINE: WHAT", or "FILE: WHAT".
bool refuse_file(diagnostics &d, const char *file, unsigned long long line, std::string_view what);

// Warns of what was left out of file at line, as refuse_file words it; past
// warnings_said_per_file warnings of one file, they are counted for end_warnings.
void warn(diagnostics &d, const char *file, unsigned long long line, std::string_view what);

// Says how many warnings of the file warned of last went unsaid: "FILE: N more warnings".
void end_warnings(diagnostics &d);

#endif
