# Builds the Debian package from an already built tree, unpacks it into a
# scratch root and checks what lands where, what the package depends on, and
# that the desktop entry, icon and metainfo name each other correctly.
#
#   cmake -DBUILD_DIR=... -DSCRATCH=... -DCPACK=... -DDPKG_DEB=... -DAPP_ID=...
#         -DICON_SIZES=16,24,... -DVERSION=... -DGUIDE=share/dalvero/... -P check_package.cmake
cmake_minimum_required(VERSION 3.25)

foreach(var BUILD_DIR SCRATCH CPACK DPKG_DEB APP_ID ICON_SIZES VERSION GUIDE)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "check_package.cmake needs -D${var}=...")
    endif()
endforeach()
string(REPLACE "," ";" ICON_SIZES "${ICON_SIZES}")

set(problems)
macro(problem text)
    list(APPEND problems "${text}")
endmacro()

function(run_or_fail what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${what} failed (${rc}):\n${out}")
    endif()
endfunction()

# A scratch folder of our own, so that a package built by hand in the build
# tree is neither used nor disturbed.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/out ${SCRATCH}/root)

run_or_fail("cpack" ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -G DEB -B ${SCRATCH}/out)
file(GLOB debs ${SCRATCH}/out/*.deb)
list(LENGTH debs deb_count)
if(NOT deb_count EQUAL 1)
    message(FATAL_ERROR "expected one .deb in ${SCRATCH}/out, found: ${debs}")
endif()
run_or_fail("dpkg-deb -x" ${DPKG_DEB} -x ${debs} ${SCRATCH}/root)

# Where the desktop looks for each file; nothing else may be shipped (no
# libraries, headers or test programs).
set(share usr/share)
set(expected
    usr/bin/dalvero
    usr/bin/dalvero-restore
    ${share}/applications/${APP_ID}.desktop
    ${share}/applications/${APP_ID}.Restore.desktop
    ${share}/metainfo/${APP_ID}.metainfo.xml
    ${share}/icons/hicolor/scalable/apps/${APP_ID}.svg)
foreach(size IN LISTS ICON_SIZES)
    list(APPEND expected ${share}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()

# The user guide that F1 opens: it names this version at its top, and the
# screenshots it shows come with it.
set(guide ${SCRATCH}/root/usr/${GUIDE})
list(APPEND expected usr/${GUIDE})
if(EXISTS ${guide})
    file(READ ${guide} page)
    string(FIND "${page}" "<p>Dalvero version ${VERSION}.</p>" at)
    if(at EQUAL -1 OR at GREATER 2000)
        problem("/usr/${GUIDE} does not name version ${VERSION} at its top")
    endif()
    string(REGEX MATCHALL "<img src=\"[^\"]+\"" pictures "${page}")
    get_filename_component(guide_folder usr/${GUIDE} DIRECTORY)
    foreach(picture IN LISTS pictures)
        string(REGEX REPLACE "<img src=\"([^\"]+)\"" "\\1" picture "${picture}")
        list(APPEND expected ${guide_folder}/${picture})
    endforeach()
    if(NOT pictures)
        problem("/usr/${GUIDE} shows no screenshot")
    endif()
endif()

file(GLOB_RECURSE shipped LIST_DIRECTORIES false RELATIVE ${SCRATCH}/root ${SCRATCH}/root/*)
foreach(path IN LISTS expected)
    if(NOT path IN_LIST shipped)
        problem("missing from the package: /${path}")
    endif()
endforeach()
foreach(path IN LISTS shipped)
    if(NOT path IN_LIST expected)
        problem("not expected in the package: /${path}")
    endif()
endforeach()

foreach(name IN ITEMS dalvero dalvero-restore)
    set(program ${SCRATCH}/root/usr/bin/${name})
    execute_process(COMMAND test -x ${program} RESULT_VARIABLE not_executable)
    if(EXISTS ${program} AND not_executable)
        problem("/usr/bin/${name} is not executable")
    endif()
endforeach()

# Each PNG must really have the size its folder promises; the IHDR chunk
# holds width and height as big-endian 32-bit numbers at byte 16.
foreach(size IN LISTS ICON_SIZES)
    set(png ${SCRATCH}/root/${share}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
    if(NOT EXISTS ${png})
        continue()
    endif()
    file(READ ${png} header HEX LIMIT 24)
    string(SUBSTRING "${header}" 0 16 signature)
    string(SUBSTRING "${header}" 32 8 width_hex)
    string(SUBSTRING "${header}" 40 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size
       OR NOT height EQUAL size)
        problem("${size}x${size} icon is not a ${size}x${size} PNG (${width}x${height})")
    endif()
endforeach()

# The names that tie the files together. Exec takes no arguments: any
# argument at all makes the program use its fixed development folder.
set(desktop ${SCRATCH}/root/${share}/applications/${APP_ID}.desktop)
set(restore_desktop ${SCRATCH}/root/${share}/applications/${APP_ID}.Restore.desktop)
set(metainfo ${SCRATCH}/root/${share}/metainfo/${APP_ID}.metainfo.xml)
set(links
    "${desktop}|Exec=dalvero\n"
    "${desktop}|Icon=${APP_ID}\n"
    "${desktop}|Terminal=false\n"
    "${restore_desktop}|Exec=dalvero-restore\n"
    "${restore_desktop}|Icon=${APP_ID}\n"
    "${metainfo}|<launchable type=\"desktop-id\">${APP_ID}.Restore.desktop</launchable>"
    "${metainfo}|<binary>dalvero-restore</binary>"
    "${metainfo}|<id>${APP_ID}</id>"
    "${metainfo}|<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
    "${metainfo}|<binary>dalvero</binary>")
foreach(row IN LISTS links)
    string(FIND "${row}" "|" bar)
    string(SUBSTRING "${row}" 0 ${bar} file)
    math(EXPR from "${bar} + 1")
    string(SUBSTRING "${row}" ${from} -1 wanted)
    if(EXISTS ${file})
        file(READ ${file} text)
        string(FIND "${text}" "${wanted}" at)
        if(at EQUAL -1)
            string(STRIP "${wanted}" shown)
            problem("${file} lacks \"${shown}\"")
        endif()
    endif()
endforeach()

# Dependencies are computed from what the program links: the widgets library
# must be there, and Qt Test must not have slipped into the program.
execute_process(COMMAND ${DPKG_DEB} -f ${debs} Depends OUTPUT_VARIABLE depends
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    problem("cannot read Depends of ${debs}")
endif()
if(NOT depends MATCHES "(^|[ ,])libqt6widgets6[ ,(\n]")
    problem("Depends does not name libqt6widgets6: ${depends}")
endif()
if(depends MATCHES "libqt6test6")
    problem("Depends names libqt6test6, so the program links Qt Test: ${depends}")
endif()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "package ${debs}:\n  ${text}")
endif()
message(STATUS "package ${debs} is complete; Depends: ${depends}")
