# What `cmake --install` puts in place, in the XDG places under the prefix: the program, its
# picture reader (which only the program starts), its desktop entry (which also takes
# quillbern:// URLs) and its icon. `cpack -G DEB` packs the
# same into a Debian package under /usr, its library dependencies read from the program.
include(GNUInstallDirs)

install(TARGETS quillbern RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS quillbern-picture-reader RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/quillbern)
install(FILES ${PROJECT_SOURCE_DIR}/data/quillbern.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/quillbern.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME quillbern)
set(CPACK_PACKAGE_VENDOR Quillbern)
set(CPACK_PACKAGE_CONTACT "Quillbern maintainers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Docks of its own for every display")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillbern gives every display of an X11 desktop docks of its own: pinned applications, folders and the Trash, the running applications of that display, global shortcuts and quillbern:// automation URLs.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The engine that draws scalable icons, the program's own symbols among them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# Icons where the desktop's theme has none; xdg-open for handing URLs to the program.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "adwaita-icon-theme, xdg-utils")
include(CPack)
