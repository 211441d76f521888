# What `cmake --install` puts in place: the two programs, the menu entry,
# the icon, the AppStream metadata, the manual pages and the guide.
install(TARGETS trelvane trelvane-mci RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TRELVANE_PACKAGING_DIR}/${TRELVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TRELVANE_PACKAGING_DIR}/${TRELVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TRELVANE_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${TRELVANE_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${TRELVANE_PACKAGING_DIR}/man/trelvane.1 ${TRELVANE_PACKAGING_DIR}/man/trelvane-mci.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/docs/index.html DESTINATION ${TRELVANE_GUIDE_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${TRELVANE_GUIDE_DIR} RENAME copyright)
