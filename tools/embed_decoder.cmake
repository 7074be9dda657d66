# embed_decoder.cmake - the link's decoder files as bytes in a C++ source,
# so that 'simboard decoder install' carries them wherever simboard goes.
#   cmake -DDIR=tools/decoder/daqgate_link -DOUT=file.cpp -P embed_decoder.cmake
set(text "// Generated from ${DIR} by embed_decoder.cmake.\n#include \"decoders.h\"\n\nnamespace daqgate::tools {\n\n")
set(rows "")
set(index 0)
foreach(file __init__.py pd.py)
  file(READ ${DIR}/${file} bytes HEX)
  string(LENGTH "${bytes}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
  string(APPEND text "static const unsigned char kFile${index}[] = {${bytes}};\n")
  string(APPEND rows "    {\"${file}\", kFile${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND text "\nconst DecoderFile kDecoderFiles[] = {\n${rows}};\nconst std::size_t kDecoderFileCount = ${index};\n\n}  // namespace daqgate::tools\n")
file(WRITE ${OUT} "${text}")
