# The installed files and the Debian package. Included by the top CMakeLists.txt once the program's target exists;
# paths are relative to the top folder.

# Installed as a desktop program: bin/TripLedger, its help document in share/tripledger/ (where the program looks
# when the document is not beside it), the desktop entry, the icons and the AppStream metadata.
include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS TripLedger RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TRIPLEDGER_HELP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/tripledger)
# The desktop entry names the program by its installed path, known only when installing.
install(CODE "
    set(TRIPLEDGER_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    set(entry \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${TRIPLEDGER_ID}.desktop\")
    configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/resources/${TRIPLEDGER_ID}.desktop.in\" \"\$ENV{DESTDIR}\${entry}\" @ONLY)
    message(STATUS \"Installing: \$ENV{DESTDIR}\${entry}\")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${entry}\")
")
install(FILES resources/icons/tripledger.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES resources/icons/tripledger-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tripledger.png)
endforeach()
configure_file(resources/${TRIPLEDGER_ID}.metainfo.xml.in ${TRIPLEDGER_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${TRIPLEDGER_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The manual page and the Debian changelog, compressed as Debian's tools do it (no name or time inside).
foreach(doc TripLedger.1 changelog)
    execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/${doc}
        OUTPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/${doc}.gz COMMAND_ERROR_IS_FATAL ANY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS packaging/${doc})
endforeach()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TripLedger.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tripledger)

# The Debian package (scripts/package.sh): its Depends come from the program's libraries (dpkg-shlibdeps), and
# from the Qt plugins it loads, which no library names. libqt6gui6, which the program links, ships Qt's xcb and
# offscreen platform plugins; libqt6svg6 the SVG icon engine that draws the program's images.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tripledger)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Trip Ledger authors <support@tripledger.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fuel costs and mileage history for private motorists")
set(CPACK_PACKAGE_DESCRIPTION "From the miles driven on a tank, what filling it cost, the length of the
daily commute and the price of fuel, Trip Ledger works out the price per
gallon, the miles per gallon and what the commute costs a month and a day.
Each calculation can be saved under the vehicle's registration; the history
lists every vehicle with its mean miles per gallon and charts one vehicle's
miles per gallon over time.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tripledger.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6) # shlibdeps' findings are added to it
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland) # a native window on a Wayland desktop, not through XWayland
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
