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
# The user guide and its pictures.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DATADIR}/mirudex/docs)

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
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese-English dictionary for the desktop")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Mirudex looks up Japanese and English words in EDICT-format dictionaries and
shows the kanji involved from KANJIDIC, finds kanji by their radicals, keeps
a study list and copies entries in any format. mirudex-lookup runs the same
search from a terminal. The dictionaries come from Debian's edict, kanjidic,
enamdict and xjdic packages.")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Qt libraries the programs link come from dpkg-shlibdeps. libcurl is
# opened at the first download, so dpkg-shlibdeps cannot see it: named here,
# with the certificate authorities its HTTPS transfers check servers against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "edict, kanjidic, libcurl4 | libcurl3-gnutls, ca-certificates")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xjdic, enamdict")
include(CPack)
