# Fails when clang-format would change a source file of the project, naming each one.
# Run as: cmake -DCLANG_FORMAT=... -DSOURCE_DIR=... -P CheckFormatting.cmake
set(folders app bench engine files fonts plugins reportengine reportpreview reports reporttemplate resources/tools
            schedule tests utf8text web/bindings web/compat web/native widgets workflow)
set(files)
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE found "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
  list(APPEND files ${found})
endforeach()
set(unformatted)
foreach(f IN LISTS files)
  execute_process(COMMAND "${CLANG_FORMAT}" --dry-run -Werror "${f}"
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(NOT result EQUAL 0)
    list(APPEND unformatted "${f}")
  endif()
endforeach()
list(LENGTH files count)
if(unformatted)
  list(JOIN unformatted "\n  " names)
  message(FATAL_ERROR "clang-format would change these files (run clang-format -i):\n  ${names}")
endif()
message(STATUS "${count} files formatted as .clang-format asks")
