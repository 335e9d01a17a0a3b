#!/usr/bin/env bash
# Checks the Debian package as a distribution would: lintian finds no error and no warning,
# the AppStream data and the menu entry are valid, and the web engine, which only the
# reference viewer needs, is recommended rather than required.
set -euo pipefail
deb=${1:?usage: check-package.sh PACKAGE.deb}
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
failed=0
fail() { echo "check-package: $*" >&2; failed=1; }

# lintian refuses nothing for running as root, but says so on every run.
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2) ||
  fail "lintian reports errors or warnings"

# The metainfo itself, and the menu entry and icon it names, as installed.
metainfo=("$tree"/usr/share/metainfo/*.metainfo.xml)
[[ -f ${metainfo[0]} ]] || fail "no AppStream metainfo"
if ! report=$(appstreamcli validate-tree --no-net "$tree" 2>&1); then
  echo "$report" >&2
  fail "appstreamcli validate-tree fails"
fi

desktop-file-validate "$tree"/usr/share/applications/*.desktop ||
  fail "desktop-file-validate fails"

depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ $depends != *webengine* ]] || fail "the web engine is in Depends: $depends"
[[ $recommends == *libqt6webenginewidgets6* ]] ||
  fail "the web engine is not in Recommends: $recommends"
if readelf -d "$tree"/usr/lib/izolcalc/izolcalc | grep -qi 'NEEDED.*webengine'; then
  fail "the program itself links the web engine"
fi

if ((failed)); then exit 1; fi
echo "$(basename "$deb"): lintian, appstreamcli validate-tree, desktop-file-validate passed; web engine recommended"
