# Makes the user guide's page from docs/brugervejledning.md, the one text of
# the guide: cmark-gfm renders it as GitHub shows it (tables included),
# without its title, between the head made at configure time
# (user-guide-head.html.in), which has the title with the version, and the
# page's end. The screenshots it shows go into a folder docs/ beside the
# page, so that on Windows they do not lie loose among the programs; where
# PICTURE_PREFIX names a screenshot of the same view (windows-start.png for
# start.png), that one is shown instead.
#
#   cmake -DGUIDE=.../docs/brugervejledning.md -DCMARK_GFM=... -DHEAD=... -DOUTPUT_DIR=...
#         -DGUIDE_FILE=... [-DPICTURE_PREFIX=windows-] -P make-user-guide.cmake
cmake_minimum_required(VERSION 3.25)
get_filename_component(source_dir ${GUIDE} DIRECTORY)
set(picture_folder docs)

file(READ ${GUIDE} guide)
string(REGEX MATCH "^# [^\n]*\n" title "${guide}")
if(NOT title)
    message(FATAL_ERROR "${GUIDE} does not begin with its title, \"# ...\"")
endif()
string(LENGTH "${title}" start)
string(SUBSTRING "${guide}" ${start} -1 section)

file(REMOVE_RECURSE ${OUTPUT_DIR})
file(MAKE_DIRECTORY ${OUTPUT_DIR})
get_filename_component(build_dir ${HEAD} DIRECTORY)
set(markdown ${build_dir}/user-guide.md)
file(WRITE ${markdown} "${section}\n")
execute_process(COMMAND ${CMARK_GFM} --extension table --to html INPUT_FILE ${markdown}
                OUTPUT_VARIABLE body COMMAND_ERROR_IS_FATAL ANY)

string(REGEX MATCHALL "<img src=\"[^\"]+\"" shown "${body}")
list(REMOVE_DUPLICATES shown)
foreach(img IN LISTS shown)
    string(REGEX REPLACE "<img src=\"([^\"]+)\"" "\\1" picture "${img}")
    if(DEFINED PICTURE_PREFIX AND EXISTS ${source_dir}/${PICTURE_PREFIX}${picture})
        set(picture ${PICTURE_PREFIX}${picture})
    endif()
    if(NOT EXISTS ${source_dir}/${picture})
        message(FATAL_ERROR "the guide shows ${picture}, which is not in ${source_dir}")
    endif()
    string(REPLACE "${img}" "<img src=\"${picture_folder}/${picture}\"" body "${body}")
    file(COPY ${source_dir}/${picture} DESTINATION ${OUTPUT_DIR}/${picture_folder})
endforeach()

file(READ ${HEAD} head)
file(WRITE ${OUTPUT_DIR}/${GUIDE_FILE} "${head}${body}</body>\n</html>\n")
