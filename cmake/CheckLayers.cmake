cmake_minimum_required(VERSION 3.25)

# Fails the build when a file of the sources includes against their direction: a layer
# includes only itself and the layers it stands on, and inside a layer each feature folder
# only the folders of lower levels, never one beside it on its own level. So no two folders
# depend on each other, and each can be read and tested without the ones above it. A new
# folder is given its level here before it may hold code.
#
# SOURCE_DIR: the folder that holds the layers (src, or a test's planted tree).

# The layers each layer may include besides itself.
set(uses_core "")
set(uses_sim "core")
set(uses_xcb "")
set(uses_picture "")
set(uses_ui "core;xcb;picture")
set(uses_linux "core;xcb;picture")
set(uses_app "core;xcb;picture;ui;linux")
set(uses_reader "picture")
set(layers core sim xcb picture ui linux reader app)

# The feature folders of a layer that has them, from the ground up; folders named on one
# line share a level. A layer without a list keeps its files in its own folder.
set(levels_core
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
set(levels_ui
  "foundation"
  "model"
  "windows"
  "tiles"
  "dock"
  "palettes workspace"
  "settings"
  # The status item and the windows of the shell, Settings' among them.
  "shell")
set(levels_linux
  "i18n icu qt dbus"
  # Processes are started in the interface language.
  "process"
  "freedesktop"
  # Matches windows to the desktop entries of freedesktop.
  "x11")

foreach(layer IN LISTS layers)
  set(rank 0)
  foreach(level IN LISTS levels_${layer})
    string(REPLACE " " ";" folders "${level}")
    foreach(folder IN LISTS folders)
      set(rank_${layer}_${folder} ${rank})
    endforeach()
    math(EXPR rank "${rank} + 1")
  endforeach()
endforeach()

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
list(JOIN layers "|" layer_pattern)
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(offenders "")
foreach(rel IN LISTS files)
  string(REGEX MATCH "^[^/]+" layer "${rel}")
  if(NOT layer IN_LIST layers)
    list(APPEND offenders "  ${rel}: '${layer}' is no layer of cmake/CheckLayers.cmake")
    continue()
  endif()
  set(folder "")
  if(levels_${layer})
    string(REGEX MATCH "^[^/]+/[^/]+/" nested "${rel}")
    if(NOT nested)
      list(APPEND offenders "  ${rel}: a file of ${layer} belongs in a feature folder")
      continue()
    endif()
    string(REGEX REPLACE "^[^/]+/([^/]+)/.*$" "\\1" folder "${rel}")
    if(NOT DEFINED rank_${layer}_${folder})
      list(APPEND offenders "  ${rel}: the folder '${layer}/${folder}' has no level in cmake/CheckLayers.cmake")
      continue()
    endif()
  endif()
  # Every include, of either form, counts where the compiler finds it: a quoted one first
  # beside the including file (so "../" cannot step around the rules), then either below
  # the sources, which are on the include path. One found nowhere there is not ours (the
  # system's, Qt's, a generated file).
  file(STRINGS "${SOURCE_DIR}/${rel}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  get_filename_component(here "${SOURCE_DIR}/${rel}" DIRECTORY)
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "include[ \t]*([<\"])([^>\"]+)[>\"]")
      continue()
    endif()
    set(written "${CMAKE_MATCH_2}")
    if(CMAKE_MATCH_1 STREQUAL "\"" AND EXISTS "${here}/${written}")
      set(base "${here}")
    elseif(EXISTS "${SOURCE_DIR}/${written}")
      set(base "${SOURCE_DIR}")
    else()
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH written BASE_DIRECTORY "${base}" NORMALIZE OUTPUT_VARIABLE found)
    file(RELATIVE_PATH to_rel "${SOURCE_DIR}" "${found}")
    string(REGEX MATCH "^[^/]+" to_layer "${to_rel}")
    if(NOT to_layer IN_LIST layers)
      list(APPEND offenders "  ${rel}: includes ${to_rel}, outside the layers (${line})")
      continue()
    endif()
    if(NOT to_layer STREQUAL layer)
      if(NOT to_layer IN_LIST uses_${layer})
        list(APPEND offenders "  ${rel}: ${layer} may not include ${to_layer} (${line})")
      endif()
      continue()
    endif()
    if(NOT folder)
      continue()
    endif()
    string(REGEX REPLACE "^[^/]+/([^/]+)/.*$" "\\1" to "${to_rel}")
    if(to STREQUAL folder)
      continue()
    endif()
    if(NOT DEFINED rank_${layer}_${to})
      list(APPEND offenders "  ${rel}: includes the unknown folder '${layer}/${to}'")
    elseif(NOT rank_${layer}_${to} LESS rank_${layer}_${folder})
      list(APPEND offenders "  ${rel}: ${layer}/${folder} may not include ${layer}/${to} (${line})")
    endif()
  endforeach()
endforeach()

if(offenders)
  set(order "")
  foreach(layer IN LISTS layers)
    if(uses_${layer})
      list(JOIN uses_${layer} ", " used)
    else()
      set(used "nothing else")
    endif()
    list(APPEND order "  ${layer} includes ${used}")
    if(levels_${layer})
      list(JOIN levels_${layer} " < " levels)
      list(APPEND order "    its folders include only folders below them: ${levels}")
    endif()
  endforeach()
  list(JOIN offenders "\n" text)
  list(JOIN order "\n" rules)
  message(FATAL_ERROR "Includes against the direction of the sources:\n${text}\n"
                      "The rules:\n${rules}\n"
                      "Move what both sides need into the lower folder, or hand it down through an interface there.")
endif()
