# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The Debian package: `cpack -G DEB` in the build folder makes kvelt_<version>_<arch>.deb of
# everything the install rules install, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvelt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kvelt developers")
set(CPACK_PACKAGE_CONTACT ${KVELT_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pentomino puzzle with a Russian interface")
set(CPACK_PACKAGE_DESCRIPTION
    "Cover a black outline on a board of 35 by 24 cells exactly with the twelve
pentominoes. Pieces are moved with the mouse or the arrow keys and turned
through a palette of their orientations. The game comes with more than a
hundred outlines, saves and continues positions, and includes a tool that
makes, solves and checks outline files. Its interface and help are in
Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KVELT_HOMEPAGE})
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link come from dpkg-shlibdeps. It cannot see what Qt loads at
# run time: the X11/Wayland platform plugins, without which no window opens, and Qt's
# Russian texts for the message-box buttons.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

# The shipped programs resolve every symbol at start-up and keep the relocations read-only
# afterwards, as Debian's hardened builds do.
foreach(program kvelt kvelt_installed kvelt-outline)
    if(TARGET ${program})
        target_link_options(${program} PRIVATE LINKER:-z,relro,-z,now)
    endif()
endforeach()
if(KVELT_INSTALL_PACKAGE_DOCS)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kvelt)
endif()
# A stripped install (cpack) also drops the compiler's version notes, .comment and .note, as
# dh_strip does. The named notes stay: .note.gnu.build-id, by which debuggers find the
# detached debug symbols; .note.ABI-tag, the kernel version glibc's loader checks; and
# .note.gnu.property, whose CET and ISA-level bits the loader reads.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(program kvelt kvelt-outline)
            set(file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${KVELT_INSTALL_GAMESDIR}/\${program}\")
            if(EXISTS \"\${file}\")
                execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                                        --remove-section=.note \"\${file}\"
                                COMMAND_ERROR_IS_FATAL ANY)
            endif()
        endforeach()
    endif()
")

include(CPack)
