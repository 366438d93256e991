# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Unpacks the package and checks what software centres and menus read from it: the metainfo
# and the desktop entry pass their validators, and both, with the icons, use one id.
# cmake -DDEB=... -DAPP_ID=... -DROOT=... -DAPPSTREAMCLI=... -DDESKTOP_VALIDATE=...
#       -DPROGRAM_DIR=... -P CheckMetadata.cmake
file(REMOVE_RECURSE ${ROOT})
execute_process(COMMAND dpkg-deb -x ${DEB} ${ROOT} COMMAND_ERROR_IS_FATAL ANY)

set(metainfo ${ROOT}/usr/share/metainfo/${APP_ID}.metainfo.xml)
set(desktop ${ROOT}/usr/share/applications/${APP_ID}.desktop)
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --pedantic ${metainfo}
                RESULT_VARIABLE status)
if(status)
    message(FATAL_ERROR "appstreamcli refuses ${metainfo}")
endif()
execute_process(COMMAND ${DESKTOP_VALIDATE} ${desktop} RESULT_VARIABLE status
                OUTPUT_VARIABLE said ERROR_VARIABLE said)
# desktop-file-validate prints hints and warnings but fails only on errors; take both.
if(status OR said)
    message(FATAL_ERROR "desktop-file-validate on ${desktop}:\n${said}")
endif()

set(faults)
file(READ ${desktop} entry)
file(READ ${metainfo} meta)
foreach(expected "\nIcon=${APP_ID}\n" "\nExec=/usr/games/kvelt\n")
    string(FIND "${entry}" "${expected}" at)
    if(at LESS 0)
        list(APPEND faults "the desktop entry lacks '${expected}'")
    endif()
endforeach()
foreach(expected "<id>${APP_ID}</id>" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
                 "<icon type=\"stock\">${APP_ID}</icon>")
    string(FIND "${meta}" "${expected}" at)
    if(at LESS 0)
        list(APPEND faults "the metainfo lacks '${expected}'")
    endif()
endforeach()
foreach(icon 48x48/apps/${APP_ID}.png 128x128/apps/${APP_ID}.png 256x256/apps/${APP_ID}.png
             scalable/apps/${APP_ID}.svg)
    if(NOT EXISTS ${ROOT}/usr/share/icons/hicolor/${icon})
        list(APPEND faults "no icon ${icon}")
    endif()
endforeach()
# Debian's layout for games: the real game in /usr/games, its data in /usr/share/games.
file(READ ${ROOT}/usr/games/kvelt magic LIMIT 4 HEX)
if(NOT magic STREQUAL "7f454c46")
    list(APPEND faults "/usr/games/kvelt is not the game itself (no ELF header)")
endif()
file(GLOB outlines ${ROOT}/usr/share/games/kvelt/Examples/*.kvt)
list(LENGTH outlines count)
if(count LESS 100 OR NOT EXISTS "${ROOT}/usr/share/games/kvelt/Справка.html"
   OR NOT EXISTS ${ROOT}/usr/share/games/kvelt/help/start.png)
    list(APPEND faults "/usr/share/games/kvelt lacks the outlines (${count}), the help or its pictures")
endif()
# What the build makes beside the outlines ships with them.
if(EXISTS ${PROGRAM_DIR}/grades.txt AND NOT EXISTS ${ROOT}/usr/share/games/kvelt/grades.txt)
    list(APPEND faults "the build made ${PROGRAM_DIR}/grades.txt, the package lacks it")
endif()
if(EXISTS ${ROOT}/usr/lib)
    list(APPEND faults "the package still installs into /usr/lib")
endif()
if(faults)
    list(JOIN faults "\n" faults)
    message(FATAL_ERROR "${faults}")
endif()
