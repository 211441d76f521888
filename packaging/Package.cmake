# The Debian package: `cpack -G DEB` in a build folder configured with
# CMAKE_INSTALL_PREFIX=/usr (scripts/package.sh does both). The library
# dependencies are read off the binaries by dpkg-shlibdeps.
set(TRELVANE_MAINTAINER "The Trelvane developers <trelvane@users.noreply.github.com>"
    CACHE STRING "Maintainer of the Debian package: name <address>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trelvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Trelvane developers")
set(CPACK_PACKAGE_CONTACT ${TRELVANE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "clip cutter for DVD video object files")
set(CPACK_PACKAGE_DESCRIPTION
    "Trelvane opens a DVD video object file (.vob) and plays it in its window.\n"
    "While watching, you mark a begin and an end second, preview the marked\n"
    "stretch and save it as a new .vob file: a plain copy of the source's bytes\n"
    "over the estimated range, with nothing decoded or re-encoded.\n"
    "trelvane-mci sends media commands to the same player from a terminal.")
list(JOIN CPACK_PACKAGE_DESCRIPTION "" CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Home Page hands the guide to the desktop's browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS xdg-utils)
# Only the two programs and their data; the tests and benches stay out.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")
include(CPack)
