# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# cmake -DSOURCE=... -DVERSION=... -DDEBIAN_VERSION=... -P CheckDebian.cmake
set(faults)
file(READ ${SOURCE}/packaging/copyright upstream)
file(READ ${SOURCE}/debian/copyright debian)
# Paragraph by paragraph, but for the header, which debian/ extends.
string(REPLACE "\n\n" ";" paragraphs "${upstream}")
list(REMOVE_AT paragraphs 0)
foreach(paragraph IN LISTS paragraphs)
    string(STRIP "${paragraph}" paragraph)
    string(FIND "${debian}" "${paragraph}" at)
    if(at LESS 0)
        string(REGEX MATCH "^[^\n]*" first "${paragraph}")
        list(APPEND faults "debian/copyright lacks the paragraph of packaging/copyright at '${first}'")
    endif()
endforeach()
if(NOT DEBIAN_VERSION MATCHES "^${VERSION}-[0-9]+$")
    list(APPEND faults "debian/changelog is at ${DEBIAN_VERSION}, CMakeLists.txt at ${VERSION}")
endif()
if(faults)
    list(JOIN faults "\n" faults)
    message(FATAL_ERROR "${faults}")
endif()
