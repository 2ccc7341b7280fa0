cmake_minimum_required(VERSION 3.25)

# Fails the build when a file of the sources sends a signal itself. Every signal goes through
# IdentifiedProcess (linux/process), which reaches only a process of our user that it
# identified and that still runs as identified, and every probe through processExists
# (core/foundation/ProcessId), which only asks; so no id read from outside reaches a process
# group, every process, init, or a process that took the id of one that ended.
#
# Each file is read whole, whatever its suffix, with its comments, string and character
# literals and include lines taken out; then every name that sends a signal counts wherever
# it stands (called, parenthesised, taken by address, its call on the next line), and so
# does every `syscall` but one whose first argument is a named call that sends none.
#
# SOURCE_DIR: the folder that holds the layers (src, or a test's planted tree).

set(gateways "core/foundation/ProcessId.cpp" "linux/process/IdentifiedProcess.cpp")
set(word "[A-Za-z0-9_]")
set(not_word "[^A-Za-z0-9_]")
set(senders "kill|killpg|tkill|tgkill|sigqueue|pidfd_send_signal|g_subprocess_send_signal|g_subprocess_force_exit")
set(calls "(SYS|__NR)_(kill|tkill|tgkill|pidfd_send_signal|rt_sigqueueinfo|rt_tgsigqueueinfo)")
set(sends "(^|${not_word})(${senders}|${calls}|syscall)(${not_word}|$)")
# What the compiler never reads as names: comments, literals, a digit separator (1'000)
# and the file names of includes. The leftmost match wins, so a quote in a comment or a
# comment's slashes in a string are taken as what they stand in.
set(not_code
  "\"([^\"\\\\\n]|\\\\.)*\"|'([^'\\\\\n]|\\\\.)*'|//[^\n]*|/\\*([^*]|\\*+[^*/])*\\*+/|[0-9]'[0-9]|#[ \t]*include[^\n]*")

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
set(offenders "")
foreach(rel IN LISTS files)
  if(rel IN_LIST gateways OR rel MATCHES "(^|/)CMakeLists\\.txt$|\\.cmake$")
    continue()
  endif()
  file(READ "${SOURCE_DIR}/${rel}" code)
  if(NOT code MATCHES "${sends}")
    continue()
  endif()
  string(REGEX REPLACE "${not_code}" " " code "${code}")
  # A call named by its number, such as syscall(SYS_pidfd_open, ...), sends no signal unless
  # the number is one of `calls`, which count by themselves: it is renamed while the file is
  # searched, and its name given back for the report.
  string(REGEX REPLACE "(^|${not_word})syscall([ \t\r\n]*\\([ \t\r\n]*(SYS|__NR)_)" "\\1syscall_by_name\\2" code "${code}")
  # Each statement that sends, from the start of its line, on one line; a space before each
  # statement's end lets a name end without taking it.
  string(REGEX REPLACE "([;{}])" " \\1" code "${code}")
  string(REGEX MATCHALL "[^;{}\n]*${sends}[^;{}]*" found "${code}")
  foreach(statement IN LISTS found)
    string(REPLACE "syscall_by_name" "syscall" statement "${statement}")
    string(REGEX REPLACE "[ \t\r\n]+" " " statement "${statement}")
    string(STRIP "${statement}" statement)
    list(APPEND offenders "  ${rel}: ${statement}")
  endforeach()
endforeach()

if(offenders)
  list(JOIN offenders "\n" text)
  message(FATAL_ERROR "Signals sent outside IdentifiedProcess and processExists:\n${text}\n"
                      "Identify the process with IdentifiedProcess::of and signal it through that, or ask "
                      "processExists whether it runs.")
endif()
