#include "descriptor_stream.h"

#include <unistd.h>

#include <cerrno>
#include <ios>

namespace veltrano {

DescriptorStream::DescriptorStream(int fd, bool digest) : std::istream(nullptr) {
    buffer_.fd = fd;
    buffer_.digesting = digest;
    rdbuf(&buffer_);
}

DescriptorStream::Buffer::int_type DescriptorStream::Buffer::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    ssize_t got = 0;
    do {
        got = ::pread(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        // Told to the reader as a failure, not as the end of the file.
        failed = true;
        throw std::ios_base::failure("cannot read");
    }
    if (got == 0) return traits_type::eof();
    offset += static_cast<std::uint64_t>(got);
    for (ssize_t i = 0; digesting && i < got; ++i) digest = (digest ^ static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)])) * 1099511628211ULL;
    setg(bytes.data(), bytes.data(), bytes.data() + got);
    return traits_type::to_int_type(*gptr());
}

}  // namespace veltrano
