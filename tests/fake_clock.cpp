// A clock for the command-line tests of a 32-bit build, preloaded in place of libfaketime:
// time() and clock_gettime() answer FAKETIME, a local time "YYYY-MM-DD hh:mm:ss" or an offset
// "+Ns" from the real time. Built with the program's 64-bit time, it defines the __time64 and
// __clock_gettime64 that the program calls.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>

namespace {

std::time_t fake_now(std::time_t real)
{
	const char *setting = std::getenv("FAKETIME");
	std::tm date{};
	long long offset = 0;
	if (setting == nullptr)
		return real;
	if (std::sscanf(setting, "+%llds", &offset) == 1)
		return real + static_cast<std::time_t>(offset);
	if (std::sscanf(setting, "%d-%d-%d %d:%d:%d", &date.tm_year, &date.tm_mon, &date.tm_mday,
	                &date.tm_hour, &date.tm_min, &date.tm_sec) != 6)
		return real;
	date.tm_year -= 1900;
	date.tm_mon -= 1;
	date.tm_isdst = -1;
	return std::mktime(&date);
}

} // namespace

extern "C" int clock_gettime(clockid_t clock, struct timespec *now)
{
	using real_clock = int (*)(clockid_t, struct timespec *);
	static auto real = reinterpret_cast<real_clock>(dlsym(RTLD_NEXT, "__clock_gettime64"));
	int status = real(clock, now);
	if (status == 0 && clock == CLOCK_REALTIME)
		now->tv_sec = fake_now(now->tv_sec);
	return status;
}

extern "C" std::time_t time(std::time_t *now)
{
	struct timespec real = {};
	(void)clock_gettime(CLOCK_REALTIME, &real);
	if (now != nullptr)
		*now = real.tv_sec;
	return real.tv_sec;
}
