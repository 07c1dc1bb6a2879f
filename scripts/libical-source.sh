#!/usr/bin/env bash
# Fetches the upstream tarball of libical 3.0.16 from Debian 12's source package libical3,
# checks it and prints its path. apt runs on a configuration, sources list and package lists
# of this script's own in the cache folder, so the system's apt is left as it is; a tarball
# already there and checked is used without the network.
# What is checked: apt takes the Sources index only from a Release file signed by a key of
# debian-archive-keyring, and downloads the .dsc and the tarball against that index's SHA-256;
# the tarball's SHA-256 must then be the one in the .dsc and the one pinned here. The .dsc's
# own signature, by the uploader, would need the Debian developers' keyring: it is not checked.
# Usage: scripts/libical-source.sh [CACHE]
#   CACHE defaults to ${XDG_CACHE_HOME:-$HOME/.cache}/pendrik/libical; DEBIAN_MIRROR, as in
#   fresh-debian-check.sh, to http://deb.debian.org/debian.
set -euo pipefail

version=3.0.16
tarball_sha256=b44705dd71ca4538c86fb16248483ab4b48978524fb1da5097bd76aa2e0f0c33
cache=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/pendrik/libical}
name=libical3_$version.orig.tar.gz
tarball=$cache/$name

mkdir -p "$cache"
# Builds configured at the same time share the cache.
exec 9>"$cache/lock"
flock 9
if [[ -f $tarball ]] && echo "$tarball_sha256  $tarball" | sha256sum --check --status; then
	echo "$tarball"
	exit 0
fi

apt=$cache/apt
rm -rf "$apt"
mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/download"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
echo "deb-src [signed-by=$keyring] ${DEBIAN_MIRROR:-http://deb.debian.org/debian} bookworm main" \
	>"$apt/sources.list"
# No file of /etc/apt is read: neither its sources nor the hooks of its apt.conf.d.
cat >"$apt/apt.conf" <<EOF
Dir::Etc::Main "/dev/null";
Dir::Etc::Parts "/dev/null";
Dir::Etc::SourceList "$apt/sources.list";
Dir::Etc::SourceParts "/dev/null";
Dir::State::Lists "$apt/lists";
Dir::Cache "$apt/cache";
APT::Sandbox::User "$(id -un)";
EOF
export APT_CONFIG=$apt/apt.conf
apt-get -q update >&2

# Only the .dsc and the upstream tarball: the Debian changes are not needed.
apt-get -q source --print-uris libical3 | while read -r uri file _ hash; do
	if [[ $file == *.dsc || $file == "$name" ]]; then
		/usr/lib/apt/apt-helper download-file "${uri//\'/}" "$apt/download/$file" "$hash" >&2
	fi
done
downloaded=$apt/download/$name
dsc=$(echo "$apt/download/libical3_$version"-*.dsc)
[[ -f $downloaded && -f $dsc ]] || {
	echo "Debian 12 has no libical3 $version source package" >&2
	exit 1
}
dsc_sha256=$(sed -n "/^Checksums-Sha256:/,/^[^ ]/s/^ \([0-9a-f]\{64\}\) [0-9]\+ $name\$/\1/p" \
	"$dsc")
actual_sha256=$(sha256sum "$downloaded" | cut -d ' ' -f 1)
if [[ $actual_sha256 != "$tarball_sha256" || $dsc_sha256 != "$tarball_sha256" ]]; then
	echo "$name: SHA-256 $actual_sha256, the .dsc says ${dsc_sha256:-nothing}," \
		"expected $tarball_sha256" >&2
	exit 1
fi
mv "$dsc" "$downloaded" "$cache"
rm -r "$apt"
echo "$tarball"
