# The user guide's page, made at build time from docs/brugervejledning.md
# (make-user-guide.cmake), with the screenshots
# it shows, into the build tree's share/dalvero: the programs find it there
# when run from the build tree, and both packages install it from there.
find_program(CMARK_GFM cmark-gfm REQUIRED)
set(guide_text ${PROJECT_SOURCE_DIR}/docs/brugervejledning.md)
set(DALVERO_GUIDE_DIR ${PROJECT_BINARY_DIR}/${DALVERO_GUIDE_FOLDER})
set(guide_page ${DALVERO_GUIDE_DIR}/${DALVERO_GUIDE_FILE})
file(GLOB guide_pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.png)
# What the user looks for first: which version this is, where the copies
# lie, and the licences of what comes with it. Windows shows its own
# screenshots where there are some.
set(folder "<code>${DALVERO_BACKUP_FOLDER}</code>")
if(WIN32)
    set(guide_pictures_prefix -DPICTURE_PREFIX=windows-)
    set(guide_where_copies
        "Sikkerhedskopierne ligger i mappen ${folder} i din brugermappe, <code>%USERPROFILE%\\${DALVERO_BACKUP_FOLDER}</code>, når du starter Dalvero fra menuen Start eller skrivebordet (ellers i den mappe, programmet startes fra).")
    set(guide_licences
        "Dalvero bruger Qt, som følger med under GNU Lesser General Public License version 3 (LGPL v3), og mingw-w64's køretidsbiblioteker. Licensteksterne ligger i programmappen i <a href=\"${DALVERO_LICENCE_FOLDER}/Qt/LGPL-3.txt\"><code>${DALVERO_LICENCE_FOLDER}\\Qt</code></a> og <code>${DALVERO_LICENCE_FOLDER}\\mingw-w64</code>.")
else()
    set(guide_pictures_prefix)
    set(guide_where_copies
        "Sikkerhedskopierne ligger i mappen ${folder} i den mappe, programmet startes fra; fra programmenuen er det din hjemmemappe, <code>~/${DALVERO_BACKUP_FOLDER}</code>.")
    set(guide_licences
        "Dalvero bruger Qt fra Debian under GNU Lesser General Public License version 3 (LGPL v3): licensteksten står i <a href=\"file:///usr/share/common-licenses/LGPL-3\"><code>/usr/share/common-licenses/LGPL-3</code></a>, og Qt's ophavsret i <code>/usr/share/doc/libqt6core6/copyright</code>.")
endif()
set(guide_head ${PROJECT_BINARY_DIR}/user-guide-head.html)
configure_file(${CMAKE_CURRENT_LIST_DIR}/user-guide-head.html.in ${guide_head} @ONLY)
set(guide_script ${CMAKE_CURRENT_LIST_DIR}/make-user-guide.cmake)
add_custom_command(
    OUTPUT ${guide_page}
    COMMAND ${CMAKE_COMMAND} -DGUIDE=${guide_text} -DCMARK_GFM=${CMARK_GFM}
            -DHEAD=${guide_head} -DOUTPUT_DIR=${DALVERO_GUIDE_DIR}
            -DGUIDE_FILE=${DALVERO_GUIDE_FILE} ${guide_pictures_prefix} -P ${guide_script}
    DEPENDS ${guide_text} ${guide_script} ${guide_head} ${guide_pictures}
    COMMENT "Making the user guide's page from ${guide_text}"
    VERBATIM)
add_custom_target(dalvero_user_guide ALL DEPENDS ${guide_page})
# F1 finds the page wherever a window is built, the tests' windows included.
add_dependencies(dalvero_ui dalvero_user_guide)
