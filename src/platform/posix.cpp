#include "platform.h"

#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

int process_id()
{
	return static_cast<int>(getpid());
}

bool may_write(const char *path)
{
	return access(path, W_OK) == 0;
}

bool may_replace(const struct stat &old)
{
	return old.st_uid == geteuid() || geteuid() == 0;
}

// fopen's "x": created here, never an existing file; its mode is fopen's, the umask applied,
// or for the new form of an old file none but the owner's until it is given the old one's.
std::FILE *create_new(const char *path, const struct stat *old)
{
	mode_t umask_of_run = old != nullptr ? umask(077) : 0;
	std::FILE *file = std::fopen(path, "wbx");
	if (old != nullptr)
		(void)umask(umask_of_run);
	return file;
}

// The owner first: a change of owner may clear the set-user-ID bits that the mode then sets.
void keep_owner_and_mode(std::FILE *file, const struct stat &old)
{
	int fd = fileno(file);
	if (fd >= 0) {
		(void)!fchown(fd, old.st_uid, old.st_gid);
		(void)fchmod(fd, old.st_mode & 07777);
	}
}

bool replace_file(const char *from, const char *to)
{
	return std::rename(from, to) == 0;
}

void remove_file(const char *path)
{
	(void)std::remove(path);
}

const char *follow_link(const char *path, char *resolved)
{
	static_assert(path_capacity > PATH_MAX, "realpath's result fits");
	struct stat link {};
	if (lstat(path, &link) != 0 || !S_ISLNK(link.st_mode))
		return path;
	return realpath(path, resolved); // null for a dangling link
}

bool names_open_file(const char *path)
{
	auto is_open_file = [](std::string_view name) {
		return name.starts_with("/dev/std") || name.starts_with("/dev/fd/") ||
		       name.starts_with("/proc/");
	};
	char target[path_capacity];
	ssize_t size = readlink(path, target, sizeof target - 1);
	return is_open_file(path) ||
	       (size > 0 && is_open_file({target, static_cast<std::size_t>(size)}));
}

// The signal would end the run with the new file left behind.
void ignore_size_limit()
{
	(void)std::signal(SIGXFSZ, SIG_IGN);
}

void set_binary_output() {}

bool is_same_file(const char *a, const char *b)
{
	auto identify = [](const char *path, struct stat &info) {
		return std::strcmp(path, "-") == 0 ? fstat(STDIN_FILENO, &info) == 0
		                                   : stat(path, &info) == 0;
	};
	struct stat one {};
	struct stat other {};
	return identify(a, one) && identify(b, other) && S_ISREG(one.st_mode) &&
	       one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

std::FILE *open_input(const char *path)
{
	return std::strcmp(path, "-") == 0 ? stdin : std::fopen(path, "rb");
}

void close_input(std::FILE *file)
{
	if (file != stdin)
		(void)std::fclose(file); // read only: nothing is lost when the close fails
}

// The C library's stderr is a variable: it stands for a stream on /dev/null a while, so that a
// stream that stood for it (the messages of the program) still writes where it wrote.
stderr_state quiet_stderr()
{
	stderr_state saved{stderr, -1};
	int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
	std::FILE *nowhere = null >= 0 ? fdopen(null, "w") : nullptr;
	if (nowhere != nullptr)
		stderr = nowhere;
	else if (null >= 0)
		(void)close(null);
	return saved;
}

void restore_stderr(const stderr_state &saved)
{
	if (stderr != saved.file) {
		(void)std::fclose(stderr);
		stderr = saved.file;
	}
}

void *load_library(const char *name)
{
	return dlopen(name, RTLD_NOW | RTLD_LOCAL);
}

void *library_function(void *library, const char *name)
{
	return dlsym(library, name);
}

bool to_local(std::time_t t, std::tm &local)
{
	return localtime_r(&t, &local) != nullptr;
}
