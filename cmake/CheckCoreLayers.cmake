# Fails the build when a core feature folder includes one above it, or one beside it on its
# own level: the folders stay free of cycles, so each can be read and tested without the
# ones above it. A folder may include its own files and those of every lower level.
# A new folder is placed here before it may hold code.
set(levels
  "foundation"
  "platform"
  "windows"
  "model"
  "tiles"
  "dock"
  "shortcuts"
  "palettes workspace"
  "shell"
  # Settings shows and changes what every other folder keeps; nothing includes it.
  "settings")

set(rank 0)
foreach(level IN LISTS levels)
  string(REPLACE " " ";" folders "${level}")
  foreach(folder IN LISTS folders)
    set(rank_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

get_filename_component(CORE_DIR "${CORE_DIR}" ABSOLUTE)
file(GLOB_RECURSE files RELATIVE "${CORE_DIR}" "${CORE_DIR}/*.h" "${CORE_DIR}/*.cpp")
set(offenders "")
foreach(rel IN LISTS files)
  string(REGEX MATCH "^[^/]+" from "${rel}")
  if(rel STREQUAL from)
    list(APPEND offenders "  ${rel}: a core file belongs in a feature folder")
    continue()
  endif()
  if(NOT DEFINED rank_${from})
    list(APPEND offenders "  ${rel}: the folder '${from}' has no level in cmake/CheckCoreLayers.cmake")
    continue()
  endif()
  file(STRINGS "${CORE_DIR}/${rel}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"core/")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[^\"]*\"core/([^/\"]+)/.*$" "\\1" to "${line}")
    if(to STREQUAL from)
      continue()
    endif()
    if(NOT DEFINED rank_${to})
      list(APPEND offenders "  ${rel}: includes the unknown folder '${to}'")
    elseif(NOT rank_${to} LESS rank_${from})
      list(APPEND offenders "  ${rel}: ${from} may not include ${to} (${line})")
    endif()
  endforeach()
endforeach()

if(offenders)
  list(JOIN offenders "\n" text)
  list(JOIN levels " < " order)
  message(FATAL_ERROR "src/core folders include only folders below them (${order}):\n${text}\n"
                      "Move what both sides need into the lower folder, or hand it down through an interface there.")
endif()
