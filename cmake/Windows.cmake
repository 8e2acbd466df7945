# Windows: the icon, manifest and version information of the executables, made from
# cmake/AppInfo.cmake; the runtime files installed beside them; and, when the build runs on
# Linux, Wine as the emulator that runs the tests (scripts/windows).
if(NOT WIN32)
    function(tfp_add_windows_resources target description)
    endfunction()
    return()
endif()

enable_language(RC)

function(tfp_add_windows_resources target description)
    set(TFP_RC_DESCRIPTION "${description}")
    set(TFP_RC_INTERNAL_NAME "${target}")
    set(TFP_RC_FILE_NAME "${target}.exe")
    set(TFP_RC_ICON "${PROJECT_SOURCE_DIR}/resources/windows/turnpicker.ico")
    set(TFP_RC_MANIFEST "${PROJECT_SOURCE_DIR}/resources/windows/turnpicker.manifest")
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/program.rc.in
        ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}.rc PROPERTIES
        OBJECT_DEPENDS "${TFP_RC_ICON};${TFP_RC_MANIFEST}")
endfunction()

# The DLLs of the MinGW runtime that every program of the build needs, from the compiler's
# own folders.
set(TFP_MINGW_RUNTIME_DLLS)
if(MINGW)
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
            OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
            message(FATAL_ERROR "The MinGW runtime library ${dll} was not found")
        endif()
        list(APPEND TFP_MINGW_RUNTIME_DLLS ${path})
    endforeach()
endif()

# Tests and programs of a build on Linux run under Wine, through a wrapper that gives them a
# Wine prefix of the build's own, the Qt and MinGW DLLs and Qt's variables.
if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(TFP_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
    set(TFP_QT_BIN_DIR ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
    set(TFP_MINGW_RUNTIME_DIRS)
    foreach(dll ${TFP_MINGW_RUNTIME_DLLS})
        get_filename_component(dir ${dll} DIRECTORY)
        file(REAL_PATH ${dir} dir)
        list(APPEND TFP_MINGW_RUNTIME_DIRS ${dir})
    endforeach()
    list(REMOVE_DUPLICATES TFP_MINGW_RUNTIME_DIRS)
    list(JOIN TFP_MINGW_RUNTIME_DIRS " " TFP_MINGW_RUNTIME_DIRS)
    find_path(TFP_WINE_FONT_DIR DejaVuSans.ttf
        PATHS /usr/share/fonts/truetype/dejavu /usr/share/fonts/truetype/liberation2
        NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT TFP_WINE_FONT_DIR)
        set(TFP_WINE_FONT_DIR /usr/share/fonts/truetype/dejavu)
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/wine-run.in
        ${CMAKE_BINARY_DIR}/wine-run @ONLY
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
        WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
endif()

# The installer's script, with the product's names and version (scripts/windows runs
# makensis on it).
configure_file(${PROJECT_SOURCE_DIR}/resources/windows/installer.nsi.in
    ${CMAKE_BINARY_DIR}/installer.nsi @ONLY)
