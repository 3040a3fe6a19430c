cmake_minimum_required(VERSION 3.21)

# Fails when a text of the program has no good English translation.
#   cmake -DLUPDATE=... -DSOURCE_DIR=... -DWORK_DIR=... -P check_translations.cmake
# Runs lupdate over the program's sources into a copy of the translation
# file (existing translations kept, texts no longer used dropped), then
# fails on:
#  - a folder holding program code (C++ sources or forms) that
#    app/translations/sources.lst does not list: its texts would never reach
#    the translation;
#  - a form (.ui) of a listed folder whose texts lupdate did not find;
#  - a translation call whose text is not written out in the call (a helper
#    such as `QString text(const char *s) { return translate("QObject", s); }`)
#    in a file that marks no text with QT_TRANSLATE_NOOP / QT_TR_NOOP:
#    lupdate cannot see those texts, so they stay French;
#  - an entry left unfinished or empty;
#  - a translation still in French (accented French letters);
#  - a translation whose placeholders (%1, %2, ...) differ from its source's.
# scripts/update-translations runs the same lupdate on the real file.
foreach(var LUPDATE SOURCE_DIR WORK_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "check_translations: ${var} is not set")
    endif()
endforeach()

set(problems "")
set(problem_count 0)
macro(add_problem text)
    string(APPEND problems "  ${text}\n")
    math(EXPR problem_count "${problem_count} + 1")
endmacro()

# Unescapes the XML of a .ts text for the report.
function(plain_text out text)
    string(REPLACE "@SEMICOLON@" ";" text "${text}")
    string(REPLACE "&apos;" "'" text "${text}")
    string(REPLACE "&quot;" "\"" text "${text}")
    string(REPLACE "&lt;" "<" text "${text}")
    string(REPLACE "&gt;" ">" text "${text}")
    string(REPLACE "&amp;" "&" text "${text}")
    string(REPLACE "\n" "\\n" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The sorted, distinct placeholders (%1 ... %99) of a text.
function(placeholders out text)
    string(REGEX MATCHALL "%[1-9][0-9]?" found "${text}")
    if(found)
        list(REMOVE_DUPLICATES found)
        list(SORT found)
    endif()
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(ts ${SOURCE_DIR}/app/translations/corvanenavigator_en.ts)
set(copy ${WORK_DIR}/corvanenavigator_en.ts)
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY_FILE ${ts} ${copy})

file(STRINGS ${SOURCE_DIR}/app/translations/sources.lst folders REGEX "^[^#].*[^ ]")

# Every top-level folder with program code must be listed. Tests, tools and
# build trees are not part of the program.
file(GLOB top_entries LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
foreach(entry IN LISTS top_entries)
    if(NOT IS_DIRECTORY ${SOURCE_DIR}/${entry}
       OR entry MATCHES "^(\\.|build|tests$|tools$|demo$|docs$|scripts$)")
        continue()
    endif()
    file(GLOB_RECURSE code RELATIVE ${SOURCE_DIR}
        ${SOURCE_DIR}/${entry}/*.cpp ${SOURCE_DIR}/${entry}/*.h ${SOURCE_DIR}/${entry}/*.ui)
    list(FILTER code EXCLUDE REGEX "/node_modules/")
    if(code AND NOT entry IN_LIST folders)
        list(GET code 0 example)
        add_problem("the folder ${entry}/ holds program code (${example}) but app/translations/sources.lst does not list it")
    endif()
endforeach()

# The files lupdate reads: the C++ sources and forms of the listed folders,
# without the page's JavaScript packages. Translation calls lupdate cannot
# read are reported on the way.
set(forms "")
set(sources "")
foreach(folder IN LISTS folders)
    if(NOT IS_DIRECTORY ${SOURCE_DIR}/${folder})
        add_problem("app/translations/sources.lst lists ${folder}, which is not a folder")
        continue()
    endif()
    file(GLOB_RECURSE code RELATIVE ${SOURCE_DIR}
        ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
    file(GLOB_RECURSE folder_forms RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.ui)
    list(FILTER code EXCLUDE REGEX "/node_modules/")
    list(FILTER folder_forms EXCLUDE REGEX "/node_modules/")
    list(APPEND forms ${folder_forms})
    list(APPEND sources ${code} ${folder_forms})
    foreach(file IN LISTS code)
        file(READ ${SOURCE_DIR}/${file} source)
        if(source MATCHES "QT_TRANSLATE_NOOP|QT_TR_NOOP")
            continue()
        endif()
        set(call "")
        if(source MATCHES "translate\\([ \t\r\n]*\"[^\"]*\"[ \t\r\n]*,[ \t\r\n]*[A-Za-z_][^\n]*")
            set(call "${CMAKE_MATCH_0}")
        elseif(source MATCHES "[^A-Za-z0-9_]tr\\([ \t\r\n]*[A-Za-z_][^\n]*")
            set(call "${CMAKE_MATCH_0}")
        endif()
        if(call)
            string(STRIP "${call}" call)
            add_problem("${file}: the translation call `${call}` hides its texts from lupdate (write the text in the call, or mark it with QT_TRANSLATE_NOOP)")
        endif()
    endforeach()
endforeach()

if(NOT sources)
    message(FATAL_ERROR "check_translations: no source file in the folders of app/translations/sources.lst")
endif()
list(JOIN sources "\n" source_lines)
file(WRITE ${WORK_DIR}/sources.txt "${source_lines}\n")
execute_process(
    COMMAND ${LUPDATE} -locations none -no-obsolete -extensions cpp,h,ui
            -source-language fr -target-language en -I . @${WORK_DIR}/sources.txt -ts ${copy}
    WORKING_DIRECTORY ${SOURCE_DIR}
    RESULT_VARIABLE result
    OUTPUT_QUIET
    ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "check_translations: lupdate failed (${result}):\n${errors}")
endif()

file(READ ${copy} content)

# Every form with texts gives lupdate a context named after its class.
foreach(form IN LISTS forms)
    file(READ ${SOURCE_DIR}/${form} ui)
    if(NOT ui MATCHES "<string>[^<]" OR NOT ui MATCHES "<class>([^<]+)</class>")
        continue()
    endif()
    if(NOT content MATCHES "<name>${CMAKE_MATCH_1}</name>")
        add_problem("${form}: lupdate found none of the texts of this form")
    endif()
endforeach()

# Lists are split at semicolons: park them first.
string(REPLACE ";" "@SEMICOLON@" content "${content}")
string(REPLACE "</context>" ";" contexts "${content}")
set(total 0)
foreach(context IN LISTS contexts)
    string(REGEX MATCH "<name>([^<]*)</name>" _ "${context}")
    set(name "${CMAKE_MATCH_1}")
    string(REPLACE "</message>" ";" messages "${context}")
    foreach(msg IN LISTS messages)
        if(NOT msg MATCHES "<source>([^<]*)</source>")
            continue()
        endif()
        set(source "${CMAKE_MATCH_1}")
        math(EXPR total "${total} + 1")
        plain_text(shown "${source}")
        if(msg MATCHES "type=\"(unfinished|vanished|obsolete)\"" OR msg MATCHES "<translation></translation>"
           OR msg MATCHES "<translation/>" OR msg MATCHES "<numerusform")
            add_problem("${name}: no finished translation for \"${shown}\"")
            continue()
        endif()
        if(NOT msg MATCHES "<translation>([^<]*)</translation>")
            add_problem("${name}: unreadable entry for \"${shown}\"")
            continue()
        endif()
        set(translation "${CMAKE_MATCH_1}")
        if(translation MATCHES "(à|â|ç|é|è|ê|ë|î|ï|ô|œ|ù|û|À|Â|Ç|É|È|Ê|Î|Ô|Ù|Û)")
            plain_text(english "${translation}")
            add_problem("${name}: the translation of \"${shown}\" is still French: \"${english}\"")
        endif()
        placeholders(wanted "${source}")
        placeholders(given "${translation}")
        if(NOT wanted STREQUAL given)
            plain_text(english "${translation}")
            add_problem("${name}: the translation of \"${shown}\" has the placeholders [${given}] instead of [${wanted}]: \"${english}\"")
        endif()
    endforeach()
endforeach()

if(total EQUAL 0)
    message(FATAL_ERROR "check_translations: lupdate found no text at all")
endif()
if(problem_count GREATER 0)
    message(FATAL_ERROR "${problem_count} problem(s) with the English translation of ${total} texts "
        "(run scripts/update-translations, then translate in "
        "app/translations/corvanenavigator_en.ts):\n${problems}")
endif()
message(STATUS "All ${total} texts have an English translation.")
