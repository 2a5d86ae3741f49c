list(APPEND MVX_PURE_SOURCES uninstall/list_reader.cpp)
list(APPEND MVX_PURE_SOURCES uninstall/path_text.cpp)
list(APPEND MVX_PURE_SOURCES uninstall/script_text.cpp)
