# Compacts the gallery's style sheet and script and turns them into a C++
# source file, so ombral-scan carries them inside itself and needs no file
# at run time:
#   cmake -DOUTPUT=<file.cpp> -DCSS=<gallery.css> -DJS=<gallery.js> -P Embed.cmake
# Compacting drops what is there for the people who work on the assets:
# indentation, trailing blanks, empty lines, /* ... */ comments in the
# style sheet and whole lines starting with "//" in the script. Nothing
# else changes, so the compacted script means what the source means (a
# line's own end is kept: no statement is joined to the next).
cmake_minimum_required(VERSION 3.21)
set(text "// Made from ombral/scan/pages/gallery/assets by Embed.cmake at build time.\n#include <string_view>\n\nnamespace gallery {\n")
foreach(kind CSS JS)
  file(READ "${${kind}}" source)
  set(source "\n${source}\n")
  if(kind STREQUAL "CSS")
    string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" "" source "${source}")
  endif()
  string(REGEX REPLACE "\r" "" source "${source}")
  string(REGEX REPLACE "\n[ \t]+" "\n" source "${source}")
  string(REGEX REPLACE "[ \t]+\n" "\n" source "${source}")
  if(kind STREQUAL "JS")
    string(REGEX REPLACE "\n//[^\n]*" "" source "${source}")
  endif()
  string(REGEX REPLACE "\n\n+" "\n" source "${source}")
  string(REGEX REPLACE "^\n" "" source "${source}")
  string(HEX "${source}" hex)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(APPEND text "static const char k${kind}[] = {${bytes} 0};\n")
endforeach()
string(APPEND text "std::string_view StyleSheet() { return {kCSS, sizeof kCSS - 1}; }\n")
string(APPEND text "std::string_view Script() { return {kJS, sizeof kJS - 1}; }\n")
string(APPEND text "}  // namespace gallery\n")
file(WRITE "${OUTPUT}.new" "${text}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
