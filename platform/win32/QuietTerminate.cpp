// std::terminate in velnorka.exe ends the program without the C++ runtime's
// verbose handler: a GUI program has no console to print the uncaught
// exception's demangled type to, and the demangler behind it would be a
// tenth of the file. Defining the handler here keeps the runtime's own out
// of the link.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
