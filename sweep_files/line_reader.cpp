#include "line_reader.h"

namespace veltrano {

LineReader::Got LineReader::next(std::string& line) {
    line.clear();
    std::streambuf* buffer = in_.rdbuf();
    if (!in_.good() || buffer == nullptr) return in_.bad() ? Got::Failed : Got::End;
    for (;;) {
        int c = 0;
        try {
            c = buffer->sbumpc();
        } catch (...) {
            in_.setstate(std::ios::badbit);
            return Got::Failed;
        }
        if (c == std::char_traits<char>::eof()) {
            in_.setstate(std::ios::eofbit);
            return line.empty() ? Got::End : Got::Unfinished;
        }
        ++bytes_;
        if (c == '\n') return Got::Line;
        if (line.size() == maxLength_) {
            in_.setstate(std::ios::failbit);
            return Got::TooLong;
        }
        line.push_back(static_cast<char>(c));
    }
}

}  // namespace veltrano
