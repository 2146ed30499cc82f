# What `cmake --install` puts under the prefix:
#
#   bin/quillmere, bin/quillmere-journal
#   share/applications/<id>.desktop           the menu entry
#   share/metainfo/<id>.metainfo.xml          the software centre's description
#   share/icons/hicolor/scalable/apps/<id>.svg
#   share/icons/hicolor/<N>x<N>/apps/<id>.png for every size in QUILLMERE_ICON_SIZES
#   share/man/man1/quillmere.1.gz, share/man/man1/quillmere-journal.1.gz
#   share/doc/quillmere/copyright             the licence, in Debian's form
#   share/doc/quillmere/changelog.gz          the release history
#
# tests/desktop/installed_files.txt lists exactly these files; the tests and
# scripts/ci_package_check.sh compare a real install against it.
include(GNUInstallDirs)

set(QUILLMERE_APP_ID "org.example.quillmere.Quillmere")
set(QUILLMERE_ICON_SIZES 16 22 24 32 48 64 128 256)
set(_desktop_src "${PROJECT_SOURCE_DIR}/resources/desktop")
set(_desktop_out "${PROJECT_BINARY_DIR}/desktop")

# The PNG icons are rendered from the one SVG by the program's own drawing
# code, so they are the picture the window shows.
set(_icon_pngs "")
foreach(size IN LISTS QUILLMERE_ICON_SIZES)
    list(APPEND _icon_pngs "${_desktop_out}/icons/${size}x${size}/apps/${QUILLMERE_APP_ID}.png")
endforeach()
add_custom_command(
    OUTPUT ${_icon_pngs}
    COMMAND quillmere-icon-render "${_desktop_out}/icons" "${QUILLMERE_APP_ID}" ${QUILLMERE_ICON_SIZES}
    DEPENDS quillmere-icon-render "${_desktop_src}/quillmere.svg"
    COMMENT "Rendering the program icon for the icon theme"
    VERBATIM)

# The documentation folder is named after the package, not the project.
set(CMAKE_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/quillmere")

# Manual pages and the changelog are installed compressed, as Debian expects;
# -n keeps the time stamp out, so the same text gives the same bytes.
set(_man_pages "")
foreach(page quillmere.1 quillmere-journal.1)
    set(_gz "${_desktop_out}/man/${page}.gz")
    add_custom_command(
        OUTPUT "${_gz}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${_desktop_out}/man"
        COMMAND gzip -9 -n -c "${PROJECT_SOURCE_DIR}/docs/man/${page}" > "${_gz}"
        DEPENDS "${PROJECT_SOURCE_DIR}/docs/man/${page}"
        COMMENT "Compressing the manual page ${page}")
    list(APPEND _man_pages "${_gz}")
endforeach()

set(_changelog_gz "${_desktop_out}/changelog.gz")
add_custom_command(
    OUTPUT "${_changelog_gz}"
    COMMAND gzip -9 -n -c "${PROJECT_SOURCE_DIR}/docs/changelog" > "${_changelog_gz}"
    DEPENDS "${PROJECT_SOURCE_DIR}/docs/changelog"
    COMMENT "Compressing the changelog")

add_custom_target(quillmere_desktop_files ALL
    DEPENDS ${_icon_pngs} ${_man_pages} "${_changelog_gz}")

install(TARGETS quillmere quillmere-journal RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (`cmake --install --strip`, the package) also drops the
# compiler's version notes, as Debian's own packages do.
foreach(program quillmere quillmere-journal)
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(
                COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
                COMMAND_ERROR_IS_FATAL ANY)
        endif()")
endforeach()
install(FILES "${_desktop_src}/${QUILLMERE_APP_ID}.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${_desktop_src}/${QUILLMERE_APP_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES "${_desktop_src}/quillmere.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME "${QUILLMERE_APP_ID}.svg")
foreach(size IN LISTS QUILLMERE_ICON_SIZES)
    install(FILES "${_desktop_out}/icons/${size}x${size}/apps/${QUILLMERE_APP_ID}.png"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES "${PROJECT_SOURCE_DIR}/docs/copyright" "${_changelog_gz}"
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
