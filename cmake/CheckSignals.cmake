cmake_minimum_required(VERSION 3.25)

# Fails the build when a file of the sources has the kernel signal a process for it: fcntl's
# F_SETOWN and F_SETOWN_EX, and ioctl's FIOSETOWN and SIOCSPGRP, which do the same for a file or
# a socket, name the process that a descriptor's SIGIO and SIGURG go to. Each is a number the
# linker never sees, and fcntl and ioctl are called for much else, so the names are looked for
# in the text. Every other way to signal is refused where the objects link
# (cmake/CheckLinks.cmake).
#
# Each file is read whole, whatever its suffix, with its comments, string and character
# literals and include lines taken out.
#
# SOURCE_DIR: the folder that holds the layers (src, or a test's planted tree).

set(not_word "[^A-Za-z0-9_]")
set(sends "(^|${not_word})(F_SETOWN|F_SETOWN_EX|FIOSETOWN|SIOCSPGRP)(${not_word}|$)")
# What the compiler never reads as names: comments, literals, a digit separator (1'000)
# and the file names of includes. The leftmost match wins, so a quote in a comment or a
# comment's slashes in a string are taken as what they stand in.
set(not_code
  "\"([^\"\\\\\n]|\\\\.)*\"|'([^'\\\\\n]|\\\\.)*'|//[^\n]*|/\\*([^*]|\\*+[^*/])*\\*+/|[0-9]'[0-9]|#[ \t]*include[^\n]*")

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
set(offenders "")
foreach(rel IN LISTS files)
  if(rel MATCHES "(^|/)CMakeLists\\.txt$|\\.cmake$")
    continue()
  endif()
  file(READ "${SOURCE_DIR}/${rel}" code)
  if(NOT code MATCHES "${sends}")
    continue()
  endif()
  string(REGEX REPLACE "${not_code}" " " code "${code}")
  # Each statement that names one, from the start of its line, on one line; a space before each
  # statement's end lets a name end without taking it.
  string(REGEX REPLACE "([;{}])" " \\1" code "${code}")
  string(REGEX MATCHALL "[^;{}\n]*${sends}[^;{}]*" found "${code}")
  foreach(statement IN LISTS found)
    string(REGEX REPLACE "[ \t\r\n]+" " " statement "${statement}")
    string(STRIP "${statement}" statement)
    list(APPEND offenders "  ${rel}: ${statement}")
  endforeach()
endforeach()

if(offenders)
  list(JOIN offenders "\n" text)
  message(FATAL_ERROR "A process named to receive a descriptor's signals:\n${text}\n"
                      "Nothing of the program may have a process signalled but through ChildProcess.")
endif()
