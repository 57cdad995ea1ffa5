#include "line_reader.h"

namespace veltrano {

LineReader::Got LineReader::next(std::string& line) {
    line.clear();
    if (!in_.good()) return in_.bad() ? Got::Failed : Got::End;
    // One byte more than a line may hold, for getline's terminating zero.
    buffer_.resize(maxLength_ + 1);
    in_.getline(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    const auto extracted = static_cast<std::size_t>(in_.gcount());
    bytes_ += extracted;
    if (in_.bad()) return Got::Failed;
    if (in_.eof()) {
        line.assign(buffer_.data(), extracted);
        return extracted == 0 ? Got::End : Got::Unfinished;
    }
    if (in_.fail()) {  // maxLength bytes and no newline yet
        line.assign(buffer_.data(), extracted);
        return Got::TooLong;
    }
    line.assign(buffer_.data(), extracted - 1);
    return Got::Line;
}

std::string LineReader::trouble(Got got, const std::string& name, std::int64_t number) {
    const std::string where = name + " line " + std::to_string(number);
    if (got == Got::Unfinished) return where + " is unfinished (no newline ends it)";
    if (got == Got::TooLong) return where + " is longer than any line veltrano-cli writes";
    return "cannot read " + name;
}

std::string LineReader::carriageReturns(const std::string& line) {
    if (line.empty() || line.back() != '\r') return {};
    return "its lines end in CR LF, as a copy made for Windows has them, where veltrano-cli ends them in LF "
           "alone: dos2unix converts it back";
}

}  // namespace veltrano
