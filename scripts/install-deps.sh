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
  # the users' locale, ru_RU.UTF-8, that the tests run under besides C.UTF-8
  locales
)
# A node from elsewhere (NodeSource) brings its own npm, which Debian's would conflict with.
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$p")
done

# What installs and generates needs root: sudo where there is one.
as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "Нет прав root. Выполните от имени root / no root rights; run as root: $*" >&2
    exit 1
  fi
}

install_missing() {
  echo "Устанавливаются пакеты / installing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! { as_root apt-get update -qq &&
    as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"; }; then
    echo "Не удалось установить пакеты: ${missing[*]}" >&2
    echo "Could not install packages: ${missing[*]}" >&2
    exit 1
  fi
}

# The oldest versions the build and the tests are known to work with. Node.js: what
# web/package.json asks for (playwright-core 1.61 and `node --test --test-concurrency`).
# Chromium: the oldest that playwright-core's protocol was proven against, Debian 12's
# first (150). Emscripten: Debian 12's own, whose gaps web/compat/ fills.
min_node=$(sed -n 's/.*"node": ">=\([0-9.]*\)".*/\1/p' "$(dirname "$0")/../web/package.json")
min_chromium=150
min_emscripten=3.1.6

# Prints the first dotted number of a command's version line, or nothing.
version_of() {
  "$@" 2>/dev/null | grep -o -m1 '[0-9]\+\(\.[0-9]\+\)\+' | head -n1 || true
}

# at_least HAVE NEED: HAVE is NEED or newer.
at_least() {
  [[ $(printf '%s\n%s\n' "$2" "$1" | sort -V | head -n1) == "$2" ]]
}

check_versions() {
  local too_old=() name have need
  while read -r name need; do
    case $name in
      Node.js) have=$(version_of node --version) ;;
      Chromium) have=$(version_of chromium --version) ;;
      emscripten) have=$(version_of emcc --version) ;;
    esac
    if [[ -z $have ]]; then
      too_old+=("$name: версия не определена / version unknown (нужна / needed $need)")
    elif ! at_least "$have" "$need"; then
      too_old+=("$name $have: слишком стар, нужна $need или новее / too old, needs $need or newer")
    fi
  done <<<"Node.js $min_node
Chromium $min_chromium
emscripten $min_emscripten"
  if [[ ${#too_old[@]} -gt 0 ]]; then
    printf '%s\n' "${too_old[@]}" >&2
    echo "Обновите эти программы и повторите / update these and try again" >&2
    exit 1
  fi
}

# The users' locale, generated as Debian does it: enabled in /etc/locale.gen, then built.
generate_russian_locale() {
  locale -a 2>/dev/null | grep -qix 'ru_RU.utf8' && return 0
  echo "Создаётся локаль / generating the locale ru_RU.UTF-8"
  as_root sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
  if ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then
    echo "Не удалось создать локаль ru_RU.UTF-8 / could not generate ru_RU.UTF-8" >&2
    exit 1
  fi
}

[[ ${#missing[@]} -eq 0 ]] || install_missing
generate_russian_locale
check_versions
