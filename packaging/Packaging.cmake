# Install rules and the Debian package (tools/package runs CPack on the
# optimised build/ tree). The programs go to bin/, the menu entries, the
# icon, the manual pages, the README, the copyright file and the Debian
# changelog to share/.
set(VELMORA_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
include(GNUInstallDirs)

install(TARGETS velmora velmora-entry velmora-initdb velmora-form velmora-admin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The text reader the programs start for each attached file, never a user.
install(TARGETS velmora-read RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/velmora)
install(FILES ${VELMORA_PACKAGING}/velmora.desktop ${VELMORA_PACKAGING}/velmora-entry.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icon: the drawing, and the usual PNG sizes rendered from it.
install(FILES ${VELMORA_PACKAGING}/velmora.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_pngs)
foreach(size 16 22 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/velmora.png)
    add_custom_command(OUTPUT ${png}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
                       COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} ${VELMORA_PACKAGING}/velmora.svg -o ${png}
                       DEPENDS ${VELMORA_PACKAGING}/velmora.svg VERBATIM)
    list(APPEND icon_pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The Debian changelog, compressed as Debian wants it (no name, no time).
set(changelog_gz ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(OUTPUT ${changelog_gz}
                   COMMAND gzip -9n -c ${VELMORA_PACKAGING}/changelog > ${changelog_gz}
                   DEPENDS ${VELMORA_PACKAGING}/changelog)
# A manual page in section 1 for each program, compressed the same way.
set(man_pages)
foreach(program velmora velmora-entry velmora-initdb velmora-form velmora-admin)
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(OUTPUT ${page}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                       COMMAND gzip -9n -c ${VELMORA_PACKAGING}/man/${program}.1 > ${page}
                       DEPENDS ${VELMORA_PACKAGING}/man/${program}.1)
    list(APPEND man_pages ${page})
endforeach()
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
add_custom_target(velmora_package_files ALL DEPENDS ${icon_pngs} ${changelog_gz} ${man_pages})

set(doc ${CMAKE_INSTALL_DATADIR}/doc/velmora)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${VELMORA_PACKAGING}/copyright ${changelog_gz} DESTINATION ${doc})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velmora Document Store <velmora@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "form designer and document store with a Hungarian interface")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora designs the document entry forms of user groups and stores them\n\
in an embedded SQLite database or on a PostgreSQL server. Its clerk's\n\
program, velmora-entry, enters, finds and prints documents with a group's\n\
form.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the binaries cannot show: Qt's platform plugins, and the font the
# printed list embeds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
# The language data that the text of scans is read with: without it the
# programs say so and read only a PDF's own text.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tesseract-ocr-hun, tesseract-ocr-eng")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velmora.example/")
include(CPack)
