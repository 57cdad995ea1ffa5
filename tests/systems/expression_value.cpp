#include "expression_value.h"

#include <cctype>
#include <cmath>
#include <stdexcept>

namespace plain {

namespace {

class Reader {
public:
    Reader(const std::string& text, const std::map<std::string, double>& names) : text_(text), names_(names) {}

    double whole() {
        const double v = sum();
        skipSpace();
        if (at_ != text_.size()) fail();
        return v;
    }

private:
    double sum() {
        double v = product();
        while (true) {
            if (take('+'))
                v = v + product();
            else if (take('-'))
                v = v - product();
            else
                return v;
        }
    }
    double product() {
        double v = unary();
        while (true) {
            if (take('*'))
                v = v * unary();
            else if (take('/'))
                v = v / unary();
            else
                return v;
        }
    }
    double unary() { return take('-') ? -unary() : primary(); }
    double primary() {
        skipSpace();
        if (take('(')) {
            const double v = sum();
            if (!take(')')) fail();
            return v;
        }
        if (at_ < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[at_])) || text_[at_] == '.')) {
            std::size_t used = 0;
            const double v = std::stod(text_.substr(at_), &used);
            at_ += used;
            return v;
        }
        std::string name;
        while (at_ < text_.size() && std::isalnum(static_cast<unsigned char>(text_[at_]))) name += text_[at_++];
        if (name == "sin" || name == "cos") {
            if (!take('(')) fail();
            const double v = sum();
            if (!take(')')) fail();
            return name == "sin" ? std::sin(v) : std::cos(v);
        }
        const auto found = names_.find(name);
        if (found == names_.end()) fail();
        return found->second;
    }
    bool take(char c) {
        skipSpace();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    void skipSpace() {
        while (at_ < text_.size() && text_[at_] == ' ') ++at_;
    }
    [[noreturn]] void fail() const {
        throw std::invalid_argument("cannot read '" + text_ + "' at " + std::to_string(at_));
    }

    const std::string& text_;
    const std::map<std::string, double>& names_;
    std::size_t at_ = 0;
};

}  // namespace

double expressionValue(const std::string& text, const std::map<std::string, double>& names) {
    return Reader(text, names).whole();
}

}  // namespace plain
