# `cmake --install` lays Halyx out like any desktop program: the executables in bin/, the
# language files and the shipped default image in share/halyx/ (the installed programs' program
# directory), and the desktop entry, icons, file type, AppStream data, manual pages and shell
# completion where the desktop looks for them. CPack turns the same layout into a .deb.
include(GNUInstallDirs)

set(halyx_data ${PROJECT_SOURCE_DIR}/data)
set(halyx_desktop ${halyx_data}/desktop)
set(halyx_app_id io.github.halyx.Halyx)
set(halyx_mime_icon application-x-halyx-image)

foreach(target halyx halyx-cli halyx-radiosim)
    if(TARGET ${target})
        install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
install(FILES ${halyx_data}/english.lang ${halyx_data}/chinese.lang ${halyx_data}/default.kda
        DESTINATION ${CMAKE_INSTALL_DATADIR}/halyx)

install(FILES ${halyx_desktop}/${halyx_app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${halyx_desktop}/${halyx_app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${halyx_desktop}/${halyx_app_id}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${halyx_desktop}/halyx-cli.bash RENAME halyx-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

set(halyx_icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${halyx_desktop}/${halyx_app_id}.svg DESTINATION ${halyx_icons}/scalable/apps)
install(FILES ${halyx_desktop}/${halyx_mime_icon}.svg DESTINATION ${halyx_icons}/scalable/mimetypes)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${halyx_desktop}/icons/${halyx_app_id}-${size}.png RENAME ${halyx_app_id}.png
            DESTINATION ${halyx_icons}/${size}x${size}/apps)
    install(FILES ${halyx_desktop}/icons/${halyx_mime_icon}-${size}.png RENAME ${halyx_mime_icon}.png
            DESTINATION ${halyx_icons}/${size}x${size}/mimetypes)
endforeach()

# Manual pages carry the project version and are installed compressed, as Debian wants them.
find_program(HALYX_GZIP gzip)
set(halyx_man_pages)
foreach(page halyx halyx-cli halyx-radiosim)
    set(page_file ${PROJECT_BINARY_DIR}/man/${page}.1)
    configure_file(${halyx_data}/man/${page}.1 ${page_file} @ONLY)
    if(HALYX_GZIP)
        add_custom_command(OUTPUT ${page_file}.gz
                           COMMAND ${HALYX_GZIP} -9nc ${page_file} > ${page_file}.gz
                           DEPENDS ${page_file} VERBATIM)
        list(APPEND halyx_man_pages ${page_file}.gz)
    else()
        list(APPEND halyx_man_pages ${page_file})
    endif()
endforeach()
add_custom_target(halyx_man_pages ALL DEPENDS ${halyx_man_pages})
install(FILES ${halyx_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package's copyright and change log, which every package must carry.
set(halyx_changelog ${PROJECT_BINARY_DIR}/debian-doc/changelog.gz)
if(HALYX_GZIP)
    add_custom_command(OUTPUT ${halyx_changelog}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/debian-doc
                       COMMAND ${HALYX_GZIP} -9nc ${halyx_data}/package/changelog > ${halyx_changelog}
                       DEPENDS ${halyx_data}/package/changelog VERBATIM)
    add_custom_target(halyx_changelog ALL DEPENDS ${halyx_changelog})
    install(FILES ${halyx_changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/halyx)
endif()
install(FILES ${halyx_data}/package/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/halyx)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME halyx)
set(CPACK_PACKAGE_VENDOR "The Halyx developers")
set(CPACK_PACKAGE_CONTACT "The Halyx developers <halyx@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming software for 20-channel two-way radios")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/halyx/halyx)
# The synopsis is the summary above; CPack indents these lines and marks the empty one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Halyx reads the configuration of a 20-channel two-way radio (136-174 MHz
or 406.1-470 MHz models) over a serial port, edits its channels and common
settings, saves and loads image files (*.kda) and writes the radio back,
reading it again to verify. A factory dialog tunes the calibration points.

The package also holds halyx-cli, the same operations for scripts, and
halyx-radiosim, a simulated radio on a pseudo-terminal.")
# Run-time dependencies come from the binaries themselves (dpkg-shlibdeps), never a hand list.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
