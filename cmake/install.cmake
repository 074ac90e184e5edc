# What an installation holds, and the Debian package made from it with CPack:
#   bin/kavorind, bin/kavorind-content, bin/kavorind-data   (games/ in the Debian package)
#   share/kavorind/                      the default content, written at build time
#   share/applications/, share/metainfo/ the desktop entry and the AppStream metainfo
#   share/icons/hicolor/NxN/apps/        the icon at every size, drawn at build time
#   share/man/man6/                      the manual pages, compressed
#   share/doc/kavorind/                  the licence, the copyright file and the changelog
include(GNUInstallDirs)

set(KAVORIND_APP_ID org.kavorind.kavorind)
set(dist_dir ${CMAKE_SOURCE_DIR}/dist)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/kavorind)

# The icons, drawn again whenever the tool (and so the picture it draws) changes, at the sizes it
# draws (iconThemeSizes in tools/common/icon_art.h).
set(KAVORIND_ICON_SIZES 32 48 64 128 256)
set(icon_files)
foreach(size IN LISTS KAVORIND_ICON_SIZES)
    list(APPEND icon_files ${CMAKE_BINARY_DIR}/icons/${size}x${size}/apps/${KAVORIND_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${icon_files}
    COMMAND kavorind-icons ${CMAKE_BINARY_DIR}/icons ${KAVORIND_APP_ID}
    DEPENDS kavorind-icons
    COMMENT "Drawing the icons"
    VERBATIM)

# Manual pages and the changelog go compressed, without a time stamp, as Debian wants them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(compressed_files)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/dist)
foreach(source kavorind.6 kavorind-content.6 kavorind-data.6 changelog)
    set(output ${CMAKE_BINARY_DIR}/dist/${source}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND sh -c "${GZIP_PROGRAM} -9nc \"$1\" > \"$2\"" sh ${dist_dir}/${source} ${output}
        DEPENDS ${dist_dir}/${source}
        VERBATIM)
    list(APPEND compressed_files ${output})
endforeach()
add_custom_target(kavorind-dist-files ALL DEPENDS ${icon_files} ${compressed_files})

install(TARGETS kavorind kavorind-content kavorind-data RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kavorind
        PATTERN .stamp EXCLUDE)
install(FILES ${dist_dir}/${KAVORIND_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist_dir}/${KAVORIND_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_BINARY_DIR}/dist/kavorind.6.gz ${CMAKE_BINARY_DIR}/dist/kavorind-content.6.gz
              ${CMAKE_BINARY_DIR}/dist/kavorind-data.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${dist_dir}/copyright ${CMAKE_BINARY_DIR}/dist/changelog.gz
        DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavorind)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kavorind developers")
set(CPACK_PACKAGE_CONTACT "The Kavorind developers <developers@kavorind.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-scrolling shoot-'em-up over three stages")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kavorind is a small, complete 2D side-scrolling shoot-'em-up. You fly a\n"
    "craft over snowy mountains, a sea coast at dusk and a fortress in space,\n"
    "shoot the enemies that come in waves, collect items and beat a boss at\n"
    "the end of each stage. It looks and behaves like a 640 x 480, 256-colour\n"
    "game of the late nineties.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/deb_games_dir.cmake)
include(CPack)
