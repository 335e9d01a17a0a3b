# Installs the build into a scratch prefix and checks that the tree holds what a desktop
# program needs: the program with its Resources folder and plugin beside it, a launcher
# that reaches the program, the menu entry and its icon, the file type it opens, its
# AppStream data, manual page and copyright.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_DIR=... -DEXPECT_PROGRAM=ON|OFF
#         -DEXPECT_PLUGIN=1|0 -DEXPECT_CHART=1|0 -P CheckInstallTree.cmake

cmake_minimum_required(VERSION 3.22)

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

function(expect path)
  if(NOT EXISTS "${PREFIX}/${path}")
    message(FATAL_ERROR "missing from the installed tree: ${path}")
  endif()
endfunction()

expect("${APP_DIR}/Resources/ЗорбаЛИТ.mht")
expect("share/applications/izolcalc.desktop")
expect("share/icons/hicolor/scalable/apps/izolcalc.svg")
expect("share/icons/hicolor/48x48/apps/izolcalc.png")
expect("bin/izolcalc")
expect("share/mime/packages/izolcalc.xml")
expect("share/doc/izolcalc/copyright")
file(GLOB metainfo "${PREFIX}/share/metainfo/*.metainfo.xml")
if(NOT metainfo)
  message(FATAL_ERROR "missing from the installed tree: the AppStream metainfo")
endif()
if(EXPECT_PROGRAM)
  expect("${APP_DIR}/izolcalc")
  expect("share/man/man1/izolcalc.1.gz")
endif()
if(EXPECT_PLUGIN)
  file(GLOB plugin "${PREFIX}/${APP_DIR}/plugins/izolcalc_referenceviewer.*")
  if(NOT plugin)
    message(FATAL_ERROR "missing from the installed tree: the reference viewer plugin")
  endif()
endif()
if(EXPECT_CHART)
  file(GLOB plugin "${PREFIX}/${APP_DIR}/plugins/izolcalc_analysischart.*")
  if(NOT plugin)
    message(FATAL_ERROR "missing from the installed tree: the analysis chart plugin")
  endif()
endif()

# The menu entry starts the launcher by name and shows the installed icon.
file(STRINGS "${PREFIX}/share/applications/izolcalc.desktop" entry)
foreach(line IN ITEMS "Exec=izolcalc %F" "Icon=izolcalc" "Type=Application")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "the desktop entry lacks ${line}")
  endif()
endforeach()

# The launcher is executable and names the program by a path that exists from bin/.
file(READ "${PREFIX}/bin/izolcalc" launcher)
if(NOT launcher MATCHES "exec \"\\$here/([^\"]+)\"")
  message(FATAL_ERROR "the launcher does not start the program:\n${launcher}")
endif()
set(target "${CMAKE_MATCH_1}")
if(EXPECT_PROGRAM AND NOT EXISTS "${PREFIX}/bin/${target}")
  message(FATAL_ERROR "the launcher points at ${target}, which is not installed")
endif()
if(NOT target STREQUAL "../${APP_DIR}/izolcalc")
  message(FATAL_ERROR "the launcher points at ${target}")
endif()
if(NOT CMAKE_HOST_WIN32)
  execute_process(COMMAND test -x "${PREFIX}/bin/izolcalc" RESULT_VARIABLE not_executable)
  if(not_executable)
    message(FATAL_ERROR "the launcher is not executable")
  endif()
endif()
