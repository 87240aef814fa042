# Where the DLLs of a program built for Windows lie on this machine: Qt's bin/
# and the folders of the mingw runtime (libstdc++, libgcc_s, libwinpthread).
# Wine finds them there for the tests, and the installer takes them from there.
get_filename_component(DALVERO_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
set(DALVERO_DLL_FOLDERS ${DALVERO_QT_PREFIX}/bin)
foreach(runtime IN ITEMS libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                    OUTPUT_VARIABLE dll OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${dll}" OR NOT EXISTS "${dll}")
        message(FATAL_ERROR "The mingw runtime DLL ${runtime} was not found")
    endif()
    get_filename_component(folder "${dll}" DIRECTORY)
    file(REAL_PATH "${folder}" folder)
    list(APPEND DALVERO_DLL_FOLDERS ${folder})
endforeach()
