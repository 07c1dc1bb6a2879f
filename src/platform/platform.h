#ifndef PENDRIK_PLATFORM_H
#define PENDRIK_PLATFORM_H

#include <cstddef>
#include <cstdio>
#include <ctime>

#include <sys/stat.h>

// What the programs need of the system beyond the C and C++ libraries, one implementation for
// POSIX systems (posix.cpp) and one for Windows (windows.cpp).

// Room for a path and a suffix after it: PATH_MAX, and Windows' long paths.
inline constexpr std::size_t path_capacity = 4096 + 32;

// Files

// The process's number, for the name of a file of its own.
int process_id();

// Whether the user may write the file at path, as fopen decides it, without truncating it.
bool may_write(const char *path);

// Whether a new file may take the place of the old one as it was: one of another user's would
// become the runner's, and in a sticky folder it could not be replaced at all.
bool may_replace(const struct stat &old);

// A file created at path for writing in binary mode, never an existing one; readable by its
// owner only where it is to become the new form of old.
std::FILE *create_new(const char *path, const struct stat *old);

// Gives file the owner, group and permission bits of old, where the process may.
void keep_owner_and_mode(std::FILE *file, const struct stat &old);

// Puts the file at from in place of the one at to, in one step; false when it cannot.
bool replace_file(const char *from, const char *to);

void remove_file(const char *path);

// The file a symbolic link at path names, written into resolved (path_capacity bytes), or path
// itself when it is none; null for a link to be written through in place.
const char *follow_link(const char *path, char *resolved);

// Whether path is a name of the system's for a file the process has open (/dev/stdout,
// /dev/fd/1), or a link to one: the shell may have opened it to add to.
bool names_open_file(const char *path);

// A write past a file size limit then fails as on a full disk, rather than ending the run.
void ignore_size_limit();

// Standard output in binary mode: the page's CR LF are its own.
void set_binary_output();

// Whether a and b name the same existing regular file, through links too; "-" is standard input.
bool is_same_file(const char *a, const char *b);

// The file at path opened for reading in binary mode; standard input for "-".
std::FILE *open_input(const char *path);

// Closes a file open_input opened; standard input stays open.
void close_input(std::FILE *file);

// Between quiet_stderr and restore_stderr what a library writes on standard error itself goes
// nowhere: the programs say what is wrong in their own words, on file.
struct stderr_state {
	std::FILE *file; // where the program's messages to standard error go meanwhile
	int fd;
};
stderr_state quiet_stderr();
void restore_stderr(const stderr_state &saved);

// Libraries

// The shared library of name loaded, its symbols its own; null when it cannot be.
void *load_library(const char *name);

// The address of the function name in library; null for none.
void *library_function(void *library, const char *name);

// Time

// The local date and time of t, as localtime_r gives it; false when the C library cannot
// place t. Where the C library places only some years (Windows: 1970 to 3000), a time outside
// them is placed as the same time 400 years nearer, which has the same calendar and weekdays.
bool to_local(std::time_t t, std::tm &local);

#endif
