// The calendars that src/calendar cannot compute, and the facts it is checked against.
//   generate table LUNISOLAR  writes src/calendar/calendar_data.cpp (the tables
//                             src/calendar/calendar_data.h describes) to standard output: the
//                             Japanese eras and the Islamic calendars as ICU has them, the
//                             Chinese and Korean years of LUNISOLAR (lunisolar.mjs's output).
//   generate days LUNISOLAR DIFFERENCES
//                             writes the fields of every day of 1700-01-01 ... 2511-12-31 in
//                             every calendar as runs (below), ICU's for all but chinese and dangi,
//                             LUNISOLAR's for those two, and the week numbers; writes to
//                             DIFFERENCES the days where ICU's chinese and dangi differ from
//                             LUNISOLAR's.
// A run is a line "CALENDAR DATE ERA YEAR MONTH[L] DAY +COUNT": from the Gregorian DATE on,
// COUNT days of one era, year and month (L: a leap month), their days DAY, DAY + 1, ...
// A week line "week FIRST MINIMAL YEAR DATE WEEKS": with weeks that begin on weekday FIRST
// (0 = Sunday) and a first week of at least MINIMAL days, week 1 of YEAR begins on DATE, and
// YEAR has WEEKS weeks.
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/ulocdata.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct failure : std::runtime_error {
	using std::runtime_error::runtime_error;
};

void check(UErrorCode status, const std::string &what)
{
	if (U_FAILURE(status))
		throw failure(what + ": " + u_errorName(status));
}

using std::chrono::sys_days;
using std::chrono::year_month_day;

long long day_of(int year, int month, int day)
{
	return sys_days{std::chrono::year{year} / month / day}.time_since_epoch().count();
}

year_month_day date_of(long long day)
{
	return year_month_day{sys_days{std::chrono::days{day}}};
}

std::string date_text(long long day)
{
	year_month_day date = date_of(day);
	char text[16];
	std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(date.year()),
	              unsigned(date.month()), unsigned(date.day()));
	return text;
}

const long long first_day = day_of(1700, 1, 1), last_day = day_of(2511, 12, 31);

// The BCP 47 names, in order.
const char *const calendar_names[] = {
	"buddhist", "chinese",          "coptic",        "dangi",        "ethioaa",
	"ethiopic", "gregory",          "hebrew",        "indian",       "islamic",
	"islamic-civil", "islamic-tbla", "islamic-umalqura", "japanese", "persian",
	"roc",
};

std::unique_ptr<icu::Calendar> icu_calendar(const std::string &name)
{
	UErrorCode status = U_ZERO_ERROR;
	icu::Locale locale = icu::Locale::forLanguageTag("en-u-ca-" + name, status);
	std::unique_ptr<icu::Calendar> calendar(
		icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), locale, status));
	check(status, name);
	return calendar;
}

struct day_fields {
	int era, year, month, leap, day;
};

day_fields icu_fields(icu::Calendar &calendar, long long day)
{
	UErrorCode status = U_ZERO_ERROR;
	calendar.setTime((static_cast<double>(day) * 86400 + 43200) * 1000, status);
	day_fields f{calendar.get(UCAL_ERA, status), calendar.get(UCAL_YEAR, status),
	             calendar.get(UCAL_MONTH, status), calendar.get(UCAL_IS_LEAP_MONTH, status),
	             calendar.get(UCAL_DATE, status)};
	check(status, "fields");
	return f;
}

bool same_month(const day_fields &a, const day_fields &b)
{
	return a.era == b.era && a.year == b.year && a.month == b.month && a.leap == b.leap;
}

bool same(const day_fields &a, const day_fields &b)
{
	return same_month(a, b) && a.day == b.day;
}

// The runs of the days first_day ... last_day.
void write_runs(const char *name, const std::function<day_fields(long long)> &fields_of)
{
	day_fields run = fields_of(first_day);
	long long start = first_day;
	for (long long day = first_day + 1; day <= last_day + 1; ++day) {
		day_fields f = day <= last_day ? fields_of(day) : day_fields{};
		if (day <= last_day && same_month(f, run) && f.day == run.day + (day - start))
			continue;
		std::printf("%s %s %d %d %d%s %d +%lld\n", name, date_text(start).c_str(), run.era,
		            run.year, run.month, run.leap ? "L" : "", run.day, day - start);
		run = f;
		start = day;
	}
}

// A Chinese or Korean year of lunisolar.mjs's output.
struct lunisolar_year {
	long long first;
	std::vector<int> lengths;
	int leap;
};

// By calendar name and Gregorian year.
using lunisolar_years = std::map<std::string, std::map<int, lunisolar_year>>;

lunisolar_years read_lunisolar(const char *path)
{
	std::ifstream file(path);
	lunisolar_years years;
	std::string line, name, lengths;
	while (std::getline(file, line)) {
		std::istringstream in(line);
		int year = 0;
		lunisolar_year y{};
		in >> name >> year >> y.first >> lengths >> y.leap;
		for (std::istringstream list(lengths); std::getline(list, line, ',');)
			y.lengths.push_back(std::stoi(line));
		if (!in || y.lengths.size() != (y.leap < 0 ? 12u : 13u))
			throw failure(std::string(path) + ": no year in \"" + line + "\"");
		years[name][year] = y;
	}
	if (years["chinese"].empty() || years["dangi"].empty())
		throw failure(std::string(path) + ": no years");
	return years;
}

// The fields of day in the years, as ICU numbers them: the cycle of 60 years from 2637 BC as
// the era, the year in it.
day_fields lunisolar_fields(const std::map<int, lunisolar_year> &years, long long day)
{
	auto at = years.upper_bound(date_of(day).year().operator int());
	while (at != years.begin() && (at == years.end() || at->second.first > day))
		--at;
	const lunisolar_year &y = at->second;
	long long start = y.first;
	if (start > day)
		throw failure("no Chinese year holds " + date_text(day));
	for (int i = 0; i < static_cast<int>(y.lengths.size()); start += y.lengths[i++]) {
		if (day < start + y.lengths[i]) {
			int cycle_year = at->first + 2636;
			int month = i - (y.leap >= 0 && i >= y.leap ? 1 : 0);
			return {cycle_year / 60 + 1, cycle_year % 60 + 1, month, i == y.leap ? 1 : 0,
			        static_cast<int>(day - start + 1)};
		}
	}
	throw failure("no Chinese month holds " + date_text(day));
}

// Writes the days where ICU's calendar name differs from the years, as "CALENDAR DATE +COUNT".
void write_differences(std::FILE *to, const char *name, const std::map<int, lunisolar_year> &years)
{
	auto calendar = icu_calendar(name);
	long long start = 0;
	for (long long day = first_day; day <= last_day + 1; ++day) {
		bool differs = day <= last_day &&
		               !same(icu_fields(*calendar, day), lunisolar_fields(years, day));
		if (differs && start == 0)
			start = day;
		if (!differs && start != 0) {
			std::fprintf(to, "%s %s +%lld\n", name, date_text(start).c_str(), day - start);
			start = 0;
		}
	}
}

// Week 1 of year as ICU counts weeks, and the weeks of the year.
void write_weeks(icu::Calendar &calendar, int year)
{
	UErrorCode status = U_ZERO_ERROR;
	auto week_one = [&](int of) {
		for (long long day = day_of(of - 1, 12, 25);; ++day) {
			calendar.setTime((static_cast<double>(day) * 86400 + 43200) * 1000, status);
			if (calendar.get(UCAL_WEEK_OF_YEAR, status) == 1 &&
			    calendar.get(UCAL_YEAR_WOY, status) == of)
				return day;
		}
	};
	long long start = week_one(year), next = week_one(year + 1);
	check(status, "weeks");
	std::printf("week %d %d %d %s %lld\n", calendar.getFirstDayOfWeek(status) - UCAL_SUNDAY,
	            calendar.getMinimalDaysInFirstWeek(), year, date_text(start).c_str(),
	            (next - start) / 7);
}

void write_days(const lunisolar_years &years, const char *differences)
{
	for (const char *name : calendar_names) {
		if (years.count(name) != 0) {
			write_runs(name, [&](long long day) {
				return lunisolar_fields(years.at(name), day);
			});
			continue;
		}
		auto calendar = icu_calendar(name);
		write_runs(name, [&](long long day) { return icu_fields(*calendar, day); });
	}
	auto gregorian = icu_calendar("gregory");
	for (int first = 0; first < 7; ++first) {
		for (int minimal = 1; minimal <= 7; ++minimal) {
			gregorian->setFirstDayOfWeek(static_cast<UCalendarDaysOfWeek>(UCAL_SUNDAY + first));
			gregorian->setMinimalDaysInFirstWeek(static_cast<uint8_t>(minimal));
			for (int year = 1700; year <= 2511; ++year)
				write_weeks(*gregorian, year);
		}
	}
	std::FILE *to = std::fopen(differences, "w");
	if (to == nullptr)
		throw failure(std::string(differences) + ": cannot be written");
	std::fprintf(to, "# The days where ICU's Chinese and Korean calendars differ from "
	                 "date-chinese's: ICU puts some new\n# moons near midnight on the day after "
	                 "(or before), and counts Chinese days before 1929 at UTC+8,\n# "
	                 "date-chinese at Beijing's meridian. Written by "
	                 "tools/calendar_data/generate.sh --days.\n");
	for (const char *name : {"chinese", "dangi"})
		write_differences(to, name, years.at(name));
	if (std::fclose(to) != 0)
		throw failure(std::string(differences) + ": cannot be written");
}

// The bits as C++ source, eight a line.
void write_array(const char *declaration, const std::vector<std::uint32_t> &values, int digits)
{
	std::printf("\n%s[] = {", declaration);
	for (std::size_t i = 0; i < values.size(); ++i)
		std::printf("%s0x%0*x,", i % 8 == 0 ? "\n\t" : " ", digits, values[i]);
	std::printf("\n};\n");
}

// The eras of ICU's Japanese calendar from the one of first_day on, as source lines; how many.
std::size_t japanese_eras(std::string &source)
{
	auto calendar = icu_calendar("japanese");
	int era = -1, count = 0;
	long long start = 0;
	for (long long day = day_of(1600, 1, 1); day <= last_day; ++day) {
		day_fields f = icu_fields(*calendar, day);
		if (f.era == era)
			continue;
		if (era >= 0 && f.year != 1)
			throw failure("the era " + std::to_string(f.era) + " begins in its year " +
			              std::to_string(f.year));
		if (day > first_day && era >= 0) {
			source += "\t{" + std::to_string(start) + ", " +
			          std::to_string(int(date_of(start).year())) + ", " +
			          std::to_string(era) + "},\n";
			++count;
		}
		era = f.era;
		start = day;
	}
	source += "\t{" + std::to_string(start) + ", " + std::to_string(int(date_of(start).year())) +
	          ", " + std::to_string(era) + "},\n";
	return static_cast<std::size_t>(count + 1);
}

// islamic-civil's first day of year, from 1970-01-01: ICU's arithmetic.
long long civil_year_start(int year)
{
	long long since_epoch = (year - 1) * 354LL + (3 + 11LL * year) / 30;
	return 1948440 - 2440588 + since_epoch;
}

// ICU's Islamic calendar name for the years that hold first_day ... last_day, as
// calendar_data.h packs them; first the first year.
std::vector<std::uint32_t> islamic_years(const char *name, int &first_year)
{
	auto calendar = icu_calendar(name);
	std::map<int, std::map<int, long long>> starts; // the first day of each year's months
	for (long long day = first_day - 400; day <= last_day + 400; ++day) {
		day_fields f = icu_fields(*calendar, day);
		if (f.day == 1)
			starts[f.year][f.month] = day;
	}
	first_year = icu_fields(*calendar, first_day).year;
	int last_year = icu_fields(*calendar, last_day).year;
	std::vector<std::uint32_t> years;
	for (int year = first_year; year <= last_year; ++year) {
		std::map<int, long long> &months = starts[year];
		long long delta = months.at(0) - civil_year_start(year);
		std::uint32_t bits = static_cast<std::uint32_t>(delta + 8) << 12;
		for (int month = 0; month < 12; ++month) {
			long long next = month < 11 ? months.at(month + 1) : starts[year + 1].at(0);
			if (next - months[month] != 29 && next - months[month] != 30)
				throw failure(std::string(name) + ": a month of " +
				              std::to_string(next - months[month]) + " days in " +
				              std::to_string(year));
			bits |= (next - months[month] == 30 ? 1u : 0u) << month;
		}
		if (months.size() != 12 || delta < -8 || delta > 7)
			throw failure(std::string(name) + ": the year " + std::to_string(year));
		years.push_back(bits);
	}
	return years;
}

// The years of the table, as calendar_data.h packs them; first the first year.
std::vector<std::uint32_t> lunisolar_bits(const std::map<int, lunisolar_year> &years,
                                          int &first_year)
{
	first_year = date_of(first_day).year().operator int() - 1;
	std::vector<std::uint32_t> bits;
	for (int year = first_year; year <= date_of(last_day).year().operator int(); ++year) {
		const lunisolar_year &y = years.at(year);
		long long day_of_year = y.first - day_of(year, 1, 1);
		if (day_of_year < 20 || day_of_year > 51 || y.leap == 0)
			throw failure("the Chinese year " + std::to_string(year));
		std::uint32_t packed = static_cast<std::uint32_t>(day_of_year - 20) << 17 |
		                       static_cast<std::uint32_t>(y.leap < 0 ? 0 : y.leap) << 13;
		for (std::size_t i = 0; i < y.lengths.size(); ++i)
			packed |= (y.lengths[i] == 30 ? 1u : 0u) << i;
		bits.push_back(packed);
	}
	if (years.at(first_year).first > first_day)
		throw failure("the Chinese years begin too late");
	return bits;
}

std::string icu_version()
{
	UVersionInfo version;
	char name[U_MAX_VERSION_STRING_LENGTH];
	u_getVersion(version);
	u_versionToString(version, name);
	return name;
}

void write_table(const lunisolar_years &years)
{
	std::string eras;
	std::size_t era_count = japanese_eras(eras);
	int islamic_first = 0, umalqura_first = 0, chinese_first = 0, dangi_first = 0;
	auto islamic = islamic_years("islamic", islamic_first);
	auto umalqura = islamic_years("islamic-umalqura", umalqura_first);
	auto chinese = lunisolar_bits(years.at("chinese"), chinese_first);
	auto dangi = lunisolar_bits(years.at("dangi"), dangi_first);
	if (islamic_first != umalqura_first || islamic.size() != umalqura.size() ||
	    chinese_first != dangi_first || chinese.size() != dangi.size())
		throw failure("the tables of two calendars hold other years");
	std::printf("// Generated by tools/calendar_data/generate.cpp from ICU %s and date-chinese "
	            "(tools/calendar_data/\n// package-lock.json): do not edit.\n// To make it "
	            "again: bash tools/calendar_data/generate.sh\n#include \"calendar_data.h\"\n\n"
	            "// clang-format off\nconst japanese_era japanese_eras[] = {\n%s};\n"
	            "const std::size_t japanese_era_count = %zu;\n",
	            icu_version().c_str(), eras.c_str(), era_count);
	write_array("const std::uint32_t chinese_years", chinese, 6);
	write_array("const std::uint32_t dangi_years", dangi, 6);
	std::printf("const int first_lunisolar_year = %d;\nconst std::size_t lunisolar_year_count "
	            "= %zu;\n",
	            chinese_first, chinese.size());
	write_array("const std::uint16_t islamic_years", islamic, 4);
	write_array("const std::uint16_t umalqura_years", umalqura, 4);
	std::printf("const int first_islamic_year = %d;\nconst std::size_t islamic_year_count = "
	            "%zu;\n",
	            islamic_first, islamic.size());
}

} // namespace

int main(int argc, char **argv)
{
	std::string mode = argc > 1 ? argv[1] : "";
	if (!((mode == "table" && argc == 3) || (mode == "days" && argc == 4))) {
		std::fprintf(stderr, "usage: generate table LUNISOLAR | days LUNISOLAR DIFFERENCES\n");
		return 2;
	}
	try {
		lunisolar_years years = read_lunisolar(argv[2]);
		if (mode == "table")
			write_table(years);
		else
			write_days(years, argv[3]);
	} catch (const failure &f) {
		std::fprintf(stderr, "generate: %s\n", f.what());
		return 1;
	} catch (const std::exception &e) {
		std::fprintf(stderr, "generate: %s\n", e.what());
		return 1;
	}
	return std::fflush(stdout) == 0 ? 0 : 1;
}
