# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Debian's compiler and linker flags (dpkg-buildflags: stack protector, fortified calls,
# read-only relocations, the source folder mapped out of the debug info) for a build that
# cpack packs, so that its .deb is hardened as the source package's is. debian/rules turns
# this off: dh hands the same flags to CMake itself. Included before any target is made, so
# that every library and program takes them.
find_program(KVELT_DPKG_BUILDFLAGS_PROGRAM dpkg-buildflags)
set(kvelt_buildflags_default OFF)
# Fortify needs the optimiser, and the sanitizers bring their own checks.
if(KVELT_DPKG_BUILDFLAGS_PROGRAM AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize"
   AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    set(kvelt_buildflags_default ON)
endif()
option(KVELT_DPKG_BUILDFLAGS "Compile and link with the flags of dpkg-buildflags (off under dh)"
       ${kvelt_buildflags_default})

if(KVELT_DPKG_BUILDFLAGS)
    if(NOT KVELT_DPKG_BUILDFLAGS_PROGRAM)
        message(FATAL_ERROR "KVELT_DPKG_BUILDFLAGS is on, but there is no dpkg-buildflags")
    endif()
    # The same options as debian/rules exports.
    set(ENV{DEB_BUILD_MAINT_OPTIONS} "hardening=+all")
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
        set(ENV{DEB_CXXFLAGS_MAINT_APPEND} "-fstack-clash-protection -fcf-protection")
    endif()
    set(KVELT_BUILDFLAGS)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        # From the source folder: -ffile-prefix-map maps the folder it is run in.
        execute_process(COMMAND ${KVELT_DPKG_BUILDFLAGS_PROGRAM} --get ${kind}
                        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
                        COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        set(kvelt_${kind} ${flags})
        list(JOIN flags " " shown)
        string(APPEND KVELT_BUILDFLAGS " ${kind}=${shown}")
    endforeach()
    unset(ENV{DEB_BUILD_MAINT_OPTIONS})
    unset(ENV{DEB_CXXFLAGS_MAINT_APPEND})
    add_compile_options(${kvelt_CPPFLAGS} ${kvelt_CXXFLAGS})
    add_link_options(${kvelt_LDFLAGS})
    message(STATUS "dpkg-buildflags:${KVELT_BUILDFLAGS}")
endif()
