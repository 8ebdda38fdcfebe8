#!/usr/bin/env bash
# Checks what the suite gives people outside this repository:
#   packaging/tests/check-install.sh <release build dir>
# 1. installs into a temporary prefix and builds a consumer program against
#    it, once with find_package and once with pkg-config, and runs both (the
#    ZnWidgets one offscreen);
# 2. builds the Debian package, checks its control data and contents,
#    unpacks it into a temporary root and runs the unpacked ombral-scan
#    (--version, a scan of the sample gallery), and asks apt whether it would
#    install.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 <release build dir>" >&2; exit 2; }
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "$0")/../.." && pwd)"
consumer="$root/packaging/tests/consumer"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

step() { printf '== %s\n' "$*"; }
fail() { printf 'check-install: %s\n' "$*" >&2; exit 1; }

step "install into a temporary prefix"
cmake --install "$build" --prefix "$work/prefix" > "$work/install.log"
mkdir -p "$work/tree/b/c" "$work/tree/a"

expected=$'\\a\n\\b\n\\b\\c'
check_core() {  # the folders the consumer lists, without the digests
  local listed
  listed="$("$1" "$work/tree" | cut -d' ' -f1)"
  [ "$listed" = "$expected" ] || fail "$1 listed: $listed"
}

step "consumer with find_package"
cmake -S "$consumer" -B "$work/consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$work/prefix" > "$work/consumer.log"
cmake --build "$work/consumer" >> "$work/consumer.log"
check_core "$work/consumer/core_consumer"
[ "$("$work/consumer/widgets_consumer")" = "42%" ] || fail "widgets_consumer (find_package)"

step "consumer with pkg-config"
export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig"
libdir="$(pkg-config --variable=libdir znwidgets)"
# shellcheck disable=SC2046
g++ -o "$work/core_pc" "$consumer/core_consumer.cpp" $(pkg-config --cflags --libs zncore) \
  -Wl,-rpath,"$libdir"
# shellcheck disable=SC2046
g++ -o "$work/widgets_pc" "$consumer/widgets_consumer.cpp" $(pkg-config --cflags --libs znwidgets) \
  -Wl,-rpath,"$libdir"
check_core "$work/core_pc"
[ "$("$work/widgets_pc")" = "42%" ] || fail "widgets_consumer (pkg-config)"

step "Debian package"
(cd "$build" && cpack -G DEB -B "$work/package" > "$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack"; }
deb="$(ls "$work"/package/*.deb)"
dpkg-deb --info "$deb" | tee "$work/info.txt"
grep -q '^ Depends: .*libqt6widgets6' "$work/info.txt" || fail "the package does not depend on Qt's widgets"
dpkg-deb --contents "$deb" > "$work/contents.txt"
for path in ./usr/bin/ombral ./usr/bin/ombral-scan ./usr/share/man/man1/ombral-scan.1.gz \
            ./usr/share/applications/ombral.desktop ./usr/share/icons/hicolor/48x48/apps/ombral.png \
            ./usr/include/znwidgets/ZnProgressDlg.h ./usr/lib/cmake/ZnWidgets/ZnWidgetsConfig.cmake \
            ./usr/lib/pkgconfig/zncore.pc ./usr/lib/libzncore.so.1 \
            ./usr/share/doc/ombral/html/index.html ./usr/lib/systemd/system/ombral-scan@.service \
            ./usr/lib/systemd/system/ombral-scan@.timer ./usr/share/bash-completion/completions/ombral-scan \
            ./usr/share/zsh/vendor-completions/_ombral-scan ./usr/share/fish/vendor_completions.d/ombral-scan.fish \
            ./usr/share/metainfo/example.tessalyworks.Ombral.metainfo.xml; do
  grep -q " $path\( \|$\)" "$work/contents.txt" || fail "the package lacks $path"
done

step "unpacked package"
dpkg-deb -x "$deb" "$work/root"
grep -q '^ExecStart=/usr/bin/ombral-scan ' "$work/root/usr/lib/systemd/system/ombral-scan@.service" ||
  fail "the service does not start /usr/bin/ombral-scan"
version="$("$work/root/usr/bin/ombral-scan" --version)"
echo "$version"
[[ "$version" == "ombral-scan "* ]] || fail "ombral-scan --version said: $version"
cp -R "$root/samples/gallery" "$work/"
"$work/root/usr/bin/ombral-scan" --quiet "$work/gallery"
[ -s "$work/gallery/_FileIndexFrame.html" ] || fail "the unpacked ombral-scan wrote no frameset page"

if command -v apt-get > /dev/null; then
  step "apt would install it"
  apt-get install --simulate --no-install-recommends "$deb" > "$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt cannot install the package"; }
  grep -E '^(Inst|Conf) ombral' "$work/apt.log" || true
fi
echo "check-install: all good"
