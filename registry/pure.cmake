list(APPEND MVX_PURE_SOURCES registry/keypath.cpp)
