# What `cmake --install` puts under the prefix: the two programs, the desktop
# entry, the icons (drawn by tools/make_art), the AppStream metainfo, the
# manual pages and the package's documents. Package.cmake then packs the
# same tree as a Debian package.
include(GNUInstallDirs)
if(NOT ORBITFEND_ICON_THEME_DIR)
  message(FATAL_ERROR "Install.cmake needs tools/make_art, which draws the icons, added first")
endif()

set(DIST_DIR ${PROJECT_SOURCE_DIR}/dist)
set(DIST_BUILD_DIR ${PROJECT_BINARY_DIR}/dist)

# Manual pages and the changelog are installed compressed, as Debian keeps
# them; -n leaves out the time, so the same text gives the same bytes.
find_program(GZIP gzip REQUIRED)
set(COMPRESSED_DOCS "")
foreach(doc man/orbitfend.6 man/orbitfend-modplay.1 debian/changelog)
  get_filename_component(name ${doc} NAME)
  add_custom_command(OUTPUT ${DIST_BUILD_DIR}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST_BUILD_DIR}
    COMMAND sh -c "${GZIP} -9nc \"$0\" > \"$1\"" ${DIST_DIR}/${doc} ${DIST_BUILD_DIR}/${name}.gz
    DEPENDS ${DIST_DIR}/${doc}
    VERBATIM)
  list(APPEND COMPRESSED_DOCS ${DIST_BUILD_DIR}/${name}.gz)
endforeach()
add_custom_target(orbitfend-docs ALL DEPENDS ${COMPRESSED_DOCS})

# Directories as Debian wants them whatever the umask of the one installing.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The game goes where Debian keeps games (on a user's PATH, and where a package
# in section games must put it); the module player is a plain command.
set(ORBITFEND_INSTALL_GAMESDIR games CACHE STRING
  "Where the game goes, under the prefix (bin for a prefix whose games folder is not on PATH)")
install(TARGETS orbitfend RUNTIME DESTINATION ${ORBITFEND_INSTALL_GAMESDIR})
install(TARGETS orbitfend-modplay RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${DIST_DIR}/orbitfend.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DIST_DIR}/org.quelm.orbitfend.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${ORBITFEND_ICON_THEME_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${DIST_BUILD_DIR}/orbitfend.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${DIST_BUILD_DIR}/orbitfend-modplay.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${DIST_DIR}/debian/copyright ${DIST_BUILD_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
