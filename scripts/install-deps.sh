#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# but only those that are missing, so a second run costs a second.
set -euo pipefail

packages=(
  # build
  cmake make g++ pkg-config clang libclang-rt-14-dev clang-format
  # the font configuration, read ahead at start-up
  libfontconfig-dev
  # the sanitizers' reports with function names and lines (llvm-symbolizer)
  llvm
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # Qt 6: widgets, printing, SVG pictures, the reference viewer, Russian dialog texts,
  # the chart of the thickness analysis
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev qt6-webengine-dev
  qt6-charts-dev
  qt6-translations-l10n
  # fonts with complete Cyrillic in place of the classic Windows faces
  fonts-liberation2 fonts-dejavu-core
  # windows without a display, screenshots, reading back rendered reports; the MIME
  # database that the schedule file's type is tested in
  xvfb xauth imagemagick poppler-utils shared-mime-info
  # the Debian package of the program, and the checks a distribution makes of it
  dpkg-dev fakeroot file lintian appstream desktop-file-utils
  # the web page: emscripten (with acorn for its optimizer), node for its tests, which
  # drive Debian's Chromium
  emscripten node-acorn nodejs chromium
)
# A node from elsewhere (NodeSource) brings its own npm, which Debian's would conflict with.
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Устанавливаются пакеты / installing packages: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null; then
    sudo=(sudo)
  else
    echo "Нет прав для установки пакетов. Выполните от имени root: apt-get install ${missing[*]}" >&2
    echo "Cannot install packages without root. Run as root: apt-get install ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
if ! { "${sudo[@]}" apt-get update -qq && "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; }; then
  echo "Не удалось установить пакеты: ${missing[*]}" >&2
  echo "Could not install packages: ${missing[*]}" >&2
  exit 1
fi
