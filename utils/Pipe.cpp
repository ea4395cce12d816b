#include "utils/Pipe.h"

#include "utils/Exception.h"

#include <fcntl.h>
#include <unistd.h>

namespace Utils {

namespace {

void CloseOnce(int& fd) {
    if (fd < 0) return;
    ::close(fd);  // even on EINTR the descriptor is gone; never retry
    fd = -1;
}

}  // namespace

Pipe::Pipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) throw Exception();
    read_ = ends[0];
    write_ = ends[1];
}

Pipe::~Pipe() {
    CloseRead();
    CloseWrite();
}

void Pipe::CloseRead() {
    CloseOnce(read_);
}

void Pipe::CloseWrite() {
    CloseOnce(write_);
}

}  // namespace Utils
