# What `cmake --install` puts beside the two programs on Linux and other freedesktop
# systems: the sounds, the icons (application and game file type), the desktop entry, the
# MIME type of game files, the AppStream metainfo, the programs' manual pages (gzipped), the
# copyright file and the changelog; and the Debian package that CPack makes of it all
# (scripts/package).
#
# The programs themselves are installed by src/app and src/cli. The sources of the files
# below live in resources/ and resources/linux/.

set(TFP_APPSTREAM_ID example.torva.turnpicker)
set(TFP_MIME_TYPE application/x-torva-turnpicker)
set(TFP_LINUX_DIR ${PROJECT_SOURCE_DIR}/resources/linux)

# The programs link only system libraries, so the installed ones need no library search
# path of their own: qt_standard_project_setup() would give them $ORIGIN:$ORIGIN/../lib,
# which makes the loader probe the program's folder and ../lib for every library first.
foreach(program turnpicker turnpicker-cli)
    if(TARGET ${program})
        set_target_properties(${program} PROPERTIES INSTALL_RPATH "")
    endif()
endforeach()

# Text wrapped at WIDTH columns, each line led by PREFIX, for the copyright files.
function(tfp_wrap_text out text width prefix)
    string(REPLACE " " ";" words "${text}")
    set(lines "")
    set(line "")
    foreach(word ${words})
        string(LENGTH "${prefix}${line} ${word}" length)
        if(line STREQUAL "")
            set(line "${word}")
        elseif(length GREATER width)
            string(APPEND lines "${prefix}${line}\n")
            set(line "${word}")
        else()
            string(APPEND line " ${word}")
        endif()
    endforeach()
    string(APPEND lines "${prefix}${line}")
    set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# Installs SOURCE as NAME in DESTINATION, compressed (NAME.gz, gzip -9n) as Debian wants
# manual pages and changelogs where gzip is at hand.
find_program(TFP_GZIP gzip)
function(tfp_install_gzipped source name destination)
    if(NOT TFP_GZIP)
        install(FILES ${source} DESTINATION ${destination} RENAME ${name})
        return()
    endif()
    set(gzipped ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${name}.gz)
    add_custom_command(OUTPUT ${gzipped}
        COMMAND ${CMAKE_COMMAND} -DGZIP=${TFP_GZIP} -DIN=${source} -DOUT=${gzipped}
            -P ${PROJECT_SOURCE_DIR}/cmake/GzipFile.cmake
        DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/GzipFile.cmake
        VERBATIM)
    string(MAKE_C_IDENTIFIER ${name} target)
    add_custom_target(tfp_gzip_${target} ALL DEPENDS ${gzipped})
    install(FILES ${gzipped} DESTINATION ${destination})
endfunction()

# The manual pages of the two programs, which every build but Windows has.
if(NOT WIN32)
    set(TFP_MAN1 ${CMAKE_INSTALL_MANDIR}/man1)
    tfp_install_gzipped(${TFP_LINUX_DIR}/turnpicker-cli.1 turnpicker-cli.1 ${TFP_MAN1})
    if(TFP_BUILD_GUI)
        tfp_install_gzipped(${TFP_LINUX_DIR}/turnpicker.1 turnpicker.1 ${TFP_MAN1})
    endif()
endif()

# The rights notice (in Debian's machine-readable copyright format) and the changelog,
# where a Debian system looks for them: /usr/share/doc/<package>.
if(UNIX AND NOT APPLE)
    set(TFP_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/turnpicker)
    tfp_wrap_text(TFP_DISTRIBUTION_TERMS_WRAPPED "${TFP_DISTRIBUTION_TERMS}" 79 " ")
    configure_file(${TFP_LINUX_DIR}/copyright.in ${CMAKE_CURRENT_BINARY_DIR}/copyright @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright DESTINATION ${TFP_DOC_DIR})
    tfp_install_gzipped(${TFP_LINUX_DIR}/changelog changelog ${TFP_DOC_DIR})
endif()

# Windows: one folder that runs wherever it is put (the zip and the installer that
# scripts/windows makes): the two programs, the sounds beside them, Qt's DLLs with the
# platform, style and image plugins, the MinGW runtime, and the licences of all of it
# (cmake/WindowsLicenses.cmake).
if(WIN32)
    install(FILES
        ${PROJECT_SOURCE_DIR}/resources/Sounds/Event.wav
        ${PROJECT_SOURCE_DIR}/resources/Sounds/NextTurn.wav
        ${PROJECT_SOURCE_DIR}/resources/Sounds/EndGame.wav
        DESTINATION ${CMAKE_INSTALL_BINDIR}/Sounds)
    set(qt_bin ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
    set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
    set(qt_modules Core)
    # The Qt files installed, as the licences folder names them.
    set(TFP_QT_BUNDLED)
    if(TFP_BUILD_GUI)
        list(APPEND qt_modules Gui Widgets)
        install(FILES ${qt_plugins}/platforms/qwindows.dll
            DESTINATION ${CMAKE_INSTALL_BINDIR}/platforms)
        list(APPEND TFP_QT_BUNDLED "platforms\\qwindows.dll")
        foreach(kind styles imageformats)
            file(GLOB plugins ${qt_plugins}/${kind}/*.dll)
            install(FILES ${plugins} DESTINATION ${CMAKE_INSTALL_BINDIR}/${kind})
            foreach(plugin ${plugins})
                get_filename_component(name ${plugin} NAME)
                list(APPEND TFP_QT_BUNDLED "${kind}\\${name}")
            endforeach()
        endforeach()
    endif()
    foreach(module ${qt_modules})
        install(FILES ${qt_bin}/Qt6${module}.dll DESTINATION ${CMAKE_INSTALL_BINDIR})
    endforeach()
    list(TRANSFORM qt_modules REPLACE "(.+)" "Qt6\\1.dll")
    list(PREPEND TFP_QT_BUNDLED ${qt_modules})
    install(FILES ${TFP_MINGW_RUNTIME_DLLS} DESTINATION ${CMAKE_INSTALL_BINDIR})
    # Debian's MinGW runtime carries its debugging symbols (libstdc++ is 23 MB with them).
    foreach(dll ${TFP_MINGW_RUNTIME_DLLS})
        get_filename_component(file ${dll} NAME)
        install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${file}\"
            COMMAND_ERROR_IS_FATAL ANY)")
    endforeach()
    include(${CMAKE_CURRENT_LIST_DIR}/WindowsLicenses.cmake)
endif()

if(TFP_BUILD_GUI AND UNIX AND NOT APPLE)
    set(TFP_RESOURCES_DIR ${PROJECT_SOURCE_DIR}/resources)
    string(REPLACE "/" "-" TFP_MIME_ICON ${TFP_MIME_TYPE})

    # The sounds, where the program looks when they are not beside it.
    install(FILES
        ${TFP_RESOURCES_DIR}/Sounds/Event.wav
        ${TFP_RESOURCES_DIR}/Sounds/NextTurn.wav
        ${TFP_RESOURCES_DIR}/Sounds/EndGame.wav
        DESTINATION ${CMAKE_INSTALL_DATADIR}/turnpicker/Sounds)

    # The icons of the hicolor theme: the application and, with the same picture, the
    # game file type (its icon name is the MIME type with "/" turned into "-").
    set(TFP_ICON_ROOT ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    foreach(size 16 24 32 48 64 128 256)
        set(picture ${TFP_RESOURCES_DIR}/icons/hicolor/${size}x${size}/turnpicker.png)
        install(FILES ${picture} DESTINATION ${TFP_ICON_ROOT}/${size}x${size}/apps)
        install(FILES ${picture} DESTINATION ${TFP_ICON_ROOT}/${size}x${size}/mimetypes
            RENAME ${TFP_MIME_ICON}.png)
    endforeach()
    install(FILES ${TFP_RESOURCES_DIR}/icons/turnpicker.svg
        DESTINATION ${TFP_ICON_ROOT}/scalable/apps)
    install(FILES ${TFP_RESOURCES_DIR}/icons/turnpicker.svg
        DESTINATION ${TFP_ICON_ROOT}/scalable/mimetypes RENAME ${TFP_MIME_ICON}.svg)

    install(FILES ${TFP_LINUX_DIR}/turnpicker.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${TFP_LINUX_DIR}/turnpicker.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
    install(FILES ${TFP_LINUX_DIR}/${TFP_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The Debian package. dpkg-shlibdeps names the libraries' packages. The fonts the windows
# ask for are dependencies too: Arial, which Debian gives with Liberation Sans of
# fonts-liberation2 (same metrics), and the desktop's sans-serif face, DejaVu Sans where no
# desktop chose another (fontconfig-config would take fonts-liberation2 in its stead, and
# draw the dialogs in Liberation Mono). libcanberra is opened with dlopen when the first
# sound plays, so it is only recommended. The desktop, MIME and icon caches are refreshed
# by the file triggers of the packages that own them.
set(CPACK_GENERATOR DEB CACHE STRING "CPack generators")
set(CPACK_PACKAGE_NAME turnpicker)
set(CPACK_PACKAGE_VENDOR ${TFP_COMPANY_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Torva <turnpicker@torva.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${TFP_WEB_SITE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wargame ending turn, drawn in secret and checked each turn")
# The long description, in lines of at most 79 characters as Debian's control file wants.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Torva Fogline Turnpicker is for the two players of a turn-based wargame\n"
    "who play by exchanging a game file. At the start of the game it draws, at\n"
    "random and out of sight of both, the turn on which the battle ends; each\n"
    "game turn the holder of the file presses Check Turn and learns only whether\n"
    "this turn is the last. In Secure mode the file travels between the players\n"
    "after every check and each protects their turns with a password.\n"
    "\n"
    "This package holds the desktop program turnpicker and the terminal program\n"
    "turnpicker-cli.")
set(CPACK_STRIP_FILES ON)
# The package installs where the build was configured to (scripts/package: /usr), because
# the program looks for its sounds under the configured data directory.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# The programs live in /usr/bin, so the package is not in "games" (whose programs Debian
# puts in /usr/games).
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TFP_BUILD_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libcanberra0)
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
