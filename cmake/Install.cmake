# Installing like any Linux program (cmake --install, make install) and the Debian
# package (make package, CPack). Included from the top-level CMakeLists.txt after the
# programs and CELLTROVE_LNG_FILES / CELLTROVE_ICON_SIZES are defined.
set(CELLTROVE_APP_ID org.celltrove.Celltrove)

install(TARGETS celltrove celltrove-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Found through run::LanguageFolder() (CELLTROVE_LNG_FROM_BIN).
install(FILES ${CELLTROVE_LNG_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/celltrove/lng)
install(FILES data/${CELLTROVE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${CELLTROVE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/icons/${CELLTROVE_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS CELLTROVE_ICON_SIZES)
    install(FILES data/icons/celltrove-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${CELLTROVE_APP_ID}.png)
endforeach()
install(FILES data/man/celltrove.1 data/man/celltrove-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME celltrove)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION}.${CELLTROVE_BUILD})
set(CPACK_PACKAGE_VENDOR "The Celltrove developers")
set(CPACK_PACKAGE_CONTACT "The Celltrove developers <celltrove@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "workbook texts to tagged RTF for translators, and back")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Celltrove exports the cell texts of Excel 97-2003 workbooks into tagged RTF\n"
    "documents for translation-memory tools and imports the translated documents\n"
    "back into the cells, and counts and prices the text. Desktop program celltrove\n"
    "and command-line program celltrove-cli; needs neither Excel nor Word.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
# Dependencies from the libraries the programs link (Qt, libgsf), as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Qt's own texts in German and the other interface languages.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
include(CPack)
