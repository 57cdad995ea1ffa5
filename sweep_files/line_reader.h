#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

namespace veltrano {

// Reads the lines of a file this program wrote, none longer than `maxLength`
// bytes, so that memory stays bounded whatever the input (a device that
// never ends a line included).
class LineReader {
public:
    // No line this program writes comes near it: a sweep's row with error
    // bars is about 300 bytes.
    static constexpr std::size_t kMaxLength = 4096;

    enum class Got {
        Line,        // a whole line, its newline dropped
        Unfinished,  // the last bytes, with no newline after them
        End,         // nothing more
        TooLong,     // more than maxLength bytes without a newline
        Failed,      // the stream could not be read
    };

    explicit LineReader(std::istream& in, std::size_t maxLength = kMaxLength) : in_(in), maxLength_(maxLength) {}

    // The next line into `line` (for Unfinished, the bytes after the last
    // newline; for TooLong, the first maxLength of them).
    Got next(std::string& line);
    // What went wrong when `got` was neither a Line nor the End, said of
    // line `number` of the file `name`.
    [[nodiscard]] static std::string trouble(Got got, const std::string& name, std::int64_t number);
    // Why a file whose `line` ends in a carriage return is not one this
    // program wrote, or empty: its lines end in CR LF, as a text editor or a
    // copy for Windows may leave them, where this program writes LF alone.
    [[nodiscard]] static std::string carriageReturns(const std::string& line);
    // Bytes consumed so far (the lines, their newlines and any unfinished
    // end).
    [[nodiscard]] std::uint64_t bytes() const { return bytes_; }

private:
    std::istream& in_;
    std::size_t maxLength_;
    std::uint64_t bytes_ = 0;
    std::string buffer_;
};

}  // namespace veltrano
