// Linked into the shipped program only; the tests keep the library's own
// handler, whose message names an escaped exception.
//
// The program's one exception is the memory-failure code 8, and nothing
// catches it: it ends in std::terminate, then abort(). The library's
// default handler would first print the exception's demangled type name on
// a standard error that a GUI program does not have, and its demangler
// alone is a third of the program's size. Taking the library's name for the
// handler keeps that object out of the link.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
