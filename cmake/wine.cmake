# Built for Windows on Linux: ctest and gtest_discover_tests run the .exe files
# under Wine, with Qt's DLLs and plugins and the mingw runtime found where they
# lie, without copying them beside every program.
find_program(WINE wine REQUIRED)
include(${CMAKE_CURRENT_LIST_DIR}/windows-dlls.cmake)
set(wine_folders ${DALVERO_DLL_FOLDERS})
# Wine's drive Z: is the Linux root.
list(TRANSFORM wine_folders REPLACE "/" "\\\\")
list(TRANSFORM wine_folders PREPEND "Z:")
list(JOIN wine_folders ";" DALVERO_WINEPATH)
set(DALVERO_WINE_PLUGINS "Z:${DALVERO_QT_PREFIX}/plugins")
string(REPLACE "/" "\\" DALVERO_WINE_PLUGINS "${DALVERO_WINE_PLUGINS}")
configure_file(cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
