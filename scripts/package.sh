#!/usr/bin/env bash
# Builds the Debian package of Ladya with CPack: build-rel/ladya_<version>_<arch>.deb.
#   scripts/package.sh                      build it
#   scripts/package.sh --check              and check it: desktop-file-validate,
#                                           appstreamcli validate, lintian, the contents
#                                           (dpkg-deb -c), and both programs run from an
#                                           unpacked copy
#   scripts/package.sh --check --install    and install it on this machine (as root or
#                                           with sudo) and run /usr/bin/ladya-cli
# The Release build folder build-rel/ is reused when there is one; otherwise it is
# configured without tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
install=0
for arg in "$@"; do
    case "$arg" in
    --check) check=1 ;;
    --install) install=1 ;;
    *) echo "usage: scripts/package.sh [--check] [--install]" >&2; exit 2 ;;
    esac
done

# dpkg-shlibdeps (dpkg-dev) and file find the libraries the programs need.
tools=(dpkg-dev file)
[ "$check" -eq 1 ] && tools+=(desktop-file-utils appstream lintian man-db)
scripts/install-deps.sh "${tools[@]}"

dir=build-rel
app_id=io.github.ladya.Ladya
if [ ! -f "$dir/CMakeCache.txt" ]; then
    opts=(-DCMAKE_BUILD_TYPE=Release -DLADYA_BUILD_TESTS=OFF -DLADYA_BUILD_BENCH=OFF)
    [ -n "${CI:-}" ] && opts+=(-DLADYA_WERROR=ON)
    cmake -S . -B "$dir" -G Ninja "${opts[@]}" >/dev/null
fi
# cpack installs only what the package holds, without first building every target of
# the folder (benchmarks, tests).
cmake "$dir" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target ladya ladya-cli ladya_package_files
rm -f "$dir"/ladya_*.deb
(cd "$dir" && cpack -G DEB >cpack.log 2>&1) || { cat "$dir/cpack.log" >&2; exit 1; }
deb=$(ls "$dir"/ladya_*.deb)
echo "Package: $deb"
[ "$check" -eq 1 ] || exit 0

echo "== dpkg-deb -I"
dpkg-deb -I "$deb"
echo "== dpkg-deb -c"
dpkg-deb -c "$deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root/pkg"

echo "== desktop-file-validate"
desktop-file-validate "$root/pkg/usr/share/applications/$app_id.desktop"
echo "== appstreamcli validate"
appstreamcli validate --no-net "$root/pkg/usr/share/metainfo/$app_id.metainfo.xml"
echo "== manual pages"
for page in "$root"/pkg/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings" >&2; exit 1; }
done
echo "== lintian"
# Lintian refuses nothing here but errors; its warnings and notes are shown too.
lintian --fail-on error --display-info "$deb" 2>&1 | { grep -v '^running with root privileges' || true; }

echo "== the programs of the unpacked package"
"$root/pkg/usr/bin/ladya-cli" --version
"$root/pkg/usr/bin/ladya-cli" --help >/dev/null
# Started the way the menu starts it, the program makes and uses ~/Ladya/TOURNAMENT.
# It then waits for its user; being still alive after a few seconds is the success.
exec_line=$(sed -n 's/^Exec=//p' "$root/pkg/usr/share/applications/$app_id.desktop")
mkdir "$root/home"
status=0
(cd / && HOME="$root/home" PATH="$root/pkg/usr/bin:$PATH" QT_QPA_PLATFORM=offscreen \
    timeout 5 $exec_line) || status=$?
if [ "$status" -ne 124 ] || [ ! -d "$root/home/Ladya/TOURNAMENT" ]; then
    echo "ladya started as '$exec_line' ended with status $status or made no ~/Ladya/TOURNAMENT" >&2
    exit 1
fi
echo "ladya from the menu entry works in ~/Ladya/TOURNAMENT"

if [ "$install" -eq 1 ]; then
    echo "== install"
    SUDO=
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "./$deb" >/dev/null
    /usr/bin/ladya-cli --help >/dev/null
    /usr/bin/ladya-cli --version
    dpkg -s ladya | sed -n 's/^\(Version\|Depends\): /\1: /p'
fi
echo "Package checked: $deb"
