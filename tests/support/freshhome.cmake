# Makes the folder a test program runs in fresh: whatever an earlier run left there (one
# that was killed or interrupted included) is removed, and the home, configuration, data,
# cache and temporary folders are made anew. Usage: cmake -DHOME=<folder> -P freshhome.cmake
if(NOT HOME)
    message(FATAL_ERROR "freshhome.cmake needs -DHOME=<folder>")
endif()
if(EXISTS "${HOME}")
    # A test may have left a folder it made read-only.
    file(CHMOD_RECURSE "${HOME}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    file(REMOVE_RECURSE "${HOME}")
endif()
file(MAKE_DIRECTORY "${HOME}/config" "${HOME}/data" "${HOME}/cache" "${HOME}/tmp")
