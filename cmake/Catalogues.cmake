# Each po/<language>.po, its formats and header checked, compiled into the build tree's
# locale/<language>/LC_MESSAGES/quillbern.mo, where the program run from the build tree
# finds it, and installed in the XDG place under the prefix.
find_program(QUILLBERN_MSGFMT msgfmt REQUIRED)

# quillbern_catalogue(PO FOLDER): compiles PO into FOLDER/<language>/LC_MESSAGES/quillbern.mo
# and sets <language>_catalogue to that file in the caller.
function(quillbern_catalogue po folder)
  get_filename_component(language ${po} NAME_WE)
  set(mo ${folder}/${language}/LC_MESSAGES/quillbern.mo)
  add_custom_command(OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}/${language}/LC_MESSAGES
    COMMAND ${QUILLBERN_MSGFMT} --check -o ${mo} ${po}
    DEPENDS ${po}
    COMMENT "Compiling the ${language} catalogue"
    VERBATIM)
  set(${language}_catalogue ${mo} PARENT_SCOPE)
endfunction()

file(GLOB QUILLBERN_PO_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/*.po)
set(QUILLBERN_CATALOGUES "")
foreach(po IN LISTS QUILLBERN_PO_FILES)
  get_filename_component(language ${po} NAME_WE)
  quillbern_catalogue(${po} ${PROJECT_BINARY_DIR}/locale)
  list(APPEND QUILLBERN_CATALOGUES ${${language}_catalogue})
  install(FILES ${${language}_catalogue} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${language}/LC_MESSAGES)
endforeach()
add_custom_target(quillbern_catalogues ALL DEPENDS ${QUILLBERN_CATALOGUES})
add_dependencies(quillbern quillbern_catalogues)
