# Where an installed Trelvane keeps its files, and the icons made from the
# drawn SVG. Included before the sources, which need some of these places.
include(GNUInstallDirs)

set(TRELVANE_APP_ID io.github.trelvane.Trelvane)
set(TRELVANE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
# Lower case, unlike CMAKE_INSTALL_DOCDIR, which follows the project's name.
set(TRELVANE_GUIDE_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/trelvane)
# From the installed executable's folder to the guide, whatever the prefix.
file(RELATIVE_PATH TRELVANE_INSTALLED_GUIDE ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${TRELVANE_GUIDE_DIR}/index.html)
# The guide for the programs run from the build folder (they are made at its
# top): a link beside them to the source tree's page, relative to them as
# the installed one is, so that no path of this machine is built in.
set(TRELVANE_PROGRAM_DIR ${CMAKE_BINARY_DIR})
set(TRELVANE_BUILD_GUIDE guide/index.html)
file(MAKE_DIRECTORY ${TRELVANE_PROGRAM_DIR}/guide)
file(CREATE_LINK ${PROJECT_SOURCE_DIR}/docs/index.html ${TRELVANE_PROGRAM_DIR}/${TRELVANE_BUILD_GUIDE}
     SYMBOLIC COPY_ON_ERROR)

# PNGs for the desktops and menus that do not draw SVG, in the hicolor
# theme's layout so that the tree installs as it is.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(TRELVANE_ICON_SVG ${TRELVANE_PACKAGING_DIR}/${TRELVANE_APP_ID}.svg)
set(TRELVANE_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(TRELVANE_ICON_SIZES 16 32 48 64 128 256)
set(TRELVANE_ICON_PNGS)
foreach(size IN LISTS TRELVANE_ICON_SIZES)
    set(png ${TRELVANE_ICON_DIR}/hicolor/${size}x${size}/apps/${TRELVANE_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${TRELVANE_ICON_DIR}/hicolor/${size}x${size}/apps
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${TRELVANE_ICON_SVG}
        DEPENDS ${TRELVANE_ICON_SVG}
        COMMENT "Drawing the ${size} px icon"
        VERBATIM)
    list(APPEND TRELVANE_ICON_PNGS ${png})
endforeach()
add_custom_target(trelvane_icons ALL DEPENDS ${TRELVANE_ICON_PNGS})
