#!/usr/bin/env bash
# Runs the real programs through one table of command lines, on 10 March 2010 by libfaketime,
# and checks each run's exit status, what it printed and the file it leaves.
# Usage: command_line_test.sh GOLDEN_DIR LINK_HOST PROGRAM [WORDS...]
# PROGRAM and WORDS form the command that starts pendrik, e.g. a loader and a .exe; ostavel
# stands beside it.
set -u
golden_dir=$1 link_host=$2
shift 2
program=("$@")
for i in "${!program[@]}"; do
	[[ -e ${program[i]} ]] && program[i]=$(realpath "${program[i]}")
done
ostavel=("${program[@]}")
ostavel[-1]=${program[-1]%pendrik*}ostavel${program[-1]##*pendrik}
[[ -f ${LIBFAKETIME-} ]] || { echo "LIBFAKETIME does not name libfaketime.so.1"; exit 1; }
# Under qemu the preload is the emulated program's, not qemu's own.
preload=LD_PRELOAD
[[ ${program[0]} == *qemu-* ]] && preload=QEMU_SET_ENV=LD_PRELOAD

# A Windows console ends the message line in CR LF. A clock the library cannot turn into a
# local date: past the year 3000 for the Windows runtime, past the range of int years for glibc;
# and one whose year glibc gives but no page can show, near the year 2^31 (the same for Windows).
eol=$'\n' unreadable_clock='+67768040000000000s' absurd_clock='+67767990000000000s'
# On Windows libical has no zone data: a zone that a file names but does not define is unknown.
zone_said="" zone_time="2027-03-01T22:00"
if [[ ${program[-1]} == *.exe ]]; then
	eol=$'\r\n' unreadable_clock='3001-01-01 12:00:00' absurd_clock='3001-01-01 12:00:00'
	zone_said="../ev/quirks.ics:2: event x: time zone W. Europe Standard Time unknown: its times placed in the page's time zone"
	zone_time="2027-03-01T23:00"
fi

# Calendar files' times are placed in the zone of the run: the same on every platform.
export TZ=UTC0
ics_dir=$(realpath "$golden_dir/../ics")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0 n=0
# Event files for ostavel, in $work/ev: runs reach them as ../ev/NAME.
mkdir "$work/ev"
printf '\xEF\xBB\xBF# Holidays\r\n\r\n2027-12-25 Christmas Day\r\n12-24\tChristmas Eve \r\n02-29 Leap day\n' >"$work/ev/good.txt"
printf '2028-02-29 Second file\n2028-02-01 <b>&"\n' >"$work/ev/more.txt"
printf '01-01 x\n2027-02-29 Not a day\n' >"$work/ev/date.txt"
printf '01-01 x\n\n12-24 \t\n' >"$work/ev/text.txt"
printf '01-01 \xC3\x28\n' >"$work/ev/utf8.txt"
printf '01-01 a\033[2Jb\n' >"$work/ev/control.txt"
printf "\xEF\xBB\xBF01-01 %0995d\n" 0 >"$work/ev/long.txt"
# Every year on a page of ten years: a page of 1000010 events, past what a page lists.
awk 'BEGIN { for (i = 0; i <= 100000; i++) print "01-01 " i }' >"$work/ev/many.txt"
printf '2027-05-04 \xF0\x9F\x8E\x82 Anna\n' >"$work/ev/emoji.txt"
printf '01-01 \xF0\x9F\x8E\n' >"$work/ev/cut.txt"
printf '01-01 \xF0\x9F\x28\x82\n' >"$work/ev/continuation.txt"
for date in 2027-13-01 2027-02-00 2027-04-31 13-01 00-10; do printf '# day\n%s x\n' "$date" >"$work/ev/$date.txt"; done
# Calendar files that are wrong, each in one way; and rules that would run away.
vevent() { printf 'BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:x\r\nSUMMARY:x\r\n%s\r\nEND:VEVENT\r\n%b' "$1" "${2-END:VCALENDAR\r\n}"; }
vevent 'DTSTART;VALUE=DATE:20270301' '' >"$work/ev/cut.ics"
vevent 'DTSTART;VALUE=DATE:20271345' >"$work/ev/date.ics"
vevent $'DTSTART;VALUE=DATE:20270301\r\nRRULE:FREQ=SOMETIMES' >"$work/ev/rule.ics"
vevent 'DTSTART;TZID=Mars/Olympus:20270301T120000' >"$work/ev/zone.ics"
vevent $'DTSTART:20270301T120000Z\r\nSUMMARY:\xC3(' >"$work/ev/utf8.ics"
vevent $'DTSTART:17000101T000000Z\r\nRRULE:FREQ=SECONDLY' >"$work/ev/seconds.ics"
vevent $'DTSTART;VALUE=DATE:17000101\r\nRRULE:FREQ=DAILY' >"$work/ev/daily.ics"
vevent $'DTSTART:20000101T000000Z\r\nRRULE:FREQ=SECONDLY;COUNT=2000000000' >"$work/ev/counted.ics"
vevent $'DTSTART:17050301T000000Z\r\nRRULE:FREQ=SECONDLY;BYMINUTE=0,30' >"$work/ev/within.ics"
vevent $'DTSTART:17010101T000000Z\r\nRRULE:FREQ=SECONDLY;BYMONTH=2' >"$work/ev/february.ics"
vevent $'DTSTART:17010101T000000Z\r\nRRULE:FREQ=DAILY;BYHOUR='"$(seq -s, 0 23)"';BYMINUTE='"$(seq -s, 0 59)" >"$work/ev/minutes.ics"
vevent $'DTSTART:20270101T000000Z\r\nRRULE:FREQ=SECONDLY;BYMONTH=2;COUNT=5' >"$work/ev/slow.ics"
vevent $'DTSTART;VALUE=DATE:20270101\r\nRDATE;VALUE=DATE:'"$(for i in {1..501}; do echo "2027-01-01 +$i day"; done | date -u -f - +%Y%m%d | paste -sd,)" >"$work/ev/dates.ics"
vevent $'DTSTART;VALUE=DATE:20270301\r\nDTEND;VALUE=DATE:20270201' >"$work/ev/back.ics"
vevent 'DTEND;VALUE=DATE:20270301' >"$work/ev/nostart.ics"
for i in {1..12}; do vevent 'DTSTART;VALUE=DATE:20271345' ''; done | { cat; printf 'END:VCALENDAR\r\n'; } | sed '1!{/BEGIN:VCALENDAR/d}' >"$work/ev/many.ics"
vevent "LOCATION:$(printf '%05000000d' 0)" >"$work/ev/long.ics"
printf 'BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:x\r\nSUMMARY:x\r\nX-A:\000\r\n' >"$work/ev/zero.ics" # nul.ics: Windows' NUL device
printf 'hello\n' >"$work/ev/notcal.ics"
# The calendar's name, an event's place and link, two rules.
printf 'BEGIN:VCALENDAR\r\nX-WR-CALNAME:Team\\, A&B\r\nBEGIN:VEVENT\r\nUID:d\r\nSUMMARY:Stand-up\r\nLOCATION:Room 4\\, <east>\r\nURL:https://example.org/a?b=1&c=2\r\nDTSTART:20270301T090000Z\r\nRRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=2\r\nRRULE:FREQ=MONTHLY;BYMONTHDAY=20;COUNT=1\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nUID:e\r\nSUMMARY:Other\r\nDTSTART;VALUE=DATE:20270303\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' >"$work/ev/details.ics"
# As the apps export: empty values, a Windows zone's name, vendors' and newer properties, an
# alarm, a to-do, a component of no RFC, no SUMMARY.
vevent $'DTSTART;TZID="W. Europe Standard Time":20270301T230000\r\nLOCATION:\r\nDESCRIPTION:\r\nX-APPLE-STRUCTURED-LOCATION;VALUE=URI;X-APPLE-RADIUS=141.17:geo:1,2\r\nIMAGE;VALUE=URI:https://x/y.png\r\nCONFERENCE;VALUE=URI:https://x/c\r\nLINK;LINKREL=latest-version:https://x/z\r\nRELATED-TO;VALUE=UID:y\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nEND:VALARM' \
	$'BEGIN:VTODO\r\nSUMMARY:x\r\nEND:VTODO\r\nBEGIN:X-THING\r\nEND:X-THING\r\nBEGIN:VEVENT\r\nDTSTART:20270302T120000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' >"$work/ev/quirks.ics"
# Times a change of clocks skips and passes twice, in the file's own zone; a span of 70 years;
# an RDATE of a period past midnight.
{ head -n 20 "$ics_dir/family.ics"; printf 'BEGIN:VEVENT\r\nUID:%s\r\nDTSTART%s\r\n%sSUMMARY:x\r\nEND:VEVENT\r\n' \
	skipped ';TZID=Berlin Time:20270328T023000' '' twice ';TZID=Berlin Time:20271031T023000' '' \
	span ';VALUE=DATE:19580101' $'DTEND;VALUE=DATE:20280101\r\n' \
	period ':20270601T100000Z' $'RDATE;VALUE=PERIOD:20270620T220000Z/PT4H\r\n'; printf 'END:VCALENDAR\r\n'; } >"$work/ev/clocks.ics"
segment=$(printf 'x%.0s' {1..100})
long_path="$segment/$segment/$segment.htm"
long_name="$(printf 'y%.0s' {1..300}).htm"

# Why the file at $1 is not a page of $2 months (N, or N:FIRST-TITLE), the golden page, the
# golden page up to its footer, the same as a golden file (same:NAME), empty, untouched, the
# usage or the version, or nothing if it is.
page_fault() {
	local file=$1 months=${2%%:*} first text tables golden=$golden_dir/calendar12-2010-03-10.htm
	IFS=: read -r _ first text <<<"$2"
	case $months in
	same) cmp -s "$golden_dir/$first" "$file" || echo "differs from $first"; return ;;
	empty) [[ -s $file ]] && echo "not empty"; return ;;
	untouched) [[ $(tr -d z <"$file" | wc -c) == 0 && $(wc -c <"$file") == 100000 ]] || echo "changed"; return ;;
	languages) tr -d '\r' <"$file" | grep -x -e de-DE -e sr-Latn-RS | cmp -s - <(printf 'de-DE\nsr-Latn-RS\n') &&
		tr -d '\r' <"$file" | sort -c -f || echo "no languages"; return ;;
	holidays) tr -d '\r' <"$file" | grep -qx -e 'DE-BY Bayern' && tr -d '\r' <"$file" | grep -qx 'GB-ENG England' || echo "no holidays"; return ;;
	calendars) [[ $(tr -d '\r' <"$file" | wc -l) == 16 ]] && tr -d '\r' <"$file" | grep -qx -e persian -e islamic-umalqura || echo "no calendars"; return ;;
	usage) grep -q '^usage: ostavel \[OPTION\.\.\.\] \[START \[MONTHS \[PATH\]\]\]' "$file" || echo "no usage"; return ;;
	version) [[ $(tr -d '\r' <"$file") =~ ^ostavel\ [0-9]+\.[0-9]+\.[0-9]+\ \(Unicode\ CLDR\ [0-9.]+\)$ ]] || echo "no version"; return ;;
	modern) modern_fault "$file" "${2#modern:}"; return ;;
	golden-body)
		local size=$(($(grep -b -o '<p><hr><p>' "$golden" | cut -d: -f1) + 10))
		cmp -s -n "$size" "$golden" "$file" || echo "differs from the golden page before the footer"
		return ;;
	esac
	tail -c 16 "$file" | cmp -s - <(printf '</BODY></HTML>\r\n') || { echo "ends wrongly"; return; }
	[[ $(grep -c -v $'\r$' "$file") == 0 ]] || { echo "a line without CR LF"; return; }
	[[ $(tr -cd '\r' <"$file" | wc -c) == $(tr -cd '\n' <"$file" | wc -c) ]] || { echo "a lone CR"; return; }
	LC_ALL=C grep -q -P '[^\x00-\x7F]' "$file" && { echo "not ASCII"; return; }
	if [[ $months == golden ]]; then
		sed "s/www\.example\.com/$link_host/g" "$golden_dir/calendar12-2010-03-10.htm" |
			cmp -s - "$file" || echo "differs from the golden page"
		return
	fi
	tables=$(grep -c '^<table><tr>' "$file")
	[[ $tables == "$months" ]] || { echo "$tables months, not $months"; return; }
	grep -q "^<HTML><HEAD><TITLE>$months Month Calendar</TITLE>" "$file" || echo "title"
	[[ -z $first ]] || grep -m 1 '<b>' "$file" | grep -q "<b>$first</b>" || echo "not from $first"
	[[ -z $text ]] || grep -q -F "$text" "$file" || echo "no $text"
}

# Why the file at $1 is not a modern page of N:FIRST-CAPTION:WEEKS[:TEXT] ($2; WEEKS sunday or
# monday for weeks from that day, in English, weeks for week numbers, any; TEXT on the page), or
# nothing if it is.
modern_fault() {
	local file=$1 months first weeks text tables
	IFS=: read -r months first weeks text <<<"$2"
	head -c 17 "$file" | cmp -s - <(printf '<!DOCTYPE html>\r\n') || { echo "no doctype"; return; }
	tail -c 9 "$file" | cmp -s - <(printf '</html>\r\n') || { echo "ends wrongly"; return; }
	[[ $(grep -c -v $'\r$' "$file") == 0 ]] || { echo "a line without CR LF"; return; }
	iconv -f UTF-8 -t UTF-8 "$file" >/dev/null 2>&1 || { echo "not UTF-8"; return; }
	tables=$(grep -c '<table id=' "$file")
	[[ $tables == "$months" ]] || { echo "$tables months, not $months"; return; }
	# Month names may differ in case between systems: Linux's "Март", Windows' "март".
	grep -m 1 '<caption>' "$file" | LC_ALL=C.UTF-8 grep -q -i "<caption>$first</caption>" ||
		echo "not from $first"
	[[ $weeks == weeks || $weeks == any ]] || grep -q "<thead><tr><th aria-label=\"${weeks^}\">" "$file" || echo "not $weeks weeks"
	if [[ $weeks == weeks ]]; then grep -q '<th scope="row">' "$file" || echo "no week numbers"
	elif grep -q '<th scope="row">' "$file"; then echo "week numbers"; fi
	[[ -z $text ]] || grep -q -F "$text" "$file" || echo "no $text"
}

# check NAME SETUP STATUS MESSAGE FILE MONTHS [ARGS...]
# SETUP: - | replace (FILE exists, larger) | mkdir (the second argument's folder exists)
#        | blocked (a folder stands at FILE, so no file can be written there)
#        | noclock (the clock gives no local date) | replace,noclock | absurd, replace,absurd
#        (the clock gives a year past any page) | @DATE (the clock is at noon of DATE)
#        | strace (the file receives 512-byte writes, the last one at most 512)
#        | replace,fsize (no file may grow past 10 KB, as on a nearly full disk)
#        | replace,mode (FILE has mode 640, which the new page keeps) | link:TARGET (FILE is a
#        symbolic link to TARGET, and stays one) | hard (replace, and FILE has a second name,
#        other.htm, which names the new page too) | stdin (good.txt on standard input)
#        | posix (POSIXLY_CORRECT is set).
# MESSAGE: the whole output on the program's message stream, the other stream kept empty.
# FILE - means no file is left, stdout that the page is on standard output; MONTHS as above.
check() {
	local name=$1 setup=$2 status=$3 message=$4 file=$5 months=$6
	shift 6
	local dir="$work/$((++n))" fault="" actual expected="" clock='2010-03-10 12:00:00' tracer=() fd sizes
	local input=/dev/null posix=()
	set -- "${@//@DIR@/$dir}"
	[[ $setup == *noclock ]] && clock=$unreadable_clock
	[[ $setup == *absurd ]] && clock=$absurd_clock
	[[ $setup == @* ]] && clock="${setup#@} 12:00:00"
	mkdir -p "$dir"
	case $setup in
	replace* | hard) head -c 100000 /dev/zero | tr '\0' 'z' >"$dir/$file" ;;
	mkdir) mkdir -p "$dir/$(dirname "${2//\\//}")" ;;
	blocked) mkdir "$dir/$file" ;;
	link:*) ln -s "${setup#link:}" "$dir/$file" ;;
	stdin) input=$work/ev/good.txt ;;
	posix) posix=(POSIXLY_CORRECT=1) ;;
	# LeakSanitizer cannot run under ptrace.
	strace) tracer=(env "ASAN_OPTIONS=${ASAN_OPTIONS-}:detect_leaks=0" strace -q -e trace=openat,write -o "$dir.trace") ;;
	esac
	[[ $setup == *mode ]] && chmod 640 "$dir/$file"
	[[ $setup == hard ]] && ln "$dir/$file" "$dir/other.htm"
	(
		cd "$dir" || exit 99
		# The program has a write past the limit fail (EFBIG), as on a full disk.
		[[ $setup == *fsize ]] && ulimit -f 20
		timeout 60 "${tracer[@]}" env "${posix[@]}" "$preload=$LIBFAKETIME" FAKETIME="$clock" "${command[@]}" "$@" \
			>"$dir.out" 2>"$dir.err" <"$input"
	)
	actual=$?
	[[ -n $message ]] && expected="$message$eol"
	if [[ $actual != "$status" ]]; then
		fault="status $actual, not $status"
	elif [[ $(cat "$dir.$says"; echo .) != "$expected." ]]; then
		fault="said '$(cat "$dir.$says")'"
	elif [[ $file != stdout && -s $dir.$quiet ]]; then
		fault="wrote '$(head -c 200 "$dir.$quiet")' to std$quiet"
	elif [[ $file == stdout ]]; then
		fault=$(page_fault "$dir.out" "$months")
		[[ -z $(find "$dir" -type f) ]] || fault="left a file: $(find "$dir" -type f)"
	elif [[ $file == - || $setup == blocked || ($setup == link:* && $status != 0) ]]; then
		[[ -z $(find "$dir" -type f) ]] || fault="left a file: $(find "$dir" -type f)"
	elif [[ ! -f $dir/$file ]]; then
		fault="no $file"
	elif [[ $(find "$dir" -type f | wc -l) != $([[ $setup == hard ]] && echo 2 || echo 1) ]]; then
		fault="more than $file written"
	else
		fault=$(page_fault "$dir/$file" "$months")
	fi
	if [[ -z $fault && $setup == link:* && ! -L $dir/$file ]]; then
		fault="the link replaced"
	elif [[ -z $fault && $setup == hard ]] && ! cmp -s "$dir/$file" "$dir/other.htm"; then
		fault="the second name left with the old page"
	elif [[ -z $fault && $setup == *mode && $(stat -c %a "$dir/$file") != 640 ]]; then
		fault="mode $(stat -c %a "$dir/$file"), not 640"
	fi
	if [[ -z $fault && $setup == strace ]]; then
		# The page goes to a new file beside $file first.
		fd=$(sed -n "s/^openat(.*\"$file.new-[0-9]*\".* = \([0-9]*\)$/\1/p" "$dir.trace")
		# From the file's opening on: the preload may have written to the same number before.
		sizes=$(sed -n "/^openat(.*\"$file.new-/,\$p" "$dir.trace" | sed -n "s/^write($fd, .* = \([0-9]*\)$/\1/p")
		[[ $(head -n -1 <<<"$sizes" | sort -u) == 512 ]] ||
			fault="writes of other sizes than 512 before the last: $(sort <<<"$sizes" | uniq -c)"
	fi
	if [[ -z $fault ]]; then
		((++passed))
		echo "ok - $name"
	else
		((++failed))
		echo "FAIL - $name: $fault"
	fi
}

# pendrik says its messages on standard output, ostavel on standard error.
command=("${program[@]}") says=out quiet=err

#     name                         setup    st stdout                                     file                     months  arguments
check "no arguments"               -        0  ""                                         calendar36.htm           36
check "count 5"                    -        0  ""                                         calendar12.htm           12      5
check "count 0"                    -        0  ""                                         calendar12.htm           12      0
check "count -40"                  -        0  ""                                         calendar12.htm           12      -40
check "count abc"                  -        0  ""                                         calendar12.htm           12      abc
check "empty count"                -        0  ""                                         calendar12.htm           12      ""
check "count 100"                  -        0  ""                                         calendar100.htm          100     100
check "count 24x"                  -        0  ""                                         calendar24.htm           24      24x
check "count ' +13'"               -        0  ""                                         calendar13.htm           13      " +13"
check "huge negative count"        -        0  ""                                         calendar12.htm           12      -99999999999999999999
check "huge count saturates"       blocked  1  "Cannot open file calendar2147483647.htm"  calendar2147483647.htm   -       99999999999999999999
check "2^32 + 12 is not 12"        blocked  1  "Cannot open file calendar2147483647.htm"  calendar2147483647.htm   -       4294967308
check "the golden page"            -        0  ""                                         golden.htm               golden  12 golden.htm
check "count and path"             -        0  ""                                         out.htm                  24      24 out.htm
check "a third argument"           -        0  ""                                         out.htm                  24      24 out.htm extra
check "a path with spaces"         -        0  ""                                         "my calendar.htm"        13      13 "my calendar.htm"
check "an existing file replaced"  replace  0  ""                                         old.htm                  12      12 old.htm
check "a path of 306 characters"   mkdir    0  ""                                         "$long_path"             12      12 "$long_path"
check "a name too long to create"  -        1  "Cannot open file $long_name"              -                        -       12 "$long_name"
check "a missing folder"           -        1  "Cannot open file nodir/x.htm"             -                        -       12 nodir/x.htm
check "an empty path"              -        1  "Cannot open file "                        -                        -       12 ""
check "no local date"              noclock  1  "Cannot read the current date"             -                        -       12
check "no local date, page kept"   replace,noclock 1 "Cannot read the current date"       old.htm                  untouched 12 old.htm
check "a year past any page"       absurd   1  "Cannot read the current date"             -                        -       12
check "2040, past 32-bit time"     @2040-01-01 0 ""                                       calendar36.htm           "36:January 2040:<td><font color=FF0000>1</font></td>"
check "2106, past unsigned time"   @2106-02-08 0 ""                                       calendar12.htm           "12:February 2106:<td><font color=FF0000>8</font></td>" 5

command=("${ostavel[@]}") says=err quiet=out
bad_start="Start must be a year from 1701 to 2500, or YEAR-MONTH:"
hint="${eol}Try 'ostavel --help'."
check "ostavel: no arguments"      -        0  ""                                        year2010.htm             "12:January 2010"
check "ostavel: a year"            -        0  ""                                        year1701.htm             "12:January 1701"   1701
check "ostavel: YYYY-M"            -        0  ""                                        year2027-09.htm          "12:September 2027" 2027-9
check "ostavel: YYYY-MM, 120"      -        0  ""                                        year2500-12.htm          "120:December 2500" 2500-12 120
check "ostavel: a path"            -        0  ""                                        out.htm                  "1:March 2010"      2010-03 001 out.htm
check "ostavel: an argument after PATH" replace 1 "Unexpected argument: ev.txt$hint"     old.htm                  untouched           2010-03 1 old.htm ev.txt
check "ostavel: -o, START"         -        0  ""                                        out.htm                  "12:January 2027"   -o out.htm 2027
check "ostavel: --output=, START, MONTHS" - 0  ""                                        out.htm                  "2:May 2027"        --output=out.htm 2027-5 2
check "ostavel: -o and PATH"       replace  1  "Unexpected argument: x.htm$hint"        old.htm                  untouched           -o old.htm 2027 1 x.htm
check "ostavel: -o without a value" replace 1  "Option needs a value: -o$hint"          old.htm                  untouched           2027 -o
check "ostavel: standard input twice" replace 1 "Standard input given twice: -e -$hint" old.htm                  untouched           -e - --events=- 2027 12 old.htm
check "ostavel: as pendrik's page" -        0  ""                                        same.htm                 golden-body         2010-3 12 same.htm
check "ostavel: standard output"   -        0  ""                                        stdout                   "13:November 2009"  2009-11 13 -
for start in 1700 2501 201 20100 +2010 " 2010" 2010-0 2010-13 2010-001 2010- 2010-1x ""; do
check "ostavel: start '$start'"    replace  1  "$bad_start $start"                       old.htm                  untouched           "$start" 12 old.htm
done
for months in 0 121 "" 12x +5 99999999999; do
check "ostavel: months '$months'"  replace  1  "Months must be 1 to 120: $months"        old.htm                  untouched           2010 "$months" old.htm
done
check "ostavel: no local date"     replace,noclock 1 "Cannot read the current date"      old.htm                  untouched           2010 12 old.htm
check "ostavel: a year past pages" replace,absurd 1 "Cannot read the current date"       old.htm                  untouched           2010 12 old.htm
check "ostavel: 2040"              @2040-01-01 0 ""                                      year2040.htm             "12:January 2040:<td><font color=FF0000>1</font></td>"
check "ostavel: 2106, modern"      @2106-02-08 0 ""                                      year2106.htm             "modern:12:January 2106:sunday:<td aria-current=\"date\">8</td>" --modern
check "ostavel: a missing folder"  -        1  "Cannot open file nodir/x.htm: No such file or directory" -                        -                   2010 12 nodir/x.htm
check "ostavel: --help"            -        0  ""                                        stdout                   usage               --help
check "ostavel: -h"                -        0  ""                                        stdout                   usage               -h 2010
check "ostavel: --version"         -        0  ""                                        stdout                   version             --version
check "ostavel: --modern"          -        0  ""                                        year2010.htm             "modern:12:January 2010:sunday" --modern
check "ostavel: -m, a month"       -        0  ""                                        year2027-09.htm          "modern:6:September 2027:monday" -m 2027-9 6
check "ostavel: --monday, 120"     -        0  ""                                        year2500-12.htm          "modern:120:December 2500:monday" --monday 2500-12 120
check "ostavel: -w"                -        0  ""                                        year1701.htm             "modern:12:January 1701:weeks" -w 1701
check "ostavel: --week-numbers, -" -        0  ""                                        stdout                   "modern:1:March 2010:weeks" --modern --week-numbers 2010-3 1 -
check "ostavel: -- ends options"   -        0  ""                                        year2027.htm             "12:January 2027"   -- 2027
check "ostavel: --modern --"       -        0  ""                                        x.htm                    "modern:2:May 2027:sunday" --modern -- 2027-5 2 x.htm
check "ostavel: --modern -h"       -        0  ""                                        stdout                   usage               --modern -h 2010
check "ostavel: -w --version"      -        0  ""                                        stdout                   version             -w --version
check "ostavel: German"            -        0  ""                                        year2027-03.htm          same:modern-de-DE.htm --lang de-DE -w 2027-3 1
check "ostavel: Arabic, events"    -        0  ""                                        year2027-12.htm          same:modern-ar-EG.htm --lang ar-EG -w -e ../ev/good.txt 2027-12 1
check "ostavel: Japanese, LANG"    -        0  ""                                        year2027-03.htm          same:modern-ja-JP.htm --lang ja_JP.UTF-8 2027-3 1
check "ostavel: Russian, --lang="  -        0  ""                                        year2027-03.htm          "modern:1:март 2027"$'\xe2\x80\xaf'"г.:any:<html lang=\"ru-RU\">" --lang=ru-ru 2027-3 1
check "ostavel: LANG with @"       -        0  ""                                        year2027-03.htm          "modern:1:März 2027:any:<html lang=\"de-DE\">" --lang de_DE@euro 2027-3 1
check "ostavel: a fallback"        -        0  ""                                        year2027-03.htm          "modern:1:März 2027:any:<html lang=\"de-CH-1996\">" --lang DE-ch-1996 2027-3 1
check "ostavel: -s over German"    -        0  ""                                        year2027-03.htm          "modern:1:März 2027:any:<thead><tr><th aria-label=\"Sonntag\">So" --lang de-DE -s 2027-3 1
check "ostavel: C is English"      -        0  ""                                        year2027-03.htm          "modern:1:March 2027:sunday:<html lang=\"en\">" --lang C.UTF-8 2027-3 1
check "ostavel: --list-languages"  -        0  ""                                        stdout                   languages           --list-languages
check "ostavel: --list-holidays"   -        0  ""                                        stdout                   holidays            --list-holidays
check "ostavel: no holidays of XX"  replace 1  "Holidays not known: XX${eol}Try 'ostavel --list-holidays'." old.htm        untouched           --holidays XX 2027 1 old.htm
check "ostavel: Bavaria's holidays" -       0  ""                                        year2027-05.htm          "modern:1:Mai 2027:any:<td class=\"e h off\">27<span class=\"hidden\">: Bayern (DE-BY): Fronleichnam</span>" --lang de-DE --holidays de-by 2027-5 1
check "ostavel: England's substitute days" - 0 ""                                        year2027-12.htm          "modern:1:December 2027:any:</time></span> <span><bdi>Boxing Day (substitute day)</bdi></span></li>" --holidays GB-ENG 2027-12 1
check "ostavel: holidays past their years" - 0 "US: public holidays known for 1970 to 2076 only" year2100.htm    "modern:12:January 2100:sunday" --holidays US 2100
check "ostavel: Persian, golden"   -        0  ""                                        year1406-01.htm          same:modern-fa-IR.htm --lang fa-IR -w 1406-1 1
check "ostavel: Adar I and II, golden" -    0  ""                                        year5787-06.htm          same:modern-hebrew-leap.htm --lang he-IL-u-ca-hebrew 5787-6 2
check "ostavel: a Persian year"    -        0  ""                                        year1406.htm             "modern:12:۱۴۰۶ فروردین:any:<h1>۱۴۰۶ فروردین – ۱۴۰۶ اسفند</h1>" --lang fa-IR 1406
check "ostavel: a Buddhist year"   -        0  ""                                        year2570.htm             "modern:12:มกราคม 2570:any:<caption>ธันวาคม 2570</caption>" --lang th-TH 2570
check "ostavel: a Hebrew leap year" -       0  ""                                        year5787.htm             "modern:13:תשרי 5787:any:<caption>אדר ב׳ 5787</caption>" --lang he-IL-u-ca-hebrew 5787
check "ostavel: a Japanese era's first year" - 0 ""                                      year2019-05.htm          "modern:1:令和元年5月:any" --lang ja-JP --calendar japanese 2019-5 1
check "ostavel: a Chinese leap month" -     0  ""                                        year2025.htm             "modern:13:2025乙巳年正月:any:<caption>2025乙巳年闰六月</caption>" --lang zh-CN-u-ca-chinese 2025
check "ostavel: Chinese days beside"  -     0  ""                                        year2027-02.htm          "modern:1:2027年2月:any:<td>6<small>正月</small></td><td>7<small>初二</small>" --lang zh-CN --second-calendar chinese 2027-2 1
check "ostavel: weeks as the US counts" -   0  ""                                        year2027-01.htm          "modern:1:January 2027:weeks:<tr><th scope=\"row\">1</th><td></td><td></td><td></td><td></td><td></td><td>1</td>" --lang en-US -w 2027-1 1
check "ostavel: ISO weeks with -m"  -       0  ""                                        year2027-01.htm          "modern:1:January 2027:weeks:<tr><th scope=\"row\">53</th>" --lang en-US -m -w 2027-1 1
check "ostavel: --list-calendars"  -        0  ""                                        stdout                   calendars           --list-calendars
check "ostavel: no calendar bogus" replace  1  "Calendar not available: bogus"          old.htm                  untouched           --calendar bogus 2027 1 old.htm
check "ostavel: no calendar in a tag" replace 1 "Calendar not available: mayan"        old.htm                  untouched           --lang de-DE-u-ca-mayan 2027 1 old.htm
check "ostavel: no second calendar" replace 1  "Calendar not available: x"              old.htm                  untouched           --second-calendar x 2027 1 old.htm
check "ostavel: a Hebrew year out of range" replace 1 "Start must be a year from 5462 to 6261 of the hebrew calendar, or YEAR-MONTH: 2027" old.htm untouched --calendar hebrew 2027 1 old.htm
check "ostavel: no 13th month in 5786" replace 1 "Start must be a year from 5462 to 6261 of the hebrew calendar, or YEAR-MONTH: 5786-13" old.htm untouched --calendar hebrew 5786-13 1 old.htm
for tag in xx-YY ../../etc de- 1de "$long_name"; do
check "ostavel: no language '${tag:0:10}'" replace 1 "Language not available: $tag"       old.htm                  untouched           --lang "$tag" 2010 12 old.htm
done
check "ostavel: --lang, no value"  replace  1  "Option needs a value: --lang$hint"      old.htm                  untouched           --lang
check "ostavel: --events= empty"   replace  1  "Option needs a value: --events=$hint"   old.htm                  untouched           --events= 2010 12 old.htm
check "ostavel: -e '' after START" replace  1  "Option needs a value: -e$hint"          old.htm                  untouched           2010 -e "" 12 old.htm
check "ostavel: options after START" -      0  ""                                        year2027.htm             "modern:12:January 2027:weeks" 2027 12 -w
check "ostavel: options after PATH" -       0  ""                                        out.htm                  "modern:2:May 2027:monday" 2027-5 2 out.htm --mon
check "ostavel: -mw, -eFILE"       -        0  ""                                        year2028-02.htm          "modern:1:February 2028:weeks:29<span class=\"hidden\">: good: Leap day" 2028-2 -mw 1 -e../ev/good.txt
check "ostavel: -- before -w"      -        0  ""                                        -w                       "12:January 2027"   -- 2027 12 -w
check "ostavel: POSIXLY_CORRECT"   posix    0  ""                                        -w                       "12:January 2027"   2027 12 -w
check "ostavel: an ambiguous --m"  replace  1  "Ambiguous option: --m$hint"             old.htm                  untouched           2010 12 old.htm --m
check "ostavel: events on stdin"   stdin    0  ""                                        year2028-02.htm          "modern:1:February 2028:sunday:29<span class=\"hidden\">: -: Leap day" -e - 2028-2 1
check "ostavel: an emoji event"    -        0  ""                                        year2027-05.htm          "modern:1:May 2027:sunday:4<span class=\"hidden\">: emoji: 🎂 Anna</span>" -e ../ev/emoji.txt 2027-5 1
check "ostavel: a start escaped"   replace  1  "$bad_start \\x1b[2J"                     old.htm                  untouched           $'\e[2J' 12 old.htm
check "ostavel: events"            -        0  ""                                        year2028-02.htm          "modern:1:February 2028:sunday:<td class=\"e s0\">29<span class=\"hidden\">: good: Leap day</span>" -e ../ev/good.txt 2028-2 1
check "ostavel: two event files"   -        0  ""                                        year2027-12.htm          "modern:3:December 2027:sunday:29<span class=\"hidden\">: good: Leap day; more: Second file</span>" -e ../ev/good.txt --events=../ev/more.txt 2027-12 3
check "ostavel: an event escaped"  -        0  ""                                        year2028-02.htm          "modern:1:February 2028:monday:</span> <span><bdi>&lt;b&gt;&amp;&#34;</bdi></span></li>" -m --events ../ev/more.txt 2028-2 1
for fault in "date.txt:2: not a date: 2027-02-29" "text.txt:3: no text after the date" "utf8.txt:1: not UTF-8" \
	"control.txt:1: control character" "long.txt:1: line too long" \
	"cut.txt:1: not UTF-8" "continuation.txt:1: not UTF-8" "2027-13-01.txt:2: not a date: 2027-13-01" \
	"2027-02-00.txt:2: not a date: 2027-02-00" "2027-04-31.txt:2: not a date: 2027-04-31" \
	"13-01.txt:2: not a date: 13-01" "00-10.txt:2: not a date: 00-10"; do
check "ostavel: events, ${fault#*: }" replace 1 "../ev/$fault"                           old.htm                  untouched           -e ../ev/good.txt -e "../ev/${fault%%:*}" 2010 12 old.htm
done
check "ostavel: events, too many"  replace  1  "../ev/many.txt: too many events"          old.htm                  untouched           -e ../ev/many.txt 2010 120 old.htm
check "ostavel: no event file"     replace  1  "Cannot read file ../ev/none.txt: No such file or directory"       old.htm                  untouched           -e ../ev/none.txt 2010 12 old.htm
check "ostavel: a holiday feed"    -        0  ""                                        year2027.htm             same:modern-holidays.htm -e "$ics_dir/holidays.ics" 2027
check "ostavel: a family calendar" -        0  ""                                        year2027-02.htm          same:modern-family.htm -e "$ics_dir/family.ics" -e ../ev/good.txt 2027-2 3
check "ostavel: runaway rules"     -        0  ""                                        year1701.htm             "modern:120:January 1701:sunday:: seconds: x; daily: x; within: x; february: x; minutes: x</span>" -e ../ev/seconds.ics -e ../ev/daily.ics -e ../ev/within.ics -e ../ev/february.ics -e ../ev/minutes.ics 1701 120
check "ostavel: a time clocks skip" -       0  ""                                        year2027-03.htm          "modern:1:March 2027:sunday:datetime=\"2027-03-28T01:30\"" -e ../ev/clocks.ics 2027-3 1
check "ostavel: a time clocks pass twice" - 0  ""                                        year2027-10.htm          "modern:1:October 2027:sunday:datetime=\"2027-10-31T00:30\"" -e ../ev/clocks.ics 2027-10 1
check "ostavel: a span of 70 years" -       0  ""                                        year2027-06.htm          "modern:1:June 2027:sunday:<time datetime=\"2027-06-01\">1–30</time>" -e ../ev/clocks.ics 2027-6 1
check "ostavel: a period's RDATE"  -        0  ""                                        year2027-06.htm          "modern:1:June 2027:sunday:<time datetime=\"2027-06-20T22:00\">20–21</time>" -e ../ev/clocks.ics 2027-6 1
for fault in "cut.ics: cut short: no END:VCALENDAR" "notcal.ics:1: not an iCalendar file: no BEGIN:VCALENDAR" \
	"long.ics:5: line too long: more than 4 MiB" "zero.ics:5: a NUL byte: not a text file"; do
check "ostavel: a calendar file, ${fault#*: }" replace 1 "../ev/$fault"               old.htm                  untouched           -e "../ev/${fault%%:*}" 2027 12 old.htm
done
many_said="many.ics:5: event x: left out: no such date or time: 20271345"
for i in {2..10}; do many_said+="$eol../ev/many.ics:$((5 * i)): event x: left out: no such date or time: 20271345"; done
many_said+="$eol../ev/many.ics: 2 more warnings"
for warning in "date.ics:5: event x: left out: no such date or time: 20271345" \
	"zone.ics:2: event x: time zone Mars/Olympus unknown: its times placed in the page's time zone" \
	"rule.ics:6: event x: RRULE left out: RRULE cannot be read: FREQ=SOMETIMES" \
	"utf8.ics:6: not UTF-8 text: shown with U+FFFD" "counted.ics:6: event x: occurrences before the page past the file's 500,000th left out" \
	"slow.ics:6: event x: rule left out: seconds or minutes too slow to follow" \
	"back.ics:2: event x: left out: it ends before it starts" "nostart.ics:2: event x: left out: no DTSTART" \
	"$many_said"; do
check "ostavel: a calendar file, ${warning%%$'\n'*}" - 0 "../ev/$warning"                  year2027.htm             "modern:12:January 2027:sunday" -e "../ev/${warning%%:*}" 2027
done
check "ostavel: a calendar's name"  -        0  ""                                        year2027-03.htm          "modern:1:March 2027:sunday:<i class=\"s0\" aria-hidden=\"true\"></i>Team, A&amp;B</li>" -e ../ev/details.ics 2027-3 1
check "ostavel: a place, a link, two rules" - 0 ""                                        year2027-03.htm          "modern:1:March 2027:sunday:<time datetime=\"2027-03-20T09:00\">20</time></span> <span>9:00 AM <a href=\"https://example.org/a?b=1&amp;c=2\"><bdi>Stand-up</bdi></a> <bdi class=\"place\">Room 4, &lt;east&gt;</bdi></span></li>" -e ../ev/details.ics 2027-3 1
check "ostavel: an exported calendar's quirks" - 0 "$zone_said"                          year2027-03.htm          "modern:1:March 2027:sunday:datetime=\"$zone_time\">1<" -e ../ev/quirks.ics -e ../ev/dates.ics 2027-3 1
for option in --bogus -x --modern=1 --Modern -5; do
check "ostavel: option '$option'"   replace  1  "Unknown option: $option$hint"           old.htm                  untouched           --modern "$option" 2010 12 old.htm
done
check "ostavel: option -x in -mx"  replace  1  "Unknown option: -x$hint"                old.htm                  untouched           2010 -mx 12 old.htm
check "ostavel: a lone -"          replace  1  "$bad_start -"                             old.htm                  untouched           - 12 old.htm
check "ostavel: -- then -m"        replace  1  "$bad_start -m"                            old.htm                  untouched           -- -m 12 old.htm

# /dev/full: Wine takes it for a regular file, beside which a new page would go.
if [[ $eol == $'\n' ]]; then
command=("${program[@]}") says=out quiet=err
check "a full disk"                -        1  "Cannot write file /dev/full"              -                        -       36 /dev/full
check "a full disk, huge count"    -        1  "Cannot write file /dev/full"              -                        -       99999999999999999999 /dev/full
check "512-byte writes"            strace   0  ""                                         calendar36.htm           36
check "a full disk, page kept"     replace,fsize 1 "Cannot write file old.htm"            old.htm                  untouched 36 old.htm
check "the old page's mode kept"   replace,mode 0 ""                                      old.htm                  12      12 old.htm
check "a link's target replaced"   link:real.htm 0 ""                                     link.htm                 12      12 link.htm
check "a file of two names"        hard     0  ""                                         old.htm                  12      12 old.htm
check "a name with a line feed"    -        1  'Cannot open file nodir/a\nb'              -                        -       12 $'nodir/a\nb'
command=("${ostavel[@]}") says=err quiet=out
check "ostavel: a folder as PATH"  blocked  1  "Cannot open file x.htm: Is a directory" x.htm                    -                   2027 12 x.htm
check "ostavel: a full disk"       -        1  "Cannot write file /dev/full: No space left on device" -                        -                   1701 120 /dev/full
check "ostavel: /dev/stdout"       -        0  ""                                        stdout                   "modern:1:March 2010:sunday" --modern 2010-3 1 /dev/stdout
check "ostavel: full disk, page kept" replace,fsize 1 "Cannot write file old.htm: File too large" old.htm                  untouched           -w 1701 120 old.htm
check "ostavel: output is events"  link:../ev/good.txt 1 "Output is an events file: mine.htm" mine.htm           -                   -e ../ev/good.txt 2010 12 mine.htm
# Windows' arguments are Unicode: there a byte of no character never reaches the program.
check "ostavel: a C1 byte escaped" replace  1  "$bad_start \\x9b[2J"                     old.htm                  untouched           $'\x9b[2J' 12 old.htm
check "ostavel: output is stdin's" stdin    1  "Output is an events file: ../ev/good.txt" -                       -                   -e - 2010 12 ../ev/good.txt
check "ostavel: events, endless"   replace  1  "/dev/zero:1: line too long"             old.htm                  untouched           -e /dev/zero 2010 12 old.htm
check "ostavel: a path to a locale" replace 1 "Language not available: /usr/lib/locale/C.utf8" old.htm               untouched           --lang /usr/lib/locale/C.utf8 2010 12 old.htm
fi

# Windows paths: back slashes, a drive letter (Z: is the root of the file system under Wine).
if [[ $eol == $'\r\n' ]]; then
command=("${program[@]}") says=out quiet=err
check "back slashes"               mkdir    0  ""                                         sub/dir/x.htm            12      12 'sub\dir\x.htm'
check "a drive letter"             -        0  ""                                         x.htm                    12      12 'Z:@DIR@/x.htm'
check "drive letter, back slash"   -        0  ""                                         x.htm                    12      12 'Z:@DIR@\x.htm'
check "a missing folder on Z:"     -        1  'Cannot open file Z:\no such dir\x.htm'    -                        -       12 'Z:\no such dir\x.htm'
check "a name beyond the code page" -       0  ""                                         "календарь-Ωä.htm"       12      12 "календарь-Ωä.htm"
fi

# Two runs at once at one PATH, 20 times: each time the file is one of the two pages, whole.
race() { # PATH MONTHS
	env "$preload=$LIBFAKETIME" FAKETIME='2010-03-10 12:00:00' "${program[@]}" "$2" "$1" >/dev/null 2>&1
}
mkdir "$work/race" && cd "$work/race" && race a.htm 12 && race b.htm 120 && fault=""
for i in {1..20}; do
	race x.htm 12 & race x.htm 120 & wait
	cmp -s x.htm a.htm || cmp -s x.htm b.htm || { fault="run $i left neither page"; break; }
	[[ $(ls | wc -l) == 3 ]] || { fault="run $i left $(ls)"; break; }
done
if [[ -z ${fault-x} ]]; then ((++passed)); echo "ok - two runs at once"; else ((++failed)); echo "FAIL - two runs at once: ${fault-no pages}"; fi

echo "$passed passed, $failed failed"
[[ $failed == 0 ]]
