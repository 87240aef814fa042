# Qt's own texts in Danish on Windows (context menus, standard buttons, Qt's
# dialogs). Qt for Windows as built here has no translations, but a .qm file
# is the same on every platform: Debian's, from the same Qt release, goes
# beside the program in the build tree and in the installation, where the
# program looks first. qtbase_da.qm needs no other catalogue (qt_da.qm is one
# that only names it and the other modules').
include_guard(GLOBAL)
find_file(DALVERO_QTBASE_DA_QM qtbase_da.qm PATHS /usr/share/qt6/translations
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT DALVERO_QTBASE_DA_QM)
    message(FATAL_ERROR "qtbase_da.qm not found in /usr/share/qt6/translations: "
                        "install Debian's qt6-translations-l10n (./setup.sh windows does)")
endif()

# Puts qtbase_da.qm beside the target's program, made again whenever it is
# missing. Call it from the folder that makes the target.
function(dalvero_qt_translations_beside target)
    set(qm ${CMAKE_CURRENT_BINARY_DIR}/qtbase_da.qm)
    add_custom_command(OUTPUT ${qm}
                       COMMAND ${CMAKE_COMMAND} -E copy ${DALVERO_QTBASE_DA_QM} ${qm}
                       DEPENDS ${DALVERO_QTBASE_DA_QM} VERBATIM)
    target_sources(${target} PRIVATE ${qm})
endfunction()
