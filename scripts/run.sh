#!/usr/bin/env bash
# Starts the built program; says what to do where it cannot start.
set -euo pipefail
build=${1:-build}
exe="$build/bin/izolcalc"
if [[ ! -x $exe ]]; then
  echo "Окно программы ещё не собрано; расчётное ядро собрано и проверяется командой make test."
  echo "The window is not built yet; the calculation engine is built and checked by make test."
  exit 0
fi
if [[ -z ${DISPLAY:-}${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
  echo "Нет дисплея / no display: xvfb-run -a $exe"
  exit 0
fi
# The embedded browser refuses to start as root without this.
[[ $(id -u) -eq 0 ]] && export QTWEBENGINE_DISABLE_SANDBOX=1
exec "$exe"
