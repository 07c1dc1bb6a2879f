#include "diagnostics.h"

#include <cstring>
#include <string>

#include "output.h"

namespace {

// "FILE:LINE: WHAT", or for line 0 "FILE: WHAT".
void say(std::FILE *to, const char *file, unsigned long long line, std::string_view what)
{
	put_escaped(to, file);
	if (line > 0)
		(void)std::fprintf(to, ":%llu", line);
	(void)std::fputs(": ", to);
	put_escaped(to, what);
	(void)std::fputc('\n', to);
}

} // namespace

// A refusal is the last line said: the warnings left untold are counted before it.
bool refuse(diagnostics &d, std::string_view before, std::string_view subject,
            std::string_view after)
{
	end_warnings(d);
	print_message(d.to, before, subject, after);
	d.refused = true;
	return false;
}

bool refuse_for(diagnostics &d, std::string_view before, std::string_view subject, int error)
{
	if (!d.gives_reasons || error == 0)
		return refuse(d, before, subject);
	const char *reason = std::strerror(error);
	return refuse(d, before, subject, std::string(": ").append(reason));
}

bool refuse_file(diagnostics &d, const char *file, unsigned long long line, std::string_view what)
{
	end_warnings(d);
	say(d.to, file, line, what);
	d.refused = true;
	return false;
}

void warn(diagnostics &d, const char *file, unsigned long long line, std::string_view what)
{
	if (d.file != file) {
		end_warnings(d);
		d.file = file;
		d.warnings = 0;
	}
	if (++d.warnings <= warnings_said_per_file)
		say(d.to, file, line, what);
}

void end_warnings(diagnostics &d)
{
	if (d.file != nullptr && d.warnings > warnings_said_per_file) {
		put_escaped(d.to, d.file);
		unsigned long long more = d.warnings - warnings_said_per_file;
		(void)std::fprintf(d.to, ": %llu more warning%s\n", more, more == 1 ? "" : "s");
	}
	d.file = nullptr;
	d.warnings = 0;
}
