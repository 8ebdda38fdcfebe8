# Turns the gallery's style sheet and script into a C++ source file, so
# ombral-scan carries them inside itself and needs no file at run time:
#   cmake -DOUTPUT=<file.cpp> -DCSS=<gallery.css> -DJS=<gallery.js> -P Embed.cmake
set(text "// Made from ombral/scan/pages/gallery/assets by Embed.cmake at build time.\n#include <string_view>\n\nnamespace gallery::assets {\n")
foreach(kind CSS JS)
  file(READ "${${kind}}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(APPEND text "static const char k${kind}[] = {${bytes} 0};\n")
  string(APPEND text "std::string_view ${kind}Source() { return {k${kind}, ${size}}; }\n")
endforeach()
string(APPEND text "}  // namespace gallery::assets\n")
file(WRITE "${OUTPUT}.new" "${text}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
