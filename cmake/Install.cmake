# Installation: the self-contained program folder under lib/kvelt (the game finds it from
# its own location), a launcher in bin, a desktop entry and icons.
include(GNUInstallDirs)
set(KVELT_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/kvelt)

install(TARGETS kvelt RUNTIME DESTINATION ${KVELT_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/Examples DESTINATION ${KVELT_INSTALL_PROGRAM_DIR}
        FILES_MATCHING PATTERN "*.kvt")
install(FILES "${CMAKE_SOURCE_DIR}/data/Справка.html" DESTINATION ${KVELT_INSTALL_PROGRAM_DIR}
        OPTIONAL)
# The help document's pictures, drawn by the game (scripts/update-help-pictures.sh).
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/help DESTINATION ${KVELT_INSTALL_PROGRAM_DIR}
        FILES_MATCHING PATTERN "*.png")

file(RELATIVE_PATH KVELT_LAUNCHER_TARGET /${CMAKE_INSTALL_BINDIR}
     /${KVELT_INSTALL_PROGRAM_DIR}/kvelt)
configure_file(${CMAKE_SOURCE_DIR}/packaging/kvelt.sh.in ${CMAKE_BINARY_DIR}/packaging/kvelt @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/kvelt DESTINATION ${CMAKE_INSTALL_BINDIR})

if(TARGET kvelt-outline)
    install(TARGETS kvelt-outline RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

foreach(size 48 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/src/resources/icons/kvelt-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME kvelt.png)
endforeach()

# The desktop entry names the launcher by its full path, known only at install time.
install(CODE "
    set(KVELT_EXEC \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/kvelt\")
    configure_file(\"${CMAKE_SOURCE_DIR}/packaging/kvelt.desktop.in\"
                   \"${CMAKE_BINARY_DIR}/packaging/kvelt.desktop\" @ONLY)
    file(INSTALL \"${CMAKE_BINARY_DIR}/packaging/kvelt.desktop\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
")
