cmake_minimum_required(VERSION 3.25)

# Fails the link of a target of the sources when one of its objects reaches, in whatever way
# its text spells it (through a macro, a name pasted together, a template of a library's
# header), what starts, signals or ends a process, outside the files listed below for it, or
# what starts a thread of Qt's or GLib's, anywhere. It reads what each object asks the linker
# for (`nm --undefined-only`), a weak reference as much as a strong one, so a name looked up at
# run time would escape it: dlsym and its kin, which look one up, are refused too.
#
# Signals: the only one the program sends goes to a process it started and holds by its pidfd
# (linux/process/ChildProcess), never to one that the X server, a window or /proc names.
# Processes: started by linux/process/LinuxProcesses alone, and through GIO's launch of desktop
# entries and of URLs by linux/freedesktop/LinuxLauncher, whose children ChildProcess holds. The
# program's own picture reader is started through LinuxProcesses by its owner alone,
# linux/process/PictureReaderProcess, which alone ends it, through its pidfd; the reader
# itself (src/reader) starts and signals nothing.
# QProcess starts, signals and ends programs of its own, some through virtual calls (open,
# close) that may name nothing of their own in the caller, so any use of the class is refused.
# libdbus and GDBus start dbus-launch inside the shared libraries, past this check, where no
# session bus is set or found: main sets an address that neither can open
# (linux/dbus/SessionBusAutolaunch).
# Threads: ThreadSanitizer's set-up leaves what runs on the library's own threads unchecked,
# so none of our code may run there.
#
# Deliberate evasions are not caught: inline assembly, glibc's internal aliases (`__libc_`),
# a request to another process that starts one (D-Bus activation, a portal). What names a
# process to receive a descriptor's signals is a number the linker never sees, so
# cmake/CheckSignals.cmake looks for it in the text.
#
# OBJECTS: the target's objects, joined by "|"; FOLDER: the folder of src they are built from
# ("linux"), none for a planted tree, whose objects' paths name it; NM: the nm to use.

# Each rule: why its names are refused, then the names, as one pattern.
set(rules
  "sends a signal|kill|killpg|tkill|tgkill|sigqueue|pidfd_send_signal|ptrace"
  "starts a process|fork|vfork|_Fork|clone|forkpty|daemon|execl|execle|execlp|execv|execve|execvp|execvpe|fexecve|execveat|posix_spawn.*|pidfd_spawnp?|system|popen|wordexp|g_spawn_.*|g_subprocess_.*"
  "starts a program through GIO or the desktop's services|g_app_info_launch.*|g_app_info_create_from_commandline|g_desktop_app_info_launch.*|QDesktopServices::openUrl\\(.*"
  "ends an X client|xcb_kill_client.*|XKillClient"
  "starts a helper of the program's own|quillbern::LinuxProcesses::startHanding\\(.*"
  "uses QProcess, which starts, signals and ends programs of its own|(.*[^A-Za-z0-9_])?QProcess([^A-Za-z0-9_].*)?"
  "calls by number or looks a name up at run time, past this check|syscall|dlsym|dlvsym|QLibrary::resolve\\(.*|g_module_symbol"
  "starts a thread of the library's, where ThreadSanitizer checks nothing|QThread::(start|createThreadImpl)\\(.*|QThreadPool::(start|tryStart|startOnReservedThread)\\(.*|QtConcurrent::.*|g_thread_(new|try_new|create|create_full)|g_thread_pool_new.*|g_task_run_in_thread.*")
# What may start, signal or end a process: the only files that reach any of it, each with what
# it alone may reach.
set(owners
  "linux/process/ChildProcess.cpp|pidfd_send_signal"
  "linux/process/LinuxProcesses.cpp|posix_spawn.*"
  "linux/process/PictureReaderProcess.cpp|quillbern::LinuxProcesses::startHanding\\(.*"
  "linux/freedesktop/LinuxLauncher.cpp|g_desktop_app_info_launch_uris_as_manager|g_app_info_launch_default_for_uri")

string(REPLACE "|" ";" objects "${OBJECTS}")
execute_process(COMMAND ${NM} --undefined-only --demangle ${objects}
  OUTPUT_VARIABLE listing RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm could not read the objects: ${errors}")
endif()
# With one object nm names none: it is the only one.
list(LENGTH objects count)
if(count EQUAL 1)
  set(listing "\n${objects}:\n${listing}")
endif()

# Each rule's reason and names apart, and all the names as one pattern, which keeps of the
# listing only the objects' names and the few references refused somewhere, before they are
# looked at one by one.
set(reasons "")
set(patterns "")
foreach(rule IN LISTS rules)
  string(REGEX MATCH "^([^|]*)\\|(.*)$" rule "${rule}")
  list(APPEND reasons "${CMAKE_MATCH_1}")
  list(APPEND patterns "${CMAKE_MATCH_2}")
endforeach()
list(JOIN patterns "|" refused)
# Brackets and semicolons would join or split the lines as a list; no refused name holds one.
string(REGEX REPLACE "[][;]" "_" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
# A reference is U, or w or v when weak: that one links whether or not the name is there, and
# calls it when it is.
list(FILTER lines INCLUDE REGEX "^.+\\.o:$|^ +[Uwv] (${refused})(@.*)?$")

set(offenders "")
set(shown "")
foreach(line IN LISTS lines)
  if(line MATCHES "^(.+\\.o):$")
    # The source's path: what follows the target's folder of objects, its ".o" taken off.
    string(REGEX REPLACE "^.*/CMakeFiles/[^/]+\\.dir/(\\./)?" "" shown "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "\\.o$" "" shown "${shown}")
    if(FOLDER)
      set(shown "${FOLDER}/${shown}")
    endif()
    continue()
  endif()
  string(REGEX MATCH "^ +([Uwv]) ([^@]+)" line "${line}")
  set(name "${CMAKE_MATCH_2}")
  set(how "")
  if(NOT CMAKE_MATCH_1 STREQUAL "U")
    set(how ", through a weak reference")
  endif()
  set(reason "")
  foreach(rule_reason pattern IN ZIP_LISTS reasons patterns)
    if(name MATCHES "^(${pattern})$")
      set(reason "${rule_reason}")
      break()
    endif()
  endforeach()
  set(allowed FALSE)
  foreach(owner IN LISTS owners)
    string(REGEX MATCH "^([^|]*)\\|(.*)$" owner "${owner}")
    if(shown STREQUAL CMAKE_MATCH_1 AND name MATCHES "^(${CMAKE_MATCH_2})$")
      set(allowed TRUE)
    endif()
  endforeach()
  if(NOT allowed)
    list(APPEND offenders "  ${shown}: ${name} (${reason}${how})")
  endif()
endforeach()

if(offenders)
  list(JOIN offenders "\n" text)
  message(FATAL_ERROR "Calls refused outside the files that own processes:\n${text}\n"
                      "Only the files listed as owners in cmake/CheckLinks.cmake may start, signal or end a process, "
                      "each only through what is listed beside it: start one through LinuxProcesses or the launcher, "
                      "and signal or end one only through its ChildProcess. No code of ours may run on a thread of "
                      "Qt's or GLib's.")
endif()
