# Compresses IN into OUT as Debian wants manual pages, gzip -9n: no file name or time is
# stored, so one page always gives the same bytes. Run with cmake -DGZIP=... -DIN=...
# -DOUT=... -P GzipFile.cmake.
execute_process(COMMAND ${GZIP} -9n -c ${IN} OUTPUT_FILE ${OUT} RESULT_VARIABLE failed)
if(failed)
    file(REMOVE ${OUT})
    message(FATAL_ERROR "gzip could not compress ${IN}")
endif()
