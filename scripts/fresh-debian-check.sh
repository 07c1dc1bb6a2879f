#!/usr/bin/env bash
# Tries the README's two commands as a new user would: in a minimal Debian 12 root made with
# debootstrap, with only git installed and the project cloned from this repository's HEAD,
# each command run inside through chroot. Reports each one's status and time; exits 1 if
# either failed. Needs root and downloads about a gigabyte.
# Usage: scripts/fresh-debian-check.sh [WORK_DIR]   (the root is made there and removed after)
set -euo pipefail
repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

# Inside a mount namespace of its own, so that nothing mounted for the chroot outlives it.
if [[ -z ${FRESH_ROOT-} ]]; then
	command -v debootstrap >/dev/null || {
		apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y debootstrap
	}
	work=$(mktemp -d "${1:-/var/tmp}/pendrik-fresh.XXXXXX")
	status=0
	FRESH_ROOT=$work/root unshare --mount --propagation private "$0" || status=$?
	rm -rf --one-file-system "$work"
	exit "$status"
fi

root=$FRESH_ROOT
echo "debootstrap --variant=minbase bookworm into $root"
debootstrap --variant=minbase --include=git bookworm "$root" "$mirror" >"$root.log" 2>&1 ||
	{ tail -n 20 "$root.log"; exit 1; }
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The host's trusted certificates, for npm on a network whose TLS is inspected by a proxy.
cp /etc/ssl/certs/ca-certificates.crt "$root/etc/host-ca-certificates.crt"
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount -t devpts devpts "$root/dev/pts"
mount -t tmpfs shm "$root/dev/shm"
mkdir -p "$root/origin"
mount --bind -o ro "$repo" "$root/origin"

in_root() {
	chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
		NODE_EXTRA_CA_CERTS=/etc/host-ca-certificates.crt \
		PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin bash -c "$1"
}
in_root 'git clone -q /origin /root/pendrik'

# The README's first two sh blocks: the run command and the test command.
mapfile -t commands < <(awk '/^```sh$/ { block = 1; text = ""; next }
	block && /^```$/ { print text; block = 0; if (++n == 2) exit; next }
	block { text = text (text == "" ? "" : " ") $0 }' "$root/root/pendrik/README.md")
names=("run command" "test command")
report=() failed=0
for i in 0 1; do
	echo "== ${names[i]}: ${commands[i]}"
	start=$(date +%s) status=0
	in_root "cd /root/pendrik && ${commands[i]}" >"$root.${i}.log" 2>&1 || status=$?
	tail -n 15 "$root.${i}.log"
	if ((i == 0 && status == 0)) && [[ ! -s $root/root/pendrik/calendar36.htm ]]; then
		echo "no calendar36.htm written"
		status=1
	fi
	((status == 0)) || failed=1
	report+=("${names[i]}: status $status in $(($(date +%s) - start)) s")
done
printf '%s\n' "${report[@]}"
exit "$failed"
