#!/usr/bin/env bash
# Builds the packages twice, from two clean clones of HEAD in different folders, under other
# umasks and time zones, and checks that programs and packages are the same bytes; then what
# the packages hold: the .deb's files, fields and lintian, the .tar.gz against the .deb, the
# .zip's files with their text in CR LF, each program run once (the .exe files under Wine)
# and the manifest and version resource read back from the .exe files.
# Usage: package_test.sh SOURCE_DIR   (HEAD is built: commit what is to be checked)
set -u
source=$(realpath "$1")
work=$(mktemp -d)
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all
trap '/usr/lib/wine/wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
passed=0 failed=0
check() { # NAME COMMAND...
	if "${@:2}" >"$work/out" 2>&1; then ((++passed)); else ((++failed)); echo "FAIL - $1"; head -n 20 "$work/out"; fi
}
build() { (cd "$1" && umask "$2" && TZ=$3 cmake --workflow --preset package); }
is() { [[ $1 == $2 ]]; } # TEXT PATTERN
writes() { local file=$1 months=$2; shift 2; "$@" && is "$(grep -c '^<table><tr>' "$file")" "$months"; }
crlf() { ! grep -q -v $'\r$' "$@"; }

a=$work/a/pendrik b=$work/b/elsewhere/pendrik
git clone -q "$source" "$a" && git clone -q "$source" "$b" || exit 1
check "first build" build "$a" 022 UTC0
check "second build" build "$b" 077 XST-5:30
version=$(sed -n 's/^project(pendrik VERSION \([0-9.]*\).*/\1/p' "$a/CMakeLists.txt")
cd "$a/build/package" || exit 1
check "the packages" diff <(ls packages) <(printf '%s\n' SHA256SUMS "pendrik-$version-linux-x86_64.tar.gz" \
	"pendrik-$version-windows-x86_64.zip" "pendrik_${version}_amd64.deb")
for file in pendrik ostavel windows/*.exe packages/*; do
	check "$file the same in both builds" cmp "$file" "$b/build/package/$file"
done
cd packages || exit 1
check "SHA256SUMS" sha256sum --quiet -c SHA256SUMS

deb=pendrik_${version}_amd64.deb
check ".deb files" diff <(dpkg-deb -c "$deb" | awk '!/^d/ { print $6 }') <(printf './usr/%s\n' bin/ostavel \
	bin/pendrik share/bash-completion/completions/ostavel share/bash-completion/completions/pendrik share/doc/pendrik/README share/doc/pendrik/changelog.gz share/doc/pendrik/copyright share/man/man1/ostavel.1.gz share/man/man1/pendrik.1.gz)
# libical3 is named by the package itself: ostavel loads it when it reads a calendar file.
fields=$(dpkg-deb -f "$deb" Section Depends)
check ".deb fields" is "$fields" $'Section: utils\nDepends: '*'libical3 (>= 3.0)'*
check ".deb depends on the C library" is "$fields" *'libc6 (>= '*
check "lintian" lintian --fail-on error,warning "$deb"
mkdir "$work/deb" "$work/tgz" "$work/zip"
dpkg-deb -x "$deb" "$work/deb" && tar -xzf "pendrik-$version-linux-x86_64.tar.gz" -C "$work/tgz"
check ".tar.gz holds what the .deb does" diff -r "$work/deb/usr" "$work/tgz/pendrik-$version-linux-x86_64"
check "pendrik from the .deb runs" writes "$work/x.htm" 12 "$work/deb/usr/bin/pendrik" 12 "$work/x.htm"
mkdir -p -m 2775 "$work/local/bin"
check ".tar.gz: files only, folders there kept" eval "! tar -tvzf pendrik-$version-linux-x86_64.tar.gz | grep -q ^d &&
	tar -xzf pendrik-$version-linux-x86_64.tar.gz -C '$work/local' --strip-components=1 &&
	[[ \$(stat -c %a '$work/local/bin') == 2775 && -x '$work/local/bin/pendrik' ]]"
# The README's crontab command, under cron's environment, with the .deb's files laid over /usr
# and an empty /var, in a mount namespace of its own: nothing outside it changes. In a chroot,
# whose / cannot be made private, the two mounts are undone before the namespace ends.
cron=$(sed -n 's/^5 0 \* \* \* //p' "$source/README.md")
namespace=(unshare --mount --propagation private)
((EUID == 0)) || namespace=(unshare --map-root-user --mount)
"${namespace[@]}" true 2>/dev/null || namespace=(unshare --mount --propagation unchanged)
check "README's crontab command after the .deb" "${namespace[@]}" bash -c "
	mount -t overlay overlay -o lowerdir='$work/deb/usr':/usr /usr || exit 1
	trap 'umount /var; umount /usr' EXIT
	mount -t tmpfs tmpfs /var && mkdir -p /var/www/html && env -i PATH=/usr/bin:/bin /bin/sh -c '$cron' &&
	[[ \$(grep -c '^<table><tr>' /var/www/html/calendar.htm) == 36 && \$(ls /var/www/html) == calendar.htm ]]"

cd "$work/zip" && cmake -E tar xf "$OLDPWD/pendrik-$version-windows-x86_64.zip" && cd pendrik-*/ || exit 1
check ".zip files" diff <(ls) <(printf '%s\n' LICENSE.txt README.txt ostavel.exe ostavel.txt pendrik.exe pendrik.txt)
check ".zip text in CR LF" crlf ./*.txt
check "pendrik.exe runs" writes x.htm 12 /usr/lib/wine/wine64 pendrik.exe 12 x.htm
check "ostavel.exe runs" writes y.htm 6 /usr/lib/wine/wine64 ostavel.exe 2027-9 6 y.htm
copyright=$(grep '^Copyright' "$source/LICENSE")
for exe in pendrik.exe ostavel.exe; do
	x86_64-w64-mingw32-windres -i "$exe" -O rc >"$exe.rc"
	for line in "\"FileVersion\", \"$version\"" "\"ProductVersion\", \"$version\"" "\"LegalCopyright\", \"$copyright\"" \
		"\"OriginalFilename\", \"$exe\"" '>UTF-8</activeCodePage>' '>true</longPathAware>' 'level=""asInvoker""'; do
		check "$exe: $line" grep -qF "$line" "$exe.rc"
	done
done
echo "package check: $passed passed, $failed failed"
((failed == 0))
