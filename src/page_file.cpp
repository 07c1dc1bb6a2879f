#include "page_file.h"

#include <cstring>
#include <string_view>

#include <sys/stat.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
int process_id()
{
	return _getpid();
}

bool may_write(const char *path)
{
	return _access(path, 2) == 0;
}

std::FILE *create_new(const char *path, const struct stat *)
{
	int fd = _open(path, _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
	return fd < 0 ? nullptr : _fdopen(fd, "wb");
}

void keep_owner_and_mode(std::FILE *, const struct stat &) {}

bool may_replace(const struct stat &)
{
	return true;
}

// The wide form of a path, which Windows takes past 260 characters, read in the code page the
// C runtime reads names in (UTF-8 where the manifest is heeded): the name the new file was
// made with.
struct wide_path {
	wchar_t text[page_path_capacity];
	explicit wide_path(const char *path)
	{
		if (MultiByteToWideChar(CP_ACP, 0, path, -1, text, page_path_capacity) == 0)
			text[0] = L'\0';
	}
};

bool replace(const char *from, const char *to)
{
	return MoveFileExW(wide_path(from).text, wide_path(to).text,
	                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void remove_file(const char *path)
{
	(void)DeleteFileW(wide_path(path).text);
}

// The C runtime's standard error is a fixed stream on file descriptor 2: that is what moves.
stderr_state quiet_stderr_of_platform()
{
	(void)std::fflush(stderr);
	stderr_state saved{stderr, _dup(2)};
	int null = _open("NUL", _O_WRONLY);
	if (null >= 0) {
		(void)_dup2(null, 2);
		(void)_close(null);
	}
	return saved;
}

void restore_stderr_of_platform(const stderr_state &saved)
{
	(void)std::fflush(stderr);
	if (saved.fd >= 0) {
		(void)_dup2(saved.fd, 2);
		(void)_close(saved.fd);
	}
}

// A symbolic link, or any reparse point, is written through in place.
const char *follow_link(const char *path, char *)
{
	DWORD attributes = GetFileAttributesW(wide_path(path).text);
	bool is_link = attributes != INVALID_FILE_ATTRIBUTES &&
	               (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
	return is_link ? nullptr : path;
}

void ignore_size_limit() {}

bool names_open_file(const char *)
{
	return false;
}

bool same_file(const char *a, const char *b)
{
	auto identify = [](const char *path, BY_HANDLE_FILE_INFORMATION &info) {
		if (std::strcmp(path, "-") == 0)
			return GetFileInformationByHandle(
				       reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdin))),
				       &info) != 0;
		HANDLE file =
			CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
		                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
		if (file == INVALID_HANDLE_VALUE)
			return false;
		bool known = GetFileInformationByHandle(file, &info) != 0;
		CloseHandle(file);
		return known;
	};
	BY_HANDLE_FILE_INFORMATION one{};
	BY_HANDLE_FILE_INFORMATION other{};
	return identify(a, one) && identify(b, other) &&
	       one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
	       one.nFileIndexHigh == other.nFileIndexHigh &&
	       one.nFileIndexLow == other.nFileIndexLow;
}
#else
int process_id()
{
	return static_cast<int>(getpid());
}

// As fopen decides it, without truncating the file.
bool may_write(const char *path)
{
	return access(path, W_OK) == 0;
}

// Whether a new file may take the old one's place as it was: a file of another's would become
// the runner's, and in a sticky folder it cannot be replaced at all.
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

// Where the process may: the new page keeps the owner first, then the permission bits.
void keep_owner_and_mode(std::FILE *file, const struct stat &old)
{
	int fd = fileno(file);
	if (fd >= 0) {
		(void)!fchown(fd, old.st_uid, old.st_gid);
		(void)fchmod(fd, old.st_mode & 07777);
	}
}

bool replace(const char *from, const char *to)
{
	return std::rename(from, to) == 0;
}

void remove_file(const char *path)
{
	(void)std::remove(path);
}

// The C library's stderr is a variable: it stands for a stream on /dev/null a while, so that a
// stream that stood for it (the messages of the program) still writes where it wrote.
stderr_state quiet_stderr_of_platform()
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

void restore_stderr_of_platform(const stderr_state &saved)
{
	if (stderr != saved.file) {
		(void)std::fclose(stderr);
		stderr = saved.file;
	}
}

// Whether path is a name of the system's for a file the process has open (/dev/stdout,
// /dev/fd/1, /proc/self/fd/1), or a link to one: the shell may have opened it to add to.
bool names_open_file(const char *path)
{
	auto is_open_file = [](std::string_view name) {
		return name.starts_with("/dev/std") || name.starts_with("/dev/fd/") ||
		       name.starts_with("/proc/");
	};
	char target[page_path_capacity];
	ssize_t size = readlink(path, target, sizeof target - 1);
	return is_open_file(path) ||
	       (size > 0 && is_open_file({target, static_cast<std::size_t>(size)}));
}

// The file a symbolic link at path names, or path itself; null, to write in place, for a
// dangling link.
const char *follow_link(const char *path, char *resolved)
{
	static_assert(page_path_capacity > PATH_MAX, "realpath's result fits");
	struct stat link {};
	if (lstat(path, &link) != 0 || !S_ISLNK(link.st_mode))
		return path;
	return realpath(path, resolved);
}

// A write past a file size limit then fails, as on a full disk, and the new file is removed:
// the signal would end the run with it left behind.
void ignore_size_limit()
{
	(void)std::signal(SIGXFSZ, SIG_IGN);
}

bool same_file(const char *a, const char *b)
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
#endif

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
	if (size + 24 > page_path_capacity)
		return nullptr;
	for (int attempt = 0; attempt < 100; ++attempt) {
		if (attempt == 0)
			(void)std::snprintf(page.temporary, page_path_capacity, "%s.new-%d",
			                    page.target, process_id());
		else
			(void)std::snprintf(page.temporary, page_path_capacity, "%s.new-%d-%d",
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

} // namespace

bool open_page_file(page_file &page, const char *path, std::FILE *messages)
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
		if (!may_write(page.target)) { // replacing it would get past the protection
			print_message(messages, "Cannot open file ", path);
			return false;
		}
		// A file of other names too keeps them: they would go on naming the old page.
		if (may_replace(old) && old.st_nlink == 1)
			file = create_beside(page, &old);
		if (file != nullptr)
			keep_owner_and_mode(file, old);
	}
	// In place; a name for an open file is added to, as the shell opened it (">>" or ">").
	if (file == nullptr)
		file = std::fopen(path, open_file ? "ab" : "wb");
	if (file == nullptr) {
		print_message(messages, "Cannot open file ", path);
		return false;
	}
	attach(page.out, file);
	return true;
}

void open_page_stdout(page_file &page)
{
#ifdef _WIN32
	(void)_setmode(_fileno(stdout), _O_BINARY); // in text mode each CR LF would get a second CR
#endif
	page.path = page.target = "-";
	page.temporary[0] = '\0';
	attach(page.out, stdout);
}

bool close_page_file(page_file &page, std::FILE *messages)
{
	bool ok = close_file_output(page.out);
	if (page.temporary[0] != '\0' && !(ok && replace(page.temporary, page.target))) {
		remove_file(page.temporary);
		ok = false;
	}
	if (!ok)
		print_message(messages, "Cannot write file ", page.path);
	return ok;
}

void discard_page_file(page_file &page)
{
	(void)std::fclose(static_cast<std::FILE *>(page.out.target));
	if (page.temporary[0] != '\0')
		remove_file(page.temporary);
}

bool is_same_file(const char *a, const char *b)
{
	return same_file(a, b);
}

stderr_state quiet_stderr()
{
	return quiet_stderr_of_platform();
}

void restore_stderr(const stderr_state &saved)
{
	restore_stderr_of_platform(saved);
}

std::FILE *open_input(const char *path)
{
	if (std::strcmp(path, "-") != 0)
		return std::fopen(path, "rb");
#ifdef _WIN32
	(void)_setmode(_fileno(stdin), _O_BINARY); // a CR or a Ctrl-Z is the file's own
#endif
	return stdin;
}

void close_input(std::FILE *file)
{
	if (file != stdin)
		(void)std::fclose(file); // read only: nothing is lost when the close fails
}
