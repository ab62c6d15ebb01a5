# The libraries of the MinGW-w64 build, as scripts/fetch-windows-libraries unpacks them into
# MLK_WINDOWS_LIBRARIES: SQLite's amalgamation and libxlsxwriter's sources, compiled here, and
# Debian's static MinGW-w64 zlib. Other projects' code: our warning flags are not for it.
enable_language(C)
set(libraries ${MLK_WINDOWS_LIBRARIES})
foreach(file sqlite/sqlite3.c zlib/lib/libz.a libxlsxwriter/src/workbook.c)
    if(NOT EXISTS ${libraries}/${file})
        message(FATAL_ERROR "${libraries}/${file} is missing: run scripts/fetch-windows-libraries")
    endif()
endforeach()

add_library(mlksqlite STATIC ${libraries}/sqlite/sqlite3.c)
target_include_directories(mlksqlite SYSTEM PUBLIC ${libraries}/sqlite)
# No debug information for a 9 MB file that is never debugged here.
target_compile_options(mlksqlite PRIVATE -g0 -w)
add_library(SQLite::SQLite3 ALIAS mlksqlite)

add_library(ZLIB::ZLIB STATIC IMPORTED)
set_target_properties(ZLIB::ZLIB PROPERTIES IMPORTED_LOCATION ${libraries}/zlib/lib/libz.a
    INTERFACE_INCLUDE_DIRECTORIES ${libraries}/zlib/include)

# With the options of its own CMake build that apply here: its bundled minizip with the Windows
# file functions (file names go to the system as UTF-16) and tmpfileplus, no MD5 (used only to
# tell images apart) and no encryption.
set(xlsxwriter ${libraries}/libxlsxwriter)
file(GLOB xlsxwriter_sources ${xlsxwriter}/src/*.c)
add_library(mlkxlsxwriter STATIC ${xlsxwriter_sources}
    ${xlsxwriter}/third_party/minizip/ioapi.c ${xlsxwriter}/third_party/minizip/zip.c
    ${xlsxwriter}/third_party/minizip/iowin32.c ${xlsxwriter}/third_party/tmpfileplus/tmpfileplus.c)
target_include_directories(mlkxlsxwriter SYSTEM PUBLIC ${xlsxwriter}/include)
target_include_directories(mlkxlsxwriter PRIVATE ${xlsxwriter}/include/xlsxwriter/third_party)
target_compile_definitions(mlkxlsxwriter PRIVATE USE_NO_MD5 NOCRYPT NOUNCRYPT USE_FILE32API)
target_compile_options(mlkxlsxwriter PRIVATE -w)
target_link_libraries(mlkxlsxwriter PUBLIC ZLIB::ZLIB)
