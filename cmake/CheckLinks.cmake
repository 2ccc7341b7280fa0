cmake_minimum_required(VERSION 3.25)

# Fails the link of a target of the sources when one of its objects calls, in whatever way its
# text spells it (through a macro, a name pasted together, a template of a library's header),
# what sends a signal, starts a process or starts a thread of Qt's or GLib's, outside the
# files that own children. It reads what each object asks the linker for
# (`nm --undefined-only`), so only a name looked up at run time escapes it, and dlsym, which
# looks one up, is refused too.
#
# Signals: the only one the program sends goes to a process it started and holds by its pidfd
# (linux/process/ChildProcess), never to one that the X server, a window or /proc names.
# Processes: started by linux/process/LinuxProcesses alone, and through GIO's launch of desktop
# entries (linux/freedesktop/LinuxLauncher), whose children ChildProcess holds.
# Threads: ThreadSanitizer's set-up leaves what runs on the library's own threads unchecked,
# so none of our code may run there.
#
# OBJECTS: the target's objects, joined by "|"; FOLDER: the folder of src they are built from
# ("linux"), none for a planted tree, whose objects' paths name it; NM: the nm to use.

set(signals "kill|killpg|tkill|tgkill|sigqueue|pidfd_send_signal|syscall|ptrace|dlsym|dlvsym")
set(processes
  "execl|execle|execlp|execv|execve|execvp|execvpe|fexecve|execveat|posix_spawn.*|system|popen|g_spawn_.*|g_subprocess_.*|QProcess::(start|startDetached|startCommand|execute|terminate|kill)\\(.*")
set(threads
  "QThread::(start|createThreadImpl)\\(.*|QThreadPool::(start|tryStart|startOnReservedThread)\\(.*|QtConcurrent::.*|g_thread_(new|try_new|create|create_full)|g_thread_pool_new.*|g_task_run_in_thread.*")
# Each file that owns children and what it alone may call.
set(owners
  "linux/process/ChildProcess.cpp|pidfd_send_signal"
  "linux/process/LinuxProcesses.cpp|posix_spawn.*")

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

# Brackets and semicolons would join or split the lines as a list; no refused name holds one.
string(REGEX REPLACE "[][;]" "_" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
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
  if(NOT line MATCHES "^ +U (.+)$")
    continue()
  endif()
  set(name "${CMAKE_MATCH_1}")
  if(name MATCHES "^(${signals})(@.*)?$")
    set(reason "sends a signal")
  elseif(name MATCHES "^(${processes})(@.*)?$")
    set(reason "starts a process")
  elseif(name MATCHES "^(${threads})(@.*)?$")
    set(reason "starts a thread of the library's, where ThreadSanitizer checks nothing")
  else()
    continue()
  endif()
  set(allowed FALSE)
  foreach(owner IN LISTS owners)
    string(REPLACE "|" ";" owner "${owner}")
    list(GET owner 0 file)
    list(GET owner 1 calls)
    if(shown STREQUAL file AND name MATCHES "^(${calls})$")
      set(allowed TRUE)
    endif()
  endforeach()
  if(NOT allowed)
    list(APPEND offenders "  ${shown}: ${name} (${reason})")
  endif()
endforeach()

if(offenders)
  list(JOIN offenders "\n" text)
  message(FATAL_ERROR "Calls refused outside the files that own children:\n${text}\n"
                      "Start a process through LinuxProcesses or the launcher, signal only one of them through its "
                      "ChildProcess, and run no code of ours on a thread of Qt's or GLib's.")
endif()
