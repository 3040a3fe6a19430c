# Run at install time: writes the desktop entry with the installed folder's
# paths (the program runs from its own folder, two levels below the
# simulator's root).
set(app_id org.corvane.navigator)
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)

# A path as one quoted argument of the Exec key: inside the quotes "`$\
# take a backslash, and the key's own escaping doubles every backslash;
# "%" is doubled for the field codes.
function(exec_argument path out)
    string(REPLACE "\\" "\\\\" path "${path}")
    string(REPLACE "\"" "\\\"" path "${path}")
    string(REPLACE "`" "\\`" path "${path}")
    string(REPLACE "$" "\\$" path "${path}")
    string(REPLACE "\\" "\\\\" path "${path}")
    string(REPLACE "%" "%%" path "${path}")
    set(${out} "\"${path}\"" PARENT_SCOPE)
endfunction()

# Other string keys: a backslash is written doubled.
function(string_value path out)
    string(REPLACE "\\" "\\\\" path "${path}")
    set(${out} "${path}" PARENT_SCOPE)
endfunction()

exec_argument("${prefix}/corvane-navigator" EXEC)
string_value("${prefix}" PROGRAM_DIR)
string_value("${prefix}/share/icons/hicolor/scalable/apps/${app_id}.svg" ICON)

set(out "$ENV{DESTDIR}${prefix}/share/applications/${app_id}.desktop")
message(STATUS "Installing: ${out}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/${app_id}.desktop.in" "${out}" @ONLY)
