# Writes OUTPUT, a C++ source defining the bytes of INPUT as `const unsigned char NAME[]` and
# `const unsigned long NAME_size` in namespace kv.
foreach(v INPUT OUTPUT NAME)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "EmbedFile.cmake: ${v} is not set")
  endif()
endforeach()
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" n)
math(EXPR size "${n} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Made by cmake/EmbedFile.cmake from ${INPUT}.\nnamespace kv {\n"
  "extern const unsigned char ${NAME}[] = {\n${bytes}\n};\n"
  "extern const unsigned long ${NAME}_size = ${size};\n}  // namespace kv\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
