# The codecs, which stand on the code page tables alone.
add_library(xpkit_codecs STATIC
  codecs/b64.cpp
  codecs/Base64Avx2.cpp
  codecs/Base64Avx512.cpp
  codecs/Base64Bytes.cpp
  codecs/Base64Pieces.cpp
  codecs/CodecKernel.cpp
  codecs/FileIO.cpp
  codecs/RC4_Calc.cpp
  codecs/TextBytes.cpp
  codecs/TextBytesAvx2.cpp
  codecs/TextBytesAvx512.cpp)
# Result texts are filled through std::basic_string::resize_and_overwrite, which is C++23.
add_library(xpkit_largetext OBJECT codecs/LargeText.cpp)
set_target_properties(xpkit_largetext PROPERTIES CXX_STANDARD 23)
target_sources(xpkit_codecs PRIVATE $<TARGET_OBJECTS:xpkit_largetext>)
target_link_libraries(xpkit_codecs PUBLIC xpkit_codepage)
