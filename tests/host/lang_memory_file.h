// A file in memory with the Tell/Read/Seek that LanguageResources::LoadFrom
// uses, for the host tests and the fuzzer. Reads return what is left, up to
// the count; a read past the end returns 0; `FailReadsFrom` makes every read
// at or after that many reads fail with -1.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

class MemoryFile {
  public:
    explicit MemoryFile(std::string bytes) : Bytes(std::move(bytes)) {}

    int64_t Tell() const { return Position; }
    int Read(void* buffer, int count) {
        if (Reads++ >= FailReadsFrom)
            return -1;
        if (Position >= static_cast<int64_t>(Bytes.size()) || count <= 0)
            return 0;
        int64_t left = static_cast<int64_t>(Bytes.size()) - Position;
        int n = left < count ? static_cast<int>(left) : count;
        memcpy(buffer, Bytes.data() + Position, static_cast<size_t>(n));
        Position += n;
        return n;
    }
    void Seek(int method, int64_t distance) {
        if (method == 0 && distance >= 0)
            Position = distance;
    }

    std::string Bytes;
    int64_t Position = 0;
    int Reads = 0;
    int FailReadsFrom = 1 << 30;
};
