list(APPEND MVX_PURE_SOURCES lang/crc32.cpp)
list(APPEND MVX_PURE_SOURCES lang/language_text.cpp)
list(APPEND MVX_PURE_SOURCES lang/translate_text.cpp)
list(APPEND MVX_PURE_SOURCES lang/scale.cpp)
