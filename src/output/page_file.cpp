#include "page_file.h"

#include <cerrno>
#include <cstring>

namespace {

// Unbuffered: out writes the CR LF itself and hands over 512 bytes at a time.
void attach(out_stream &out, std::FILE *file)
{
	(void)std::setvbuf(file, nullptr, _IONBF, 0); // if refused, only the write sizes change
	out = out_stream{write_to_file, file};
	ignore_size_limit();
}

// A new file beside target, named "TARGET.new-PID" (with a count after it where that is
// taken), in page.temporary, for the old file at target if there is one; null when none can
// be made there.
std::FILE *create_beside(page_file &page, const struct stat *old)
{
	std::size_t size = std::strlen(page.target);
	if (size + 24 > path_capacity)
		return nullptr;
	for (int attempt = 0; attempt < 100; ++attempt) {
		if (attempt == 0)
			(void)std::snprintf(page.temporary, path_capacity, "%s.new-%d", page.target,
			                    process_id());
		else
			(void)std::snprintf(page.temporary, path_capacity, "%s.new-%d-%d",
			                    page.target, process_id(), attempt);
		if (std::FILE *file = create_new(page.temporary, old))
			return file;
		struct stat taken {};
		if (stat(page.temporary, &taken) != 0)
			break; // not taken: the folder takes no new file
	}
	page.temporary[0] = '\0';
	return nullptr;
}

// The new file beside an existing regular file, or null to write in place: a file of other
// names too keeps them, since they would go on naming the old page.
std::FILE *create_for_old(page_file &page, const struct stat &old)
{
	std::FILE *file =
		may_replace(old) && old.st_nlink == 1 ? create_beside(page, &old) : nullptr;
	if (file != nullptr)
		keep_owner_and_mode(file, old);
	return file;
}

} // namespace

bool open_page_file(page_file &page, const char *path, diagnostics &messages)
{
	page.path = path;
	// An empty name is none: fopen refuses it, where a new file beside it could be made.
	bool open_file = *path != '\0' && names_open_file(path);
	page.target = *path == '\0' || open_file ? nullptr : follow_link(path, page.link_target);
	page.temporary[0] = '\0';
	std::FILE *file = nullptr;
	struct stat old {};
	if (page.target != nullptr && stat(page.target, &old) != 0) {
		file = create_beside(page, nullptr);
	} else if (page.target != nullptr && S_ISREG(old.st_mode)) {
		if (!may_write(page.target)) // replacing it would get past the protection
			return refuse_for(messages, "Cannot open file ", path, EACCES);
		file = create_for_old(page, old);
	}
	// In place; a name for an open file is added to, as the shell opened it (">>" or ">").
	errno = 0;
	if (file == nullptr)
		file = std::fopen(path, open_file ? "ab" : "wb");
	if (file == nullptr)
		return refuse_for(messages, "Cannot open file ", path, errno);
	attach(page.out, file);
	return true;
}

void open_page_stdout(page_file &page)
{
	set_binary_output();
	page.path = page.target = "-";
	page.temporary[0] = '\0';
	attach(page.out, stdout);
}

bool close_page_file(page_file &page, diagnostics &messages)
{
	bool ok = close_file_output(page.out);
	int error = page.out.error;
	errno = 0;
	if (page.temporary[0] != '\0' && !(ok && replace_file(page.temporary, page.target))) {
		if (ok)
			error = errno;
		remove_file(page.temporary);
		ok = false;
	}
	return ok || refuse_for(messages, "Cannot write file ", page.path, error);
}
