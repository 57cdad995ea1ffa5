#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <streambuf>

namespace veltrano {

// Reads an open file from its start without moving the descriptor's own
// offset (pread), so that a file held open and locked for writing can be
// examined first through the same descriptor. The descriptor stays the
// caller's.
class DescriptorStream : public std::istream {
public:
    // `digest`: keep the digest of the bytes read (see digest()).
    explicit DescriptorStream(int fd, bool digest = false);
    DescriptorStream(const DescriptorStream&) = delete;
    DescriptorStream& operator=(const DescriptorStream&) = delete;

    // The read failed (an I/O error, a folder), not merely ended.
    [[nodiscard]] bool readFailed() const { return buffer_.failed; }
    // Every byte read so far, by count and by a 64-bit digest (FNV-1a): two
    // readings of a file that give the same pair gave the same bytes, short
    // of a deliberate collision.
    [[nodiscard]] std::uint64_t bytesRead() const { return buffer_.offset; }
    [[nodiscard]] std::uint64_t digest() const { return buffer_.digest; }

private:
    struct Buffer : std::streambuf {
        int fd = -1;
        std::uint64_t offset = 0;
        bool failed = false;
        bool digesting = false;
        std::uint64_t digest = 14695981039346656037ULL;
        std::array<char, 1 << 16> bytes{};
        int_type underflow() override;
    };
    Buffer buffer_;
};

}  // namespace veltrano
