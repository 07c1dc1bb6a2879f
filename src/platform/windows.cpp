#include "platform.h"

#include <cstring>

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <windows.h>

namespace {

// The wide form of a path, which Windows takes past 260 characters, read in the code page the
// C runtime reads names in (UTF-8 where the manifest is heeded): the name the file was made with.
struct wide_path {
	wchar_t text[path_capacity];
	explicit wide_path(const char *path)
	{
		if (MultiByteToWideChar(CP_ACP, 0, path, -1, text, path_capacity) == 0)
			text[0] = L'\0';
	}
};

bool identify(const char *path, BY_HANDLE_FILE_INFORMATION &info)
{
	if (std::strcmp(path, "-") == 0)
		return GetFileInformationByHandle(
			       reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdin))), &info) !=
		       0;
	HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
	                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
	if (file == INVALID_HANDLE_VALUE)
		return false;
	bool known = GetFileInformationByHandle(file, &info) != 0;
	CloseHandle(file);
	return known;
}

} // namespace

int process_id()
{
	return _getpid();
}

bool may_write(const char *path)
{
	return _access(path, 2) == 0;
}

bool may_replace(const struct stat &)
{
	return true;
}

std::FILE *create_new(const char *path, const struct stat *)
{
	int fd = _open(path, _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
	return fd < 0 ? nullptr : _fdopen(fd, "wb");
}

void keep_owner_and_mode(std::FILE *, const struct stat &) {}

bool replace_file(const char *from, const char *to)
{
	return MoveFileExW(wide_path(from).text, wide_path(to).text,
	                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void remove_file(const char *path)
{
	(void)DeleteFileW(wide_path(path).text);
}

// A symbolic link, or any reparse point, is written through in place.
const char *follow_link(const char *path, char *)
{
	DWORD attributes = GetFileAttributesW(wide_path(path).text);
	bool is_link = attributes != INVALID_FILE_ATTRIBUTES &&
	               (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
	return is_link ? nullptr : path;
}

bool names_open_file(const char *)
{
	return false;
}

void ignore_size_limit() {}

// In text mode each CR LF would get a second CR.
void set_binary_output()
{
	(void)_setmode(_fileno(stdout), _O_BINARY);
}

bool is_same_file(const char *a, const char *b)
{
	BY_HANDLE_FILE_INFORMATION one{};
	BY_HANDLE_FILE_INFORMATION other{};
	return identify(a, one) && identify(b, other) &&
	       one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
	       one.nFileIndexHigh == other.nFileIndexHigh &&
	       one.nFileIndexLow == other.nFileIndexLow;
}

std::FILE *open_input(const char *path)
{
	if (std::strcmp(path, "-") != 0)
		return std::fopen(path, "rb");
	(void)_setmode(_fileno(stdin), _O_BINARY); // a CR or a Ctrl-Z is the file's own
	return stdin;
}

void close_input(std::FILE *file)
{
	if (file != stdin)
		(void)std::fclose(file);
}

// The C runtime's standard error is a fixed stream on file descriptor 2: that is what moves.
// Standard error's descriptor goes to NUL (the C runtime's stderr cannot be replaced); the
// program's own messages go meanwhile to a stream of its own on the descriptor it had.
stderr_state quiet_stderr()
{
	(void)std::fflush(stderr);
	stderr_state saved{stderr, _dup(2)};
	int own = _dup(2);
	std::FILE *messages = own >= 0 ? _fdopen(own, "w") : nullptr;
	if (messages != nullptr)
		saved.file = messages;
	else if (own >= 0)
		(void)_close(own);
	int null = _open("NUL", _O_WRONLY);
	if (null >= 0) {
		(void)_dup2(null, 2);
		(void)_close(null);
	}
	return saved;
}

void restore_stderr(const stderr_state &saved)
{
	if (saved.file != stderr)
		(void)std::fclose(saved.file);
	(void)std::fflush(stderr);
	if (saved.fd >= 0) {
		(void)_dup2(saved.fd, 2);
		(void)_close(saved.fd);
	}
}

void *load_library(const char *name)
{
	return LoadLibraryA(name);
}

void *library_function(void *library, const char *name)
{
	return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(library), name));
}

bool to_local(std::time_t t, std::tm &local)
{
	constexpr std::time_t day = 86400;                // a day's margin for the zone's offset
	constexpr std::time_t era = 146097LL * day;       // 400 Gregorian years
	constexpr std::time_t year_3000 = 376200LL * day; // 3000-01-01
	int years = 0;
	for (; t < day; t += era)
		years -= 400;
	for (; t >= year_3000 - day; t -= era)
		years += 400;
	if (localtime_s(&local, &t) != 0)
		return false;
	local.tm_year += years;
	return true;
}
