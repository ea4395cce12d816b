# Writes a C++ source that registers the skin archive (and the window icon,
# when there is one) in the program's resource table.
# -DOUTPUT=<cpp> -DARCHIVE=<7z> -DARCHIVE_ID=<n> [-DICON=<png> -DICON_ID=<n>]

function(append_blob variable name file)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" length)
  if(length EQUAL 0)
    set(${variable} "${${variable}}const unsigned char ${name}[] = {0};\nconst std::size_t ${name}Size = 0;\n" PARENT_SCOPE)
    return()
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
  math(EXPR size "${length} / 2")
  set(${variable} "${${variable}}const unsigned char ${name}[] = {\n${bytes}\n};\nconst std::size_t ${name}Size = ${size};\n" PARENT_SCOPE)
endfunction()

set(body "")
set(registrations "")
append_blob(body kArchive ${ARCHIVE})
string(APPEND registrations "        Platform::ResourceTable::Register(\"ZIPRES\", ${ARCHIVE_ID}, kArchive, kArchiveSize);\n")
if(ICON AND EXISTS ${ICON})
  append_blob(body kIcon ${ICON})
  string(APPEND registrations "        Platform::ResourceTable::Register(\"ICON\", ${ICON_ID}, kIcon, kIconSize);\n")
endif()

file(WRITE ${OUTPUT}.tmp "// Generated at build time from the skin archive; do not edit.
#include \"platform/ResourceTable.h\"

#include <cstddef>

namespace {

${body}
struct Registration {
    Registration()
    {
${registrations}    }
} registration;

}  // namespace
")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
