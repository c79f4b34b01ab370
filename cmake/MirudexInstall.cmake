# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where, and the Debian package CPack makes of it
# (`cpack -G DEB` in the build folder). The installed programs find their own
# data in ../share/mirudex beside bin/, so any prefix works. No dictionary
# data is installed: the package depends on Debian's edict and kanjidic and
# recommends xjdic (the radical file).

# The program's id on the desktop: desktop entry, AppStream data, icons.
set(MIRUDEX_APP_ID "io.github.mirudex.Mirudex")
# Where the AppStream data says the home page and the screenshot are
# (a placeholder until the project has a site).
set(MIRUDEX_METAINFO_BASE_URL "https://mirudex.github.io" CACHE STRING "Home page named in the AppStream data")

set(packaging ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS mirudex-lookup RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(MIRUDEX_BUILD_GUI)
    install(TARGETS mirudex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/data/partsofspeech.mxf ${PROJECT_SOURCE_DIR}/data/fuzzysearch.uni.dat
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mirudex)
# The package's documentation in Debian's place for it: the copyright file, the
# changelog, and the user guide with the pictures it shows (only those: the
# other pictures of docs/ serve the README). The programs find the guide there
# (share/doc/mirudex beside bin/).
set(MIRUDEX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/mirudex)
install(FILES ${packaging}/debian/copyright ${PROJECT_SOURCE_DIR}/docs/index.html DESTINATION ${MIRUDEX_DOC_DIR})
file(READ ${PROJECT_SOURCE_DIR}/docs/index.html guide_html)
string(REGEX MATCHALL "src=\"[^\":]+\"" guide_pictures "${guide_html}")
foreach(picture ${guide_pictures})
    string(REGEX REPLACE "^src=\"(.*)\"$" "\\1" picture "${picture}")
    get_filename_component(picture_dir ${picture} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/${picture} DESTINATION ${MIRUDEX_DOC_DIR}/${picture_dir})
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/index.html)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/changelog.gz
    COMMAND gzip -9 -n -c ${packaging}/debian/changelog > ${PROJECT_BINARY_DIR}/changelog.gz
    DEPENDS ${packaging}/debian/changelog VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${MIRUDEX_DOC_DIR})
# What lintian is told to pass over, each with its reason.
install(FILES ${packaging}/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
    RENAME mirudex)

install(FILES ${packaging}/${MIRUDEX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${packaging}/${MIRUDEX_APP_ID}.metainfo.xml.in ${PROJECT_BINARY_DIR}/${MIRUDEX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${MIRUDEX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging}/icons/${MIRUDEX_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${packaging}/icons/${size}x${size}/${MIRUDEX_APP_ID}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages, compressed as Debian keeps them.
set(man_pages "")
foreach(page mirudex.1 mirudex-lookup.1)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
        COMMAND gzip -9 -n -c ${packaging}/man/${page} > ${PROJECT_BINARY_DIR}/man/${page}.gz
        DEPENDS ${packaging}/man/${page} VERBATIM)
    list(APPEND man_pages ${PROJECT_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirudex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${MIRUDEX_CONTACT_ADDRESS}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Mirudex developers <${MIRUDEX_CONTACT_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese-English dictionary for the desktop")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Mirudex looks up Japanese and English words in EDICT-format dictionaries and
shows the kanji involved from KANJIDIC, finds kanji by their radicals, keeps
a study list and copies entries in any format. mirudex-lookup runs the same
search from a terminal. The dictionaries come from Debian's edict, kanjidic,
enamdict and xjdic packages.")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${MIRUDEX_METAINFO_BASE_URL}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Qt libraries the programs link come from dpkg-shlibdeps. libcurl is
# opened at the first download, so dpkg-shlibdeps cannot see it: named here,
# with the certificate authorities its HTTPS transfers check servers against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "edict, kanjidic, libcurl4 | libcurl3-gnutls, ca-certificates")
# Without a font that has kana and kanji every Japanese character is a box.
# qt6-translations-l10n: Qt's own texts (buttons of message boxes, choosers) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "xjdic, enamdict, fonts-ipafont-mincho | fonts-noto-cjk | fonts-vlgothic, qt6-translations-l10n")
# The shared index files of Debian's dictionaries: made by postinst when the
# package is configured and when the dictionary files change (triggers),
# removed with the package (postrm).
foreach(script postinst postrm)
    configure_file(${packaging}/debian/${script}.in ${PROJECT_BINARY_DIR}/debian/${script} @ONLY)
endforeach()
configure_file(${packaging}/debian/triggers ${PROJECT_BINARY_DIR}/debian/triggers COPYONLY)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${PROJECT_BINARY_DIR}/debian/postinst;${PROJECT_BINARY_DIR}/debian/postrm;${PROJECT_BINARY_DIR}/debian/triggers")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
