# Windows: the licenses folder beside the programs, in the zip and the installer. It holds
# the program's own rights notice and the licence texts of what comes with it: Qt (the
# LGPL 3, and where its source is to be had) and the MinGW runtime (GCC's runtime library
# exception, winpthreads' licence). The texts are taken when the build is configured,
# from this Debian machine: the Windows Qt's folder, where scripts/windows keeps its
# source's LICENSES, its debian/copyright, its source package and its configure options
# (licenses/), and the copyright files of the Debian packages the MinGW DLLs come from,
# with /usr/share/common-licenses/GPL-3.
#
# Included by cmake/Install.cmake with TFP_QT_BUNDLED (the Qt files it installs, relative
# to the programs' folder) and TFP_MINGW_RUNTIME_DLLS set.

set(licenses ${CMAKE_INSTALL_BINDIR}/licenses)
set(generated ${CMAKE_BINARY_DIR}/licenses)
set(templates ${PROJECT_SOURCE_DIR}/resources/windows/licenses)

function(tfp_require_file path what)
    if(NOT EXISTS ${path})
        message(FATAL_ERROR "${what} is not at ${path}; the Windows packages must carry it")
    endif()
endfunction()

# Configures TEMPLATE (@VAR@ only) into OUTPUT with Windows line ends throughout, the
# lines of the values put in included.
function(tfp_configure_text template output)
    file(READ ${template} text)
    string(CONFIGURE "${text}" text @ONLY)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    if(EXISTS ${output})
        file(READ ${output} old)
    endif()
    if(NOT text STREQUAL old)
        file(WRITE ${output} "${text}")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${template})
endfunction()

# Lines of text for the notices: each item on a line of its own, indented.
function(tfp_indented_lines out)
    list(JOIN ARGN "\n    " lines)
    set(${out} "    ${lines}" PARENT_SCOPE)
endfunction()

# The program's own rights notice, as the About box states it.
tfp_wrap_text(TFP_DISTRIBUTION_TERMS_WRAPPED "${TFP_DISTRIBUTION_TERMS}" 79 "")
tfp_configure_text(${templates}/program.txt.in ${generated}/${PROJECT_NAME}.txt)
install(FILES ${generated}/${PROJECT_NAME}.txt DESTINATION ${licenses})

# Qt: what scripts/windows kept of the source the Windows Qt was built from.
set(qt_licenses ${QT6_INSTALL_PREFIX}/licenses)
foreach(file source options copyright LICENSES/LGPL-3.0-only.txt LICENSES/GPL-3.0-only.txt)
    tfp_require_file(${qt_licenses}/${file} "The Windows Qt's ${file}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${qt_licenses}/${file})
endforeach()
file(STRINGS ${qt_licenses}/source qt_source LIMIT_COUNT 1)
string(REPLACE " " ";" qt_source "${qt_source}")
list(GET qt_source 0 TFP_QT_SOURCE_PACKAGE)
list(GET qt_source 1 TFP_QT_SOURCE_VERSION)
string(REPLACE "+" "%2B" TFP_QT_SOURCE_VERSION_URL "${TFP_QT_SOURCE_VERSION}")
file(STRINGS ${qt_licenses}/options qt_options)
tfp_indented_lines(TFP_QT_OPTIONS ${qt_options})
tfp_indented_lines(TFP_QT_FILES ${TFP_QT_BUNDLED})
tfp_configure_text(${templates}/Qt.txt.in ${generated}/Qt/README.txt)
install(FILES ${generated}/Qt/README.txt DESTINATION ${licenses}/Qt)
install(FILES ${qt_licenses}/copyright DESTINATION ${licenses}/Qt RENAME copyright.txt)
install(DIRECTORY ${qt_licenses}/LICENSES DESTINATION ${licenses}/Qt)

# The MinGW runtime: each DLL with the Debian package it comes from and that package's
# copyright file.
find_program(TFP_DPKG_QUERY dpkg-query NO_CMAKE_FIND_ROOT_PATH)
if(NOT TFP_DPKG_QUERY)
    message(FATAL_ERROR "dpkg-query is needed to find the licences of the MinGW runtime")
endif()
set(mingw_packages)
foreach(dll ${TFP_MINGW_RUNTIME_DLLS})
    file(REAL_PATH ${dll} path)
    execute_process(COMMAND ${TFP_DPKG_QUERY} -S ${path}
        OUTPUT_VARIABLE owner OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed OR NOT owner MATCHES "^([^:, ]+): ")
        message(FATAL_ERROR "No Debian package owns ${path}, so its licence is unknown")
    endif()
    set(package ${CMAKE_MATCH_1})
    get_filename_component(name ${dll} NAME)
    list(APPEND mingw_packages ${package})
    list(APPEND mingw_dlls_of_${package} ${name})
endforeach()
list(REMOVE_DUPLICATES mingw_packages)
set(TFP_MINGW_FILES)
foreach(package ${mingw_packages})
    execute_process(COMMAND ${TFP_DPKG_QUERY} -W
        -f "\${Version} \${source:Package} \${source:Version}" ${package}
        OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE)
    string(REPLACE " " ";" version "${version}")
    list(GET version 0 package_version)
    list(GET version 1 source_package)
    list(GET version 2 source_version)
    set(copyright /usr/share/doc/${package}/copyright)
    tfp_require_file(${copyright} "The copyright file of ${package}")
    install(FILES ${copyright} DESTINATION ${licenses}/MinGW
        RENAME ${package}-copyright.txt)
    list(JOIN mingw_dlls_of_${package} ", " dlls)
    if(TFP_MINGW_FILES)
        string(APPEND TFP_MINGW_FILES "\n\n")
    endif()
    string(APPEND TFP_MINGW_FILES "    ${dlls}\n"
        "        from Debian's package ${package} ${package_version}\n"
        "        (source package ${source_package} ${source_version});\n"
        "        its copyright file: ${package}-copyright.txt")
endforeach()
tfp_configure_text(${templates}/MinGW.txt.in ${generated}/MinGW/README.txt)
install(FILES ${generated}/MinGW/README.txt DESTINATION ${licenses}/MinGW)
tfp_require_file(/usr/share/common-licenses/GPL-3 "The GNU General Public License version 3")
install(FILES /usr/share/common-licenses/GPL-3 DESTINATION ${licenses}/MinGW RENAME GPL-3.txt)
