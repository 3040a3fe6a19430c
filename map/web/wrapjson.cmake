# Wraps a JSON file as a script that assigns it to a window property:
#   cmake -DINPUT=in.json -DOUTPUT=out.js -DVARIABLE=NAME -P wrapjson.cmake
file(READ "${INPUT}" content)
string(STRIP "${content}" content)
file(WRITE "${OUTPUT}" "window.${VARIABLE} = ${content};\n")
