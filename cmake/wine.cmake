# Built for Windows on Linux: ctest and gtest_discover_tests run the .exe files
# under Wine, with Qt's DLLs and plugins and the mingw runtime found where they
# lie, without copying them beside every program.
find_program(WINE wine REQUIRED)
get_filename_component(qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE gcc_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                OUTPUT_VARIABLE pthread_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
set(wine_folders ${qt_prefix}/bin)
foreach(dll IN ITEMS ${gcc_runtime} ${pthread_runtime})
    if(NOT IS_ABSOLUTE "${dll}" OR NOT EXISTS "${dll}")
        message(FATAL_ERROR "The mingw runtime DLL ${dll} was not found")
    endif()
    get_filename_component(folder "${dll}" DIRECTORY)
    file(REAL_PATH "${folder}" folder)
    list(APPEND wine_folders ${folder})
endforeach()
# Wine's drive Z: is the Linux root.
list(TRANSFORM wine_folders REPLACE "/" "\\\\")
list(TRANSFORM wine_folders PREPEND "Z:")
list(JOIN wine_folders ";" DALVERO_WINEPATH)
set(DALVERO_WINE_PLUGINS "Z:${qt_prefix}/plugins")
string(REPLACE "/" "\\" DALVERO_WINE_PLUGINS "${DALVERO_WINE_PLUGINS}")
configure_file(cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
