# Makes the user guide's page from the README's "## Brugervejledning"
# section, the one text of the guide: cmark-gfm renders it as GitHub shows
# the README (tables included), between the head made at configure time
# (user-guide-head.html.in) and the page's end, and the screenshots it shows
# go beside it; where PICTURE_PREFIX names a screenshot of the same view
# (docs/windows-start.png for docs/start.png), that one is shown instead.
#
#   cmake -DREADME=... -DCMARK_GFM=... -DHEAD=... -DOUTPUT_DIR=... -DGUIDE_FILE=...
#         [-DPICTURE_PREFIX=windows-] -P make-user-guide.cmake
cmake_minimum_required(VERSION 3.25)
get_filename_component(source_dir ${README} DIRECTORY)

file(READ ${README} readme)
string(FIND "${readme}" "\n## Brugervejledning\n" start)
if(start EQUAL -1)
    message(FATAL_ERROR "no \"## Brugervejledning\" section in ${README}")
endif()
math(EXPR start "${start} + 21")
string(SUBSTRING "${readme}" ${start} -1 section)
string(FIND "${section}" "\n## " end)
string(SUBSTRING "${section}" 0 ${end} section)

file(REMOVE_RECURSE ${OUTPUT_DIR})
file(MAKE_DIRECTORY ${OUTPUT_DIR})
get_filename_component(build_dir ${HEAD} DIRECTORY)
set(markdown ${build_dir}/user-guide.md)
file(WRITE ${markdown} "${section}\n")
execute_process(COMMAND ${CMARK_GFM} --extension table --to html INPUT_FILE ${markdown}
                OUTPUT_VARIABLE body COMMAND_ERROR_IS_FATAL ANY)
# The page's title is its only first-level heading; the section's own
# headings come one level up.
string(REGEX REPLACE "<(/?)h3>" "<\\1h2>" body "${body}")
string(REGEX REPLACE "<(/?)h4>" "<\\1h3>" body "${body}")

string(REGEX MATCHALL "<img src=\"[^\"]+\"" shown "${body}")
list(REMOVE_DUPLICATES shown)
foreach(img IN LISTS shown)
    string(REGEX REPLACE "<img src=\"([^\"]+)\"" "\\1" picture "${img}")
    get_filename_component(folder ${picture} DIRECTORY)
    get_filename_component(name ${picture} NAME)
    if(DEFINED PICTURE_PREFIX AND EXISTS ${source_dir}/${folder}/${PICTURE_PREFIX}${name})
        set(picture ${folder}/${PICTURE_PREFIX}${name})
        string(REPLACE "${img}" "<img src=\"${picture}\"" body "${body}")
    endif()
    if(NOT EXISTS ${source_dir}/${picture})
        message(FATAL_ERROR "the guide shows ${picture}, which is not in ${source_dir}")
    endif()
    file(COPY ${source_dir}/${picture} DESTINATION ${OUTPUT_DIR}/${folder})
endforeach()

file(READ ${HEAD} head)
file(WRITE ${OUTPUT_DIR}/${GUIDE_FILE} "${head}${body}</body>\n</html>\n")
