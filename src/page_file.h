#ifndef PENDRIK_PAGE_FILE_H
#define PENDRIK_PAGE_FILE_H

#include <cstdio>

#include "output.h"

// Room for a path the page is written beside, with the temporary file's suffix.
inline constexpr std::size_t page_path_capacity = 4096 + 32;

// The file a page is written to. Where path is a regular file or none, the page goes to a new
// file beside it, which replaces it only once the page is whole: a failed or killed run never
// leaves a cut page at path, and of two runs at once the one that ends last wins. Elsewhere
// (a device, a FIFO, a folder that takes no new file, a file of another user's or of several
// names, a name for a file the process has open, which is added to) it is written in place.
struct page_file {
	out_stream out;
	const char *path = nullptr;           // as the user gave it, for the messages
	const char *target = nullptr;         // path, or the file a symbolic link at path names
	char temporary[page_path_capacity]{}; // the new file beside target; "" when in place
	char link_target[page_path_capacity]{};
};

// Opens page for path, which a new page replaces. When it cannot (a missing folder, a file
// the user may not write), says "Cannot open file PATH" on messages and returns false.
bool open_page_file(page_file &page, const char *path, std::FILE *messages);

// Sets page to write to standard output, in binary mode so that no CR is added.
void open_page_stdout(page_file &page);

// Hands over the rest of the page, closes the file and puts it in place of path. When any
// write, the close or the replacing failed, says "Cannot write file PATH" on messages and
// returns false: the new file is removed and what stood at path is as it was (a page written
// in place holds what was written before the failure).
bool close_page_file(page_file &page, std::FILE *messages);

// Closes the file and removes the new one, when the page is not to be written after all.
void discard_page_file(page_file &page);

// Whether a and b name the same existing regular file, through links too; "-" is standard input.
bool is_same_file(const char *a, const char *b);

// Between quiet_stderr and restore_stderr what a library writes on standard error itself goes
// nowhere: the programs say what is wrong in their own words, after it.
struct stderr_state {
	std::FILE *file;
	int fd;
};
stderr_state quiet_stderr();
void restore_stderr(const stderr_state &saved);

// The file at path opened for reading in binary mode; standard input for "-".
std::FILE *open_input(const char *path);

// Closes a file open_input opened; standard input stays open.
void close_input(std::FILE *file);

#endif
