#!/usr/bin/env bash
# Installs through apt-get the Debian packages that are missing for building (build), for
# building the packages (package) or for building and running every test (test); installs
# nothing when all of them are there.
# Usage: scripts/install-packages.sh build|package|test
set -euo pipefail

packages=(cmake g++ make pkg-config libical-dev)
package_tools=(g++-mingw-w64-x86-64-posix groff-base dpkg-dev zip git)
case ${1-} in
build) ;;
package) packages+=("${package_tools[@]}") ;;
test)
	packages+=("${package_tools[@]}" clang libclang-rt-dev libgtest-dev googletest libc++-dev
		libc++abi-dev g++-multilib faketime strace clang-format clang-tidy cppcheck man-db wine64
		chromium ca-certificates lintian default-jre-headless libicu-dev python3-icalendar
		python3-dateutil)
	;;
*)
	echo "usage: $0 build|package|test" >&2
	exit 2
	;;
esac

sudo=()
((EUID == 0)) || sudo=(sudo)
# Installs those of the packages named that are missing.
install_missing() {
	local missing=() package
	for package in "$@"; do
		dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
			missing+=("$package")
	done
	((${#missing[@]})) || return 0
	echo "Installing ${missing[*]}"
	"${sudo[@]}" apt-get update
	"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

# Node.js may come from elsewhere than Debian, with its own npm.
if [[ $1 == test ]]; then
	command -v node >/dev/null || packages+=(nodejs)
	command -v npm >/dev/null || packages+=(npm)
fi
install_missing "${packages[@]}"
[[ $1 == test ]] || exit 0

# Where the kernel runs no 32-bit program (some virtual machines do not), the i386 tests run
# under qemu.
probe=$(mktemp)
if ! { echo 'int main() { return 0; }' | g++ -m32 -x c++ - -o "$probe" && "$probe"; } 2>/dev/null; then
	install_missing qemu-user
fi
rm -f "$probe"

