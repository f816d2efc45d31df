# `cpack -G DEB` in the build directory makes orbitfend_<version>_<arch>.deb
# from the install tree. Its dependencies are read from the programs by
# dpkg-shlibdeps, so they follow whatever the build linked.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbitfend)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "single-screen arcade shooter with its own sound engine")
set(CPACK_PACKAGE_DESCRIPTION
  "A cannon at the bottom of the screen against a marching formation of 55
aliens, four shields that wear away pixel by pixel, a mystery ship worth up
to 500 points and an extra life at 1500. The formation marches one alien at
a time, so it speeds up as it thins out.
.
The game's own sound engine mixes 8-bit sample voices and replays four-track
tracker modules; the package also holds orbitfend-modplay, a command-line
module player built on that engine.")
set(ORBITFEND_PACKAGE_MAINTAINER "orbitfend maintainers <maintainers@users.noreply.c-seed-140a6dd6.example>"
  CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORBITFEND_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
