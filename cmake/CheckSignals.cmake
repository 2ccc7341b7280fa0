cmake_minimum_required(VERSION 3.25)

# Fails the build when a file of the sources sends a signal itself. Every signal goes through
# IdentifiedProcess (linux/process), which reaches only a process of our user that it
# identified and that still runs as identified, and every probe through processExists
# (core/foundation/ProcessId), which only asks; so no id read from outside reaches a process
# group, every process, init, or a process that took the id of one that ended.
#
# SOURCE_DIR: the folder that holds the layers (src, or a test's planted tree).

set(gateways "core/foundation/ProcessId.cpp" "linux/process/IdentifiedProcess.cpp")
set(senders "(^|[^A-Za-z0-9_])(kill|killpg|tkill|tgkill|sigqueue|pidfd_send_signal)[ \t]*\\(")
set(numbers "SYS_(kill|tkill|tgkill|pidfd_send_signal|rt_sigqueueinfo|rt_tgsigqueueinfo)([^A-Za-z0-9_]|$)")

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(offenders "")
foreach(rel IN LISTS files)
  if(rel IN_LIST gateways)
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${rel}" lines REGEX "${senders}|${numbers}")
  # A line's semicolons split it into several items here; each that calls counts.
  foreach(line IN LISTS lines)
    if(line MATCHES "${senders}|${numbers}" AND NOT line MATCHES "^[ \t]*//")
      string(STRIP "${line}" line)
      list(APPEND offenders "  ${rel}: ${line}")
    endif()
  endforeach()
endforeach()

if(offenders)
  list(JOIN offenders "\n" text)
  message(FATAL_ERROR "Signals sent outside IdentifiedProcess and processExists:\n${text}\n"
                      "Identify the process with IdentifiedProcess::of and signal it through that, or ask "
                      "processExists whether it runs.")
endif()
