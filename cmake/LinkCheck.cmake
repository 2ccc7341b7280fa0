# quillbern_check_links(TARGET FOLDER): before TARGET, built from src/FOLDER, links or is archived,
# cmake/CheckLinks.cmake reads what its objects call; a refused call fails the link.
function(quillbern_check_links target folder)
  add_custom_command(TARGET ${target} PRE_LINK
    COMMAND ${CMAKE_COMMAND} "-DOBJECTS=$<JOIN:$<TARGET_OBJECTS:${target}>,|>" -DFOLDER=${folder}
            -DNM=${CMAKE_NM} -P ${PROJECT_SOURCE_DIR}/cmake/CheckLinks.cmake
    COMMENT "Checking what the objects of src/${folder} call"
    VERBATIM)
  # For the ctest case that checks them again, with the rule as it stands then.
  set_property(GLOBAL APPEND PROPERTY QUILLBERN_LINK_CHECKED "${target}|${folder}")
endfunction()
