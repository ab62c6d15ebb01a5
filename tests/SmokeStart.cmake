# Starts the real program for a few seconds in an empty folder on the offscreen platform and
# checks that it stayed up and created GGJGMLK.DB there.
#   cmake -DPROGRAM=path/to/GGJGMLK -DWORKDIR=folder -P SmokeStart.cmake
file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND "${PROGRAM}" WORKING_DIRECTORY "${WORKDIR}" TIMEOUT 3
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result MATCHES "^[0-9]+$")
    message(FATAL_ERROR "GGJGMLK ended by itself (exit code ${result}):\n${output}")
endif()
if(NOT EXISTS "${WORKDIR}/GGJGMLK.DB")
    message(FATAL_ERROR "GGJGMLK did not create GGJGMLK.DB in its working directory:\n${output}")
endif()
# "SQLite format 3" and its terminating zero.
file(READ "${WORKDIR}/GGJGMLK.DB" header LIMIT 16 HEX)
if(NOT header STREQUAL "53514c69746520666f726d6174203300")
    message(FATAL_ERROR "GGJGMLK.DB is not an SQLite database")
endif()
file(SIZE "${WORKDIR}/GGJGMLK.DB" size)
message(STATUS "GGJGMLK stayed up and created GGJGMLK.DB (${size} bytes)")
file(REMOVE_RECURSE "${WORKDIR}")
