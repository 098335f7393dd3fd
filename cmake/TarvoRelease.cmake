# The release side of Tarvo: menu entry, AppStream metadata, icons, manual
# pages and the Debian package (cpack -G DEB). Included once from the top
# level, after the folders, so that the deployment texts of the About box
# (homepage, contact, developer) are known and used here as well.
include(GNUInstallDirs)

set(TARVO_APP_ID de.tarvo.Tarvo)
set(TARVO_HOMEPAGE "${TARVO_ABOUT_LINK1}")
set(TARVO_DEVELOPER "${TARVO_ABOUT_PROGRAMMER1}")
set(TARVO_SCREENSHOT_URL "${TARVO_HOMEPAGE}screenshots/" CACHE STRING
    "Web address of the folder that publishes docs/screenshots (ends in /)")

set(release_dir ${CMAKE_BINARY_DIR}/release)
set(TARVO_DESKTOP_FILE ${PROJECT_SOURCE_DIR}/resources/${TARVO_APP_ID}.desktop)
set(TARVO_METAINFO_FILE ${release_dir}/${TARVO_APP_ID}.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/resources/${TARVO_APP_ID}.metainfo.xml.in ${TARVO_METAINFO_FILE} @ONLY)

# Manual pages: version and date filled in, compressed as Debian installs them
# (-n keeps the archive free of names and times, so rebuilds are identical).
set(TARVO_MAN_PAGES)
foreach(page tarvo tarvo-cli)
    configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.1.in ${release_dir}/man/${page}.1 @ONLY)
    add_custom_command(OUTPUT ${release_dir}/man/${page}.1.gz
                       COMMAND gzip -9 -n -c ${release_dir}/man/${page}.1 > ${release_dir}/man/${page}.1.gz
                       DEPENDS ${release_dir}/man/${page}.1
                       COMMENT "Compressing the manual page ${page}(1)")
    list(APPEND TARVO_MAN_PAGES ${release_dir}/man/${page}.1.gz)
endforeach()
add_custom_target(tarvo_manpages ALL DEPENDS ${TARVO_MAN_PAGES})

install(FILES ${TARVO_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TARVO_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TARVO_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The icon in the sizes menus and software centres ask for. The small ones are
# scaled down from resources/tarvo.png, each size N made with ImageMagick:
#   convert resources/tarvo.png -filter Lanczos -resize NxN -strip \
#           -define png:exclude-chunks=date,time PNG32:resources/icons/tarvo-N.png
foreach(size 16 22 24 32 48 64 128)
    if(size EQUAL 128)
        set(icon ${PROJECT_SOURCE_DIR}/resources/tarvo.png)
    else()
        set(icon ${PROJECT_SOURCE_DIR}/resources/icons/tarvo-${size}.png)
    endif()
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${TARVO_APP_ID}.png)
endforeach()

# The Debian package: tarvo_<version>_<arch>.deb with everything installed
# above. Depends: the shared libraries the programs link (dpkg-shlibdeps),
# the report font and Qt's German texts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${TARVO_DEVELOPER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "record, report and evaluate daily sunspot counts")
# The long description in lines of at most 80 characters, as Debian wants it.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "TARVO 32 is the logbook of amateur solar observers who count sunspots at the\n"
    "telescope every day. It keeps one record per observer and day (seeing, spot\n"
    "groups and spots per hemisphere, Wolf, Beck and Pettis numbers, naked-eye\n"
    "counts, faculae), shows each month with sums and means, prints the networks'\n"
    "report forms SOB01 and SOB09, mails the month to the observer networks, draws\n"
    "monthly and smoothed relative numbers over decades and computes heliographic\n"
    "positions of spots. The user interface is German.\n"
    "\n"
    "The package also holds tarvo-cli, which works on the same files without a\n"
    "window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TARVO_DEVELOPER} <${TARVO_ABOUT_CONTACT}>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TARVO_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
