# Run last by `cmake --install`, and so by cpack: signs every program and
# DLL that was installed (after stripping, which would break a signature).
#   DALVERO_SIGN_SCRIPT   dist/windows/sign.sh
cmake_policy(VERSION 3.25)
file(GLOB_RECURSE binaries LIST_DIRECTORIES false
     "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/*.exe" "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/*.dll")
foreach(binary IN LISTS binaries)
    execute_process(COMMAND "${DALVERO_SIGN_SCRIPT}" "${binary}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
