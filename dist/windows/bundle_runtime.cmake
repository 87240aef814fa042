# Run by `cmake --install`, and so by cpack: puts beside the installed
# programs the DLLs that they and their Qt plug-ins load, found by following
# their imports (as objdump lists them) through Qt's bin/ and the mingw
# runtime folders, so that a DLL newly needed can never be left out and none
# is shipped that nothing loads. (file(GET_RUNTIME_DEPENDENCIES) would match
# the names in lower case only, which Linux's file names are not.) Set by the caller:
#   DALVERO_EXE           the built programs
#   DALVERO_PLUGINS       type/file pairs: "platforms;.../qwindows.dll;..."
#   DALVERO_DLL_FOLDERS   where our DLLs are found
#   DALVERO_SYSTEM_DLLS   Wine's Windows DLLs, standing in for Windows' own
#   DALVERO_OBJDUMP, DALVERO_STRIP
cmake_policy(VERSION 3.25)
set(prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

set(plugins)
set(pairs ${DALVERO_PLUGINS})
while(pairs)
    list(POP_FRONT pairs type file)
    list(APPEND plugins "${file}")
    file(INSTALL "${file}" DESTINATION "${prefix}/${type}")
    get_filename_component(name "${file}" NAME)
    list(APPEND installed "${prefix}/${type}/${name}")
endwhile()

# Windows finds DLLs whatever the case of their names; so does this lookup.
set(ours)
foreach(folder IN LISTS DALVERO_DLL_FOLDERS)
    file(GLOB found LIST_DIRECTORIES false "${folder}/*.dll")
    foreach(dll IN LISTS found)
        get_filename_component(name "${dll}" NAME)
        string(TOLOWER "${name}" name)
        if(NOT DEFINED "path_${name}")
            set("path_${name}" "${dll}")
            list(APPEND ours "${name}")
        endif()
    endforeach()
endforeach()

set(queue "${DALVERO_EXE}" ${plugins})
set(dlls)
while(queue)
    list(POP_FRONT queue file)
    execute_process(COMMAND "${DALVERO_OBJDUMP}" -p "${file}" OUTPUT_VARIABLE dump
                    COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
    foreach(import IN LISTS imports)
        string(REGEX REPLACE "^DLL Name: " "" name "${import}")
        string(STRIP "${name}" name)
        string(TOLOWER "${name}" name)
        if(name IN_LIST ours)
            if(NOT "${path_${name}}" IN_LIST dlls)
                list(APPEND dlls "${path_${name}}")
                list(APPEND queue "${path_${name}}")
            endif()
        # Names that Windows maps onto its own DLLs; no file has them.
        elseif(name MATCHES "^(api|ext)-ms-")
        # What is not ours must be Windows' own: anything else would be
        # missing on the user's machine, and the program would not start.
        elseif(NOT EXISTS "${DALVERO_SYSTEM_DLLS}/${name}")
            message(FATAL_ERROR "${file} imports ${name}, found neither among the program's "
                                "DLLs (${DALVERO_DLL_FOLDERS}) nor among Windows' own")
        endif()
    endforeach()
endwhile()

foreach(dll IN LISTS dlls)
    file(INSTALL "${dll}" DESTINATION "${prefix}" FOLLOW_SYMLINK_CHAIN)
    get_filename_component(name "${dll}" NAME)
    list(APPEND installed "${prefix}/${name}")
endforeach()

# Qt's DLLs carry their symbols: the installer would be twice the size.
if(CMAKE_INSTALL_DO_STRIP)
    foreach(file IN LISTS installed)
        execute_process(COMMAND "${DALVERO_STRIP}" --strip-unneeded "${file}"
                        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endif()
