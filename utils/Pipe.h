#pragma once

namespace Utils {

// One anonymous pipe. Both ends are close-on-exec, so a child gets only the
// end that is explicitly handed to it; each end is closed exactly once.
class Pipe {
public:
    // Raises Utils::Exception when the pipe cannot be created.
    Pipe();
    ~Pipe();
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int ReadEnd() const { return read_; }
    int WriteEnd() const { return write_; }
    void CloseRead();
    void CloseWrite();

private:
    int read_ = -1;
    int write_ = -1;
};

}  // namespace Utils
