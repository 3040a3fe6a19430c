cmake_minimum_required(VERSION 3.21)

# Runs check_translations.cmake over small source trees, one per case, and
# fails unless each tree passes or fails the check as expected, with the
# expected words in its report.
#   cmake -DLUPDATE=... -DCHECK_SCRIPT=... -DWORK_DIR=... -P check_translations_selftest.cmake
foreach(var LUPDATE CHECK_SCRIPT WORK_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "check_translations_selftest: ${var} is not set")
    endif()
endforeach()

set(failures "")
set(cases 0)

# A translation file: pairs of source and translation; the translation
# "UNFINISHED" gives an unfinished entry. All in the QObject context.
function(ts_text out)
    string(CONCAT xml "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
            "<TS version=\"2.1\" language=\"en\" sourcelanguage=\"fr\">\n<context>\n    <name>QObject</name>\n")
    set(args ${ARGN})
    while(args)
        list(POP_FRONT args source translation)
        if(translation STREQUAL "UNFINISHED")
            string(APPEND xml "    <message>\n        <source>${source}</source>\n"
                              "        <translation type=\"unfinished\"></translation>\n    </message>\n")
        else()
            string(APPEND xml "    <message>\n        <source>${source}</source>\n"
                              "        <translation>${translation}</translation>\n    </message>\n")
        endif()
    endwhile()
    string(APPEND xml "</context>\n</TS>\n")
    set(${out} "${xml}" PARENT_SCOPE)
endfunction()

# check_case(NAME name PASS|FAIL EXPECT regex TS xml LIST folders FILES path text ...)
function(check_case)
    cmake_parse_arguments(C "PASS;FAIL" "NAME;EXPECT;TS;LIST" "FILES" ${ARGN})
    set(tree ${WORK_DIR}/${C_NAME}/src)
    file(REMOVE_RECURSE ${WORK_DIR}/${C_NAME})
    file(WRITE ${tree}/app/translations/corvanenavigator_en.ts "${C_TS}")
    file(WRITE ${tree}/app/translations/sources.lst "# folders\n${C_LIST}\n")
    set(files ${C_FILES})
    while(files)
        list(POP_FRONT files path text)
        # Fixture texts write @SC@ for semicolons, which would split the lists.
        string(REPLACE "@SC@" ";" text "${text}")
        file(WRITE ${tree}/${path} "${text}")
    endwhile()
    execute_process(
        COMMAND ${CMAKE_COMMAND} -DLUPDATE=${LUPDATE} -DSOURCE_DIR=${tree}
                -DWORK_DIR=${WORK_DIR}/${C_NAME}/work -P ${CHECK_SCRIPT}
        RESULT_VARIABLE result
        OUTPUT_VARIABLE output
        ERROR_VARIABLE output)
    set(why "")
    if(C_PASS AND NOT result EQUAL 0)
        set(why "expected to pass, failed")
    elseif(C_FAIL AND result EQUAL 0)
        set(why "expected to fail, passed")
    elseif(NOT output MATCHES "${C_EXPECT}")
        set(why "the report lacks \"${C_EXPECT}\"")
    endif()
    if(why)
        set(failures "${failures}  ${C_NAME}: ${why}:\n${output}\n" PARENT_SCOPE)
    endif()
    math(EXPR n "${cases} + 1")
    set(cases ${n} PARENT_SCOPE)
endfunction()

set(hello [=[
#include <QCoreApplication>
QString hello() { return QCoreApplication::translate("QObject", "Bonjour")@SC@ }
]=])
set(file_text [=[
#include <QCoreApplication>
QString name(const QString &f) { return QCoreApplication::translate("QObject", "Fichier %1 ligne %2").arg(f, f)@SC@ }
]=])

ts_text(ts_hello "Bonjour" "Hello")

check_case(NAME complete PASS EXPECT "All 1 texts have an English translation"
    TS "${ts_hello}" LIST "app" FILES app/hello.cpp "${hello}")

ts_text(ts_unfinished "Bonjour" UNFINISHED)
check_case(NAME unfinished_entry FAIL EXPECT "QObject: no finished translation for \"Bonjour\""
    TS "${ts_unfinished}" LIST "app" FILES app/hello.cpp "${hello}")

check_case(NAME new_text_not_translated FAIL EXPECT "no finished translation for \"Au revoir\""
    TS "${ts_hello}" LIST "app"
    FILES app/hello.cpp "${hello}"
          app/bye.cpp "#include <QCoreApplication>\nQString bye() { return QCoreApplication::translate(\"QObject\", \"Au revoir\")@SC@ }\n")

ts_text(ts_french "Bonjour" "Déjà bonjour")
check_case(NAME translation_left_french FAIL EXPECT "still French: \"Déjà bonjour\""
    TS "${ts_french}" LIST "app" FILES app/hello.cpp "${hello}")

ts_text(ts_quotes "Bonjour" "“Hello”")
check_case(NAME typographic_quotes_are_english PASS EXPECT "All 1 texts"
    TS "${ts_quotes}" LIST "app" FILES app/hello.cpp "${hello}")

ts_text(ts_lost "Fichier %1 ligne %2" "File %1")
check_case(NAME placeholder_lost FAIL EXPECT "has the placeholders \\[%1\\] instead of \\[%1.%2\\]"
    TS "${ts_lost}" LIST "app" FILES app/file.cpp "${file_text}")

ts_text(ts_swapped "Fichier %1 ligne %2" "Line %2 of file %1")
check_case(NAME placeholders_reordered PASS EXPECT "All 1 texts"
    TS "${ts_swapped}" LIST "app" FILES app/file.cpp "${file_text}")

ts_text(ts_stale "Bonjour" "Hello" "Ancien texte" UNFINISHED)
check_case(NAME vanished_text_dropped PASS EXPECT "All 1 texts"
    TS "${ts_stale}" LIST "app" FILES app/hello.cpp "${hello}")

check_case(NAME folder_not_listed FAIL EXPECT "the folder io/ holds program code \\(io/import.cpp\\)"
    TS "${ts_hello}" LIST "app"
    FILES app/hello.cpp "${hello}" io/import.cpp "int import() { return 0@SC@ }\n")

check_case(NAME listed_folder_missing FAIL EXPECT "lists simlink, which is not a folder"
    TS "${ts_hello}" LIST "app\nsimlink" FILES app/hello.cpp "${hello}")

check_case(NAME tests_tools_and_page_packages_ignored PASS EXPECT "All 1 texts"
    TS "${ts_hello}" LIST "app"
    FILES app/hello.cpp "${hello}"
          tests/app/tst.cpp "QString t() { return QCoreApplication::translate(\"QObject\", \"Essai\")@SC@ }\n"
          tools/tool.cpp "int main() { return 0@SC@ }\n"
          app/web/node_modules/pkg/binding.cpp "QString b() { return QCoreApplication::translate(\"QObject\", \"Paquet\")@SC@ }\n")

check_case(NAME hidden_text_helper FAIL EXPECT "app/backup.cpp: the translation call `translate\\(\"QObject\", source\\).` hides its texts"
    TS "${ts_hello}" LIST "app"
    FILES app/hello.cpp "${hello}"
          app/backup.cpp "#include <QCoreApplication>\nQString text(const char *source)\n{\n    return QCoreApplication::translate(\"QObject\", source)@SC@\n}\nQString title() { return text(\"Sauvegarde\")@SC@ }\n")

check_case(NAME hidden_tr_variable FAIL EXPECT "app/window.cpp: the translation call `tr\\(label\\)"
    TS "${ts_hello}" LIST "app"
    FILES app/hello.cpp "${hello}"
          app/window.cpp "QString W::label(const char *label) const { return tr(label)@SC@ }\n")

check_case(NAME marked_texts_may_be_looked_up_later PASS EXPECT "All 1 texts"
    TS "${ts_hello}" LIST "app"
    FILES app/versions.cpp "#include <QCoreApplication>\nstatic const char *const text = QT_TRANSLATE_NOOP(\"QObject\", \"Bonjour\")@SC@\nQString t() { return QCoreApplication::translate(\"QObject\", text)@SC@ }\n")

ts_text(ts_bye "Bonjour" "Hello" "Au revoir" "Goodbye")
check_case(NAME marked_texts_translated PASS EXPECT "All 2 texts"
    TS "${ts_bye}" LIST "app"
    FILES app/hello.cpp "${hello}"
          app/bye.cpp "#include <QCoreApplication>\nstatic const char *const bye = QT_TRANSLATE_NOOP(\"QObject\", \"Au revoir\")@SC@\n")

set(form [=[<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>CDialogDemo</class>
 <widget class="QDialog" name="CDialogDemo">
  <property name="windowTitle">
   <string>Nom du point</string>
  </property>
 </widget>
</ui>
]=])
check_case(NAME form_text_not_translated FAIL EXPECT "CDialogDemo: no finished translation for \"Nom du point\""
    TS "${ts_hello}" LIST "app\neditors"
    FILES app/hello.cpp "${hello}" editors/dialogdemo.ui "${form}")

if(failures)
    message(FATAL_ERROR "check_translations misjudged these trees:\n${failures}")
endif()
message(STATUS "check_translations judged all ${cases} trees as expected.")
