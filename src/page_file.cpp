#include "page_file.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// Unbuffered: out writes the CR LF itself and hands over 512 bytes at a time.
void attach(out_stream &out, std::FILE *file)
{
	(void)std::setvbuf(file, nullptr, _IONBF, 0); // if refused, only the write sizes change
	out = out_stream{write_to_file, file};
}

} // namespace

bool open_page_file(out_stream &out, const char *path, std::FILE *messages)
{
	std::FILE *file = std::fopen(path, "wb");
	if (file == nullptr) {
		(void)std::fprintf(messages, "Cannot open file %s\n", path);
		return false;
	}
	attach(out, file);
	return true;
}

void open_page_stdout(out_stream &out)
{
#ifdef _WIN32
	(void)_setmode(_fileno(stdout), _O_BINARY); // in text mode each CR LF would get a second CR
#endif
	attach(out, stdout);
}

bool close_page_file(out_stream &out, const char *path, std::FILE *messages)
{
	if (close_file_output(out))
		return true;
	(void)std::fprintf(messages, "Cannot write file %s\n", path);
	return false;
}
