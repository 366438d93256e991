# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installation, laid out as Debian lays out games: the game and its tool in games/, what
# ships with the game (outlines, help and its pictures) in share/games/kvelt, and under share/
# the desktop entry, icons, metainfo, man pages (section 6, the game's also in Russian) and,
# unless the Debian packaging installs them itself, the copyright and changelog.
include(GNUInstallDirs)
set(KVELT_APP_ID io.github.kvelt.kvelt CACHE STRING
    "Reverse-DNS id of the desktop entry, the icon and the metainfo")
# The game names its desktop entry, so that a Wayland desktop finds the entry's icon and name.
target_compile_definitions(kvelt PRIVATE KVELT_APP_ID="${KVELT_APP_ID}")
set(KVELT_INSTALL_GAMESDIR games)
set(KVELT_INSTALL_GAMEDATADIR ${CMAKE_INSTALL_DATADIR}/games/kvelt)
set(KVELT_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/kvelt)
set(KVELT_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
# Folders the install makes are 0755 whatever the umask, so that every package is the same.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
option(KVELT_INSTALL_PACKAGE_DOCS
    "Install the copyright, the changelog and the lintian overrides (off when dh does it)" ON)

# The installed game is main() built once more, with its data folder compiled in: relative
# to the game, so that a copy installed under any prefix (or unpacked from the package into
# another root) finds it. It writes only into the player's folders; build/bin/kvelt stays a
# plain build that keeps everything beside itself.
file(RELATIVE_PATH KVELT_DATA_FROM_GAME /${KVELT_INSTALL_GAMESDIR} /${KVELT_INSTALL_GAMEDATADIR})
add_executable(kvelt_installed ${CMAKE_SOURCE_DIR}/src/app/main.cpp)
target_link_libraries(kvelt_installed PRIVATE kvelt_core)
target_compile_definitions(kvelt_installed PRIVATE KVELT_APP_ID="${KVELT_APP_ID}"
                           KVELT_INSTALLED_DATA_DIR="${KVELT_DATA_FROM_GAME}")
set_target_properties(kvelt_installed PROPERTIES OUTPUT_NAME kvelt
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/installed)
install(TARGETS kvelt_installed RUNTIME DESTINATION ${KVELT_INSTALL_GAMESDIR})

install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/Examples DESTINATION ${KVELT_INSTALL_GAMEDATADIR}
        FILES_MATCHING PATTERN "*.kvt")
install(FILES "${CMAKE_SOURCE_DIR}/data/Справка.html" DESTINATION ${KVELT_INSTALL_GAMEDATADIR}
        OPTIONAL)
# The help document's pictures, drawn by the game (scripts/update-help-pictures.sh).
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/help DESTINATION ${KVELT_INSTALL_GAMEDATADIR}
        FILES_MATCHING PATTERN "*.png")
install(FILES ${KVELT_PROGRAM_DIR}/grades.txt DESTINATION ${KVELT_INSTALL_GAMEDATADIR} OPTIONAL)

if(TARGET kvelt-outline)
    install(TARGETS kvelt-outline RUNTIME DESTINATION ${KVELT_INSTALL_GAMESDIR})
endif()

foreach(size 48 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/src/resources/icons/kvelt-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${KVELT_APP_ID}.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/src/resources/icons/kvelt.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${KVELT_APP_ID}.svg)

# Texts that carry the version, the date or the id.
string(SUBSTRING "${KVELT_RELEASE_DATE}" 0 4 KVELT_YEAR)
set(KVELT_SCREENSHOT_URL
    "https://raw.githubusercontent.com/kvelt/kvelt/main/docs" CACHE STRING
    "Where the metainfo's screenshots (docs/screenshot*.png of the repository) are published")
configure_file(${CMAKE_SOURCE_DIR}/packaging/kvelt.metainfo.xml.in
               ${KVELT_PACKAGING_DIR}/${KVELT_APP_ID}.metainfo.xml @ONLY)
install(FILES ${KVELT_PACKAGING_DIR}/${KVELT_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(KVELT_MAINTAINER "Kvelt maintainers <maintainers@users.noreply.c-seed-e630cc78.example>"
    CACHE STRING "The package's maintainer, as \"Name <address>\"")
execute_process(COMMAND date -u -R -d "${KVELT_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE KVELT_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

# Man pages and the changelog are installed compressed, as Debian wants them; gzip -n keeps
# the time stamp out, so the same sources give the same package.
find_program(KVELT_GZIP gzip REQUIRED)
set(KVELT_GZIPPED)
foreach(doc kvelt.6 kvelt.ru.6 kvelt-outline.6 changelog)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/${doc}.in ${KVELT_PACKAGING_DIR}/${doc} @ONLY)
    add_custom_command(OUTPUT ${KVELT_PACKAGING_DIR}/${doc}.gz
        COMMAND ${KVELT_GZIP} -9nf -k ${KVELT_PACKAGING_DIR}/${doc}
        DEPENDS ${KVELT_PACKAGING_DIR}/${doc})
    list(APPEND KVELT_GZIPPED ${KVELT_PACKAGING_DIR}/${doc}.gz)
endforeach()
add_custom_target(kvelt_docs ALL DEPENDS ${KVELT_GZIPPED})
install(FILES ${KVELT_PACKAGING_DIR}/kvelt.6.gz ${KVELT_PACKAGING_DIR}/kvelt-outline.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${KVELT_PACKAGING_DIR}/kvelt.ru.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man6
        RENAME kvelt.6.gz)
if(KVELT_INSTALL_PACKAGE_DOCS)
    install(FILES ${KVELT_PACKAGING_DIR}/changelog.gz ${CMAKE_SOURCE_DIR}/packaging/copyright
            DESTINATION ${KVELT_INSTALL_DOCDIR})
endif()

# The desktop entry names the launcher by its full path, known only at install time.
install(CODE "
    set(KVELT_EXEC \"\${CMAKE_INSTALL_PREFIX}/${KVELT_INSTALL_GAMESDIR}/kvelt\")
    set(KVELT_APP_ID \"${KVELT_APP_ID}\")
    configure_file(\"${CMAKE_SOURCE_DIR}/packaging/kvelt.desktop.in\"
                   \"${KVELT_PACKAGING_DIR}/${KVELT_APP_ID}.desktop\" @ONLY)
    file(INSTALL \"${KVELT_PACKAGING_DIR}/${KVELT_APP_ID}.desktop\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
")
