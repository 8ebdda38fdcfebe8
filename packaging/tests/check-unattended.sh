#!/usr/bin/env bash
# Checks what Ombral brings for unattended runs and for the desktop:
#   packaging/tests/check-unattended.sh OMBRAL_SCAN SOURCE_DIR
# - the systemd service and timer (an instance for /tmp/x, ExecStart
#   pointing at this build's ombral-scan) pass `systemd-analyze verify`
#   without a word;
# - the bash completion is loaded by bash and offers every option --help
#   names;
# - the AppStream metainfo passes `appstreamcli validate`.
# Exit 77 (skipped) when systemd-analyze, appstreamcli or bash is missing.
set -euo pipefail
scanner=${1:?ombral-scan binary}
source_dir=${2:?source folder}
packaging="$source_dir/packaging"
for tool in systemd-analyze appstreamcli bash; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed (make deps installs it)."; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "check-unattended: $*" >&2; exit 1; }

sed "s|@OMBRAL_SCAN_PROGRAM@|$scanner|" "$packaging/systemd/ombral-scan@.service.in" > "$work/ombral-scan@tmp-x.service"
cp "$packaging/systemd/ombral-scan@.timer" "$work/ombral-scan@tmp-x.timer"
said=$(systemd-analyze verify --man=no "$work/ombral-scan@tmp-x.service" "$work/ombral-scan@tmp-x.timer" 2>&1) ||
  fail "systemd-analyze verify failed: $said"
[ -z "$said" ] || fail "systemd-analyze verify says: $said"

options=$("$scanner" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
offered=$(bash -c 'source "$1"; complete -p ombral-scan >/dev/null || exit 1
  COMP_WORDS=(ombral-scan --); COMP_CWORD=1; _ombral_scan; printf "%s\n" "${COMPREPLY[@]}"' _ \
  "$packaging/completions/ombral-scan.bash") || fail "bash does not load the completion"
for option in $options; do
  grep -qx -- "$option=\?" <<< "$offered" || fail "the bash completion does not offer $option"
done
for option in $options; do
  grep -q -- "$option[=[]" "$packaging/completions/_ombral-scan" || fail "the zsh completion does not offer $option"
  grep -q -- "-l ${option#--} " "$packaging/completions/ombral-scan.fish" || fail "the fish completion does not offer $option"
done

sed "s/@PROJECT_VERSION@/1.0.0/" "$packaging/example.tessalyworks.Ombral.metainfo.xml" > "$work/example.tessalyworks.Ombral.metainfo.xml"
appstreamcli validate --no-net "$work/example.tessalyworks.Ombral.metainfo.xml" || fail "appstreamcli validate"
echo "systemd units, completions and AppStream metainfo: fine"
