// Key-path composition on arbitrary subkeys and buffer sizes: the result is
// either complete and terminated within the buffer, or refused and empty.
#include "registry/keypath.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    bool currentUser = data[0] & 1;
    size_t bufferSize = data[1];
    std::string subkey(reinterpret_cast<const char*>(data + 2), size - 2);
    subkey = subkey.c_str();
    char* out = new char[bufferSize ? bufferSize : 1];
    if (ComposeKeyPath(currentUser, subkey.c_str(), out, bufferSize)) {
        if (strnlen(out, bufferSize) >= bufferSize)
            __builtin_trap();
        char name[16] = "n";
        char* child = new char[bufferSize + 4];
        if (ComposeChildPath(child, bufferSize + 4, out, name) && strlen(child) != strlen(out) + 2)
            __builtin_trap();
        delete[] child;
    } else if (bufferSize > 0 && out[0] != 0) {
        __builtin_trap();
    }
    delete[] out;
    return 0;
}
