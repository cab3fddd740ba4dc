# Writes zelgen's manual page (roff) from the tool's own help texts, so that the page says
# what `zelgen --help` and `zelgen COMMAND --help` say:
#   cmake -DZELGEN=path/to/zelgen -DVERSION=x.y.z -DOUTPUT=zelgen.1 -P ZelManPage.cmake

function(help_of out)
  execute_process(COMMAND ${ZELGEN} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "zelgen ${ARGN} --help failed (${rc})")
  endif()
  # roff: a backslash is written \e; a line starting with . or ' would be a request.
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

help_of(overview)
string(REGEX MATCH "Subcommands:\n.*" listed "${overview}")
string(REGEX MATCHALL "\n  [a-z]+ " commands "${listed}")

set(page ".TH ZELGEN 1 \"\" \"zelgen ${VERSION}\" \"User Commands\"
.SH NAME
zelgen \\- turn creative looks (.cube 3D LUTs) into camera look files
.SH SYNOPSIS
.B zelgen
.I command
.RI [ options ]
.I files
.SH DESCRIPTION
.nf
${overview}.fi
")
foreach(command IN LISTS commands)
  string(STRIP "${command}" command)
  help_of(text ${command})
  string(TOUPPER "${command}" title)
  string(APPEND page ".SH \"ZELGEN ${title}\"\n.nf\n${text}.fi\n")
endforeach()
string(APPEND page ".SH ENVIRONMENT
.TP
.B SOURCE_DATE_EPOCH
Seconds since 1970-01-01 00:00:00 UTC: the time stamp of the look files
.B zelgen make
writes, read as UTC, unless
.B \\-\\-created
is given. Without either, the local time of the run.
")
file(WRITE ${OUTPUT} "${page}")
