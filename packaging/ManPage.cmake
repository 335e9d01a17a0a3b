# The manual page: the program's own --help, so that the two never disagree.
#   cmake -DPROGRAM=... -DVERSION=... -DGZIP=... -DOUTPUT=.../izolcalc.1.gz -P ManPage.cmake

cmake_minimum_required(VERSION 3.22)

execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE usage RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed: ${result}")
endif()
# troff: a backslash is \e, a minus sign \-, a line may not start with a control character.
string(REPLACE "\\" "\\e" usage "${usage}")
string(REPLACE "-" "\\-" usage "${usage}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" usage "${usage}")

string(REGEX REPLACE "\\.gz$" "" page_file "${OUTPUT}")
file(WRITE "${page_file}" ".TH IZOLCALC 1 \"\" \"izolcalc ${VERSION}\" \"User Commands\"
.SH NAME
izolcalc \\- calculator of the thermal insulation thickness of pipelines and equipment
.SH SYNOPSIS
.B izolcalc
.RI [ file ...]
.br
.B izolcalc \\-\\-batch
.I IN.csv
.B \\-\\-out
.I OUT.csv
.RI [ options ]
.SH DESCRIPTION
.nf
${usage}.fi
")
# Without a name or a time in the header, the same page gives the same bytes.
execute_process(COMMAND "${GZIP}" -9nf "${page_file}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gzip failed: ${result}")
endif()
