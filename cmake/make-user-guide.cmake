# Makes the user guide's page from the README's "## Brugervejledning" section,
# the one text of the guide, with the screenshots it shows beside it:
#
#   cmake -DREADME=... -DOUTPUT_DIR=... -DGUIDE_FILE=... -DVERSION=...
#         -DBACKUP_HEADER=.../backup.h -DPLATFORM=Linux|Windows
#         [-DLICENCE_FOLDER=licenser] -P make-user-guide.cmake
#
# It knows the little Markdown the section uses: headings, paragraphs, lists
# (one inside another, with paragraphs of their own), a table, pictures,
# `code`, **bold** and *italics*.
cmake_minimum_required(VERSION 3.25)

foreach(var README OUTPUT_DIR GUIDE_FILE VERSION BACKUP_HEADER PLATFORM)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "make-user-guide.cmake needs -D${var}=...")
    endif()
endforeach()
get_filename_component(source_dir ${README} DIRECTORY)

# The folder's name as the program has it.
file(STRINGS ${BACKUP_HEADER} folder_line REGEX "kBackupFolderName = ")
string(REGEX REPLACE ".*QStringLiteral\\(\"([^\"]+)\"\\).*" "\\1" backup_folder "${folder_line}")
if(backup_folder STREQUAL "" OR backup_folder STREQUAL folder_line)
    message(FATAL_ERROR "no kBackupFolderName in ${BACKUP_HEADER}")
endif()

# Characters that CMake's lists or HTML would read are kept as tokens until
# the page is written out.
function(tokens out text)
    string(REPLACE "&" "{{amp}}" text "${text}")
    string(REPLACE "<" "{{lt}}" text "${text}")
    string(REPLACE ">" "{{gt}}" text "${text}")
    string(REPLACE ";" "{{semi}}" text "${text}")
    string(REPLACE "[" "{{lb}}" text "${text}")
    string(REPLACE "]" "{{rb}}" text "${text}")
    string(REPLACE "\\" "{{bs}}" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(pictures)
function(inline out text)
    string(REGEX MATCHALL "!{{lb}}[^{]*{{rb}}\\([^)]*\\)" shown "${text}")
    foreach(picture IN LISTS shown)
        string(REGEX REPLACE ".*\\(([^)]*)\\)" "\\1" src "${picture}")
        list(APPEND pictures ${src})
    endforeach()
    set(pictures ${pictures} PARENT_SCOPE)
    string(REGEX REPLACE "!{{lb}}([^{]*){{rb}}\\(([^)]*)\\)" "<img src=\"\\2\" alt=\"\\1\">"
                         text "${text}")
    string(REGEX REPLACE "{{lb}}([^{]*){{rb}}\\(([^)]*)\\)" "<a href=\"\\2\">\\1</a>" text
                         "${text}")
    string(REGEX REPLACE "`([^`]*)`" "<code>\\1</code>" text "${text}")
    string(REGEX REPLACE "\\*\\*([^*]+)\\*\\*" "<strong>\\1</strong>" text "${text}")
    string(REGEX REPLACE "\\*([^*]+)\\*" "<em>\\1</em>" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(READ ${README} readme)
tokens(readme "${readme}")
string(REPLACE "\n" ";" lines "${readme}")
set(section)
set(inside FALSE)
foreach(line IN LISTS lines)
    if(line MATCHES "^## ")
        if(line STREQUAL "## Brugervejledning")
            set(inside TRUE)
            continue()
        elseif(inside)
            break()
        endif()
    endif()
    if(inside)
        list(APPEND section "${line}")
    endif()
endforeach()
if(NOT section)
    message(FATAL_ERROR "no \"## Brugervejledning\" section in ${README}")
endif()

set(html)
set(para)
set(lists) # the open lists, innermost last: "ul|marker column|text column"
set(in_table FALSE)
set(after_blank FALSE)

macro(flush_para)
    if(NOT "${para}" STREQUAL "")
        inline(para "${para}")
        string(APPEND html "<p>${para}</p>\n")
        set(para)
    endif()
endmacro()
macro(close_list)
    list(POP_BACK lists top)
    string(REGEX REPLACE "\\|.*" "" top_type "${top}")
    string(APPEND html "</li></${top_type}>\n")
endmacro()
macro(close_table)
    if(in_table)
        string(APPEND html "</table>\n")
        set(in_table FALSE)
    endif()
endmacro()
macro(top_columns)
    list(GET lists -1 top)
    string(REGEX REPLACE "^[a-z]+\\|([0-9]+)\\|([0-9]+)$" "\\1" top_marker "${top}")
    string(REGEX REPLACE "^[a-z]+\\|([0-9]+)\\|([0-9]+)$" "\\2" top_text "${top}")
endmacro()

foreach(line IN LISTS section)
    if(line MATCHES "^[ ]*$")
        flush_para()
        close_table()
        set(after_blank TRUE)
        continue()
    endif()
    set(column 0)
    if(line MATCHES "^( +)")
        string(LENGTH "${CMAKE_MATCH_1}" column)
    endif()
    if(line MATCHES "^(#+) (.*)$")
        flush_para()
        close_table()
        while(lists)
            close_list()
        endwhile()
        string(LENGTH "${CMAKE_MATCH_1}" level)
        math(EXPR level "${level} - 1")
        inline(heading "${CMAKE_MATCH_2}")
        string(APPEND html "<h${level}>${heading}</h${level}>\n")
    elseif(line MATCHES "^\\|")
        flush_para()
        while(lists)
            close_list()
        endwhile()
        if(line MATCHES "^\\|[-|: ]+\\|$")
            set(after_blank FALSE)
            continue()
        endif()
        set(cell td)
        if(NOT in_table)
            string(APPEND html "<table>\n")
            set(in_table TRUE)
            set(cell th)
        endif()
        string(REGEX REPLACE "^\\| *(.*[^ ]) *\\|$" "\\1" row "${line}")
        string(REGEX REPLACE " *\\| *" ";" cells "${row}")
        string(APPEND html "<tr>")
        foreach(text IN LISTS cells)
            inline(text "${text}")
            string(APPEND html "<${cell}>${text}</${cell}>")
        endforeach()
        string(APPEND html "</tr>\n")
    elseif(line MATCHES "^( *)([-*]|[0-9]+\\.) (.*)$")
        flush_para()
        set(text_line "${CMAKE_MATCH_3}")
        string(LENGTH "${CMAKE_MATCH_1}" marker)
        string(LENGTH "${CMAKE_MATCH_2}" marker_width)
        math(EXPR text_column "${marker} + ${marker_width} + 1")
        set(type ul)
        if(CMAKE_MATCH_2 MATCHES "^[0-9]")
            set(type ol)
        endif()
        set(opened FALSE)
        while(lists)
            top_columns()
            if(top_marker GREATER marker)
                close_list()
            elseif(top_marker EQUAL marker AND top MATCHES "^${type}\\|")
                string(APPEND html "</li>\n<li>")
                set(opened TRUE)
                break()
            elseif(top_marker EQUAL marker)
                close_list()
            else()
                break()
            endif()
        endwhile()
        if(NOT opened)
            string(APPEND html "<${type}>\n<li>")
            list(APPEND lists "${type}|${marker}|${text_column}")
        endif()
        set(para "${text_line}")
    else()
        # After a blank line, a line less indented than an item's text
        # belongs to the list around it, or to none.
        if(after_blank)
            while(lists)
                top_columns()
                if(top_text GREATER column)
                    close_list()
                else()
                    break()
                endif()
            endwhile()
        endif()
        string(STRIP "${line}" text_line)
        if("${para}" STREQUAL "")
            set(para "${text_line}")
        else()
            string(APPEND para " ${text_line}")
        endif()
    endif()
    set(after_blank FALSE)
endforeach()
flush_para()
close_table()
while(lists)
    close_list()
endwhile()

# What the user looks for first: which version this is, where the copies
# lie, and the licences of what comes with it.
if(PLATFORM STREQUAL "Windows")
    set(where_copies
        "Sikkerhedskopierne ligger i mappen <code>${backup_folder}</code> i din brugermappe, <code>%USERPROFILE%\\${backup_folder}</code>, når du starter Dalvero fra menuen Start eller skrivebordet (ellers i den mappe, programmet startes fra).")
    set(licences
        "Dalvero bruger Qt, som følger med under GNU Lesser General Public License version 3 (LGPL v3), og mingw-w64's køretidsbiblioteker. Licensteksterne ligger i programmappen i <a href=\"${LICENCE_FOLDER}/Qt/LGPL-3.txt\"><code>${LICENCE_FOLDER}\\Qt</code></a> og <code>${LICENCE_FOLDER}\\mingw-w64</code>.")
else()
    set(where_copies
        "Sikkerhedskopierne ligger i mappen <code>${backup_folder}</code> i den mappe, programmet startes fra; fra programmenuen er det din hjemmemappe, <code>~/${backup_folder}</code>.")
    set(licences
        "Dalvero bruger Qt fra Debian under GNU Lesser General Public License version 3 (LGPL v3): licensteksten står i <a href=\"file:///usr/share/common-licenses/LGPL-3\"><code>/usr/share/common-licenses/LGPL-3</code></a>, og Qt's ophavsret i <code>/usr/share/doc/libqt6core6/copyright</code>.")
endif()

set(page "<!DOCTYPE html>
<html lang=\"da\">
<head>
<meta charset=\"utf-8\">
<title>Dalvero ${VERSION} – brugervejledning</title>
<style>
body { font-family: sans-serif; max-width: 52em; margin: 1em auto; padding: 0 1em; line-height: 1.4; }
img { max-width: 100%; border: 1px solid #ccc; }
code { background: #f2f2f2; padding: 0 0.2em; }
table { border-collapse: collapse; }
th, td { border: 1px solid #bbb; padding: 0.3em; vertical-align: top; text-align: left; }
li > p { margin: 0.3em 0; }
.om { background: #eef4fb; padding: 0.5em 1em; }
</style>
</head>
<body>
<h1>Dalvero ${VERSION} – brugervejledning</h1>
<div class=\"om\">
<p>Dalvero version ${VERSION}.</p>
<p>${where_copies}</p>
<p>${licences}</p>
</div>
${html}</body>
</html>
")
string(REPLACE "{{amp}}" "&amp;" page "${page}")
string(REPLACE "{{lt}}" "&lt;" page "${page}")
string(REPLACE "{{gt}}" "&gt;" page "${page}")
string(REPLACE "{{semi}}" ";" page "${page}")
string(REPLACE "{{lb}}" "[" page "${page}")
string(REPLACE "{{rb}}" "]" page "${page}")
string(REPLACE "{{bs}}" "\\" page "${page}")

# The pictures the page shows, and no others.
file(REMOVE_RECURSE ${OUTPUT_DIR})
file(MAKE_DIRECTORY ${OUTPUT_DIR})
list(REMOVE_DUPLICATES pictures)
foreach(picture IN LISTS pictures)
    if(NOT EXISTS ${source_dir}/${picture})
        message(FATAL_ERROR "the guide shows ${picture}, which is not in ${source_dir}")
    endif()
    get_filename_component(folder ${picture} DIRECTORY)
    file(COPY ${source_dir}/${picture} DESTINATION ${OUTPUT_DIR}/${folder})
endforeach()
file(WRITE ${OUTPUT_DIR}/${GUIDE_FILE} "${page}")
