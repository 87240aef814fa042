# The user guide's page, made at build time from the README's
# "## Brugervejledning" section (make-user-guide.cmake), with the screenshots
# it shows, into the build tree's share/dalvero: the programs find it there
# when run from the build tree, and both packages install it from there.
set(DALVERO_GUIDE_DIR ${PROJECT_BINARY_DIR}/${DALVERO_GUIDE_FOLDER})
set(guide_page ${DALVERO_GUIDE_DIR}/${DALVERO_GUIDE_FILE})
file(GLOB guide_pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.png)
# Where the copies and the licences lie differs, and the page says so first.
if(WIN32)
    set(guide_platform Windows)
else()
    set(guide_platform Linux)
endif()
set(guide_script ${CMAKE_CURRENT_LIST_DIR}/make-user-guide.cmake)
add_custom_command(
    OUTPUT ${guide_page}
    COMMAND ${CMAKE_COMMAND} -DREADME=${PROJECT_SOURCE_DIR}/README.md
            -DOUTPUT_DIR=${DALVERO_GUIDE_DIR} -DGUIDE_FILE=${DALVERO_GUIDE_FILE}
            -DVERSION=${PROJECT_VERSION}
            -DBACKUP_HEADER=${PROJECT_SOURCE_DIR}/conversion/backup.h
            -DPLATFORM=${guide_platform} -DLICENCE_FOLDER=${DALVERO_LICENCE_FOLDER}
            -P ${guide_script}
    DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${guide_script}
            ${PROJECT_SOURCE_DIR}/conversion/backup.h ${guide_pictures}
    COMMENT "Making the user guide's page from the README"
    VERBATIM)
add_custom_target(dalvero_user_guide ALL DEPENDS ${guide_page})
# F1 finds the page wherever a window is built, the tests' windows included.
add_dependencies(dalvero_ui dalvero_user_guide)
