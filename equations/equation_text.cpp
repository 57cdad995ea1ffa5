#include "equation_text.h"

#include <charconv>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>

#include "function_values.h"
#include "system_run.h"
#include "text_digest.h"

namespace veltrano::equations {

namespace {

// The pieces of a message end to end.
void put(std::string& s, std::string_view v) {
    s += v;
}
void put(std::string& s, char c) {
    s += c;
}
template <class... Pieces>
std::string cat(const Pieces&... pieces) {
    std::string s;
    (put(s, pieces), ...);
    return s;
}

// The text of line `line` (from 1), without its end.
std::string_view lineOf(std::string_view text, int line) {
    std::size_t start = 0;
    for (int l = 1; l < line; ++l) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) return {};
        start = end + 1;
    }
    std::string_view rest = text.substr(start);
    rest = rest.substr(0, rest.find('\n'));
    if (!rest.empty() && rest.back() == '\r') rest.remove_suffix(1);
    return rest;
}

std::string describe(int line, int column, const std::string& reason, std::string_view text) {
    std::string s = cat("line ", std::to_string(line), ", column ", std::to_string(column), ": ", reason);
    const std::string_view shown = lineOf(text, line);
    if (shown.size() <= 200) {  // a caret under a very long line helps nobody
        s += "\n  ";
        s += shown;
        // The caret's margin keeps the line's tabs, so that it stands under
        // the place however wide a tab is shown.
        std::string margin;
        for (std::size_t i = 0; i < shown.size() && static_cast<int>(margin.size()) < column - 1; ++i)
            if ((static_cast<unsigned char>(shown[i]) & 0xC0) != 0x80) margin += shown[i] == '\t' ? '\t' : ' ';
        margin.resize(static_cast<std::size_t>(column - 1), ' ');
        s += cat("\n  ", margin, "^");
    }
    return s;
}

struct Token {
    enum class Kind { End, Newline, Number, Name, Prime, Symbol } kind = Kind::End;
    std::string_view text;
    double number = 0.0;
    char symbol = 0;
    int line = 1, column = 1;
};

constexpr std::pair<std::string_view, Function> kFunctions[] = {
    {"sin", Function::Sin},   {"cos", Function::Cos},     {"tan", Function::Tan},   {"asin", Function::Asin},
    {"acos", Function::Acos}, {"atan", Function::Atan},   {"sinh", Function::Sinh}, {"cosh", Function::Cosh},
    {"tanh", Function::Tanh}, {"exp", Function::Exp},     {"log", Function::Log},   {"sqrt", Function::Sqrt},
    {"abs", Function::Abs},   {"atan2", Function::Atan2}, {"min", Function::Min},   {"max", Function::Max},
};

std::optional<Function> functionNamed(std::string_view name) {
    for (const auto& [n, f] : kFunctions)
        if (n == name) return f;
    return std::nullopt;
}

bool isNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    Token next() {
        skipBlanks();
        Token t;
        t.line = line_;
        t.column = column_;
        if (pos_ >= text_.size()) return t;
        const char c = text_[pos_];
        const std::size_t start = pos_;
        if (c == '\n' || c == ';') {
            advance();
            if (c == '\n') {
                ++line_;
                column_ = 1;
            }
            t.kind = Token::Kind::Newline;
            t.symbol = c;
        } else if (isDigit(c) || (c == '.' && pos_ + 1 < text_.size() && isDigit(text_[pos_ + 1]))) {
            while (pos_ < text_.size() && isDigit(text_[pos_])) advance();
            if (pos_ < text_.size() && text_[pos_] == '.') {
                advance();
                while (pos_ < text_.size() && isDigit(text_[pos_])) advance();
            }
            if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
                std::size_t e = pos_ + 1;
                if (e < text_.size() && (text_[e] == '+' || text_[e] == '-')) ++e;
                if (e < text_.size() && isDigit(text_[e])) {
                    while (pos_ < e) advance();
                    while (pos_ < text_.size() && isDigit(text_[pos_])) advance();
                }
            }
            t.kind = Token::Kind::Number;
            t.text = text_.substr(start, pos_ - start);
            const auto [end, ec] = std::from_chars(t.text.data(), t.text.data() + t.text.size(), t.number);
            if (ec != std::errc{} || end != t.text.data() + t.text.size() || !std::isfinite(t.number))
                throw EquationError(t.line, t.column, cat("the number ", t.text, " is out of range"), text_);
        } else if (isNameStart(c)) {
            while (pos_ < text_.size() && (isNameStart(text_[pos_]) || isDigit(text_[pos_]))) advance();
            t.kind = Token::Kind::Name;
            t.text = text_.substr(start, pos_ - start);
        } else if (c == '\'') {
            advance();
            t.kind = Token::Kind::Prime;
        } else if (std::string_view("+-*/^()=,").find(c) != std::string_view::npos) {
            advance();
            t.kind = Token::Kind::Symbol;
            t.symbol = c;
        } else {
            const bool printable = c >= 0x21 && c < 0x7f;
            throw EquationError(t.line, t.column,
                                printable ? cat("unexpected character '", c, "'")
                                          : std::string("unexpected character (only ASCII is read)"),
                                text_);
        }
        t.text = text_.substr(start, pos_ - start);
        return t;
    }

private:
    void advance() {
        ++pos_;
        // A column counts characters: the continuation bytes of UTF-8 do not.
        if (pos_ >= text_.size() || (static_cast<unsigned char>(text_[pos_]) & 0xC0) != 0x80) ++column_;
    }
    void skipBlanks() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\r') {
                advance();
            } else if (c == '#') {
                while (pos_ < text_.size() && text_[pos_] != '\n') advance();
            } else {
                break;
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1, column_ = 1;
};

// A name in an expression, resolved once every statement is read.
struct NameUse {
    int node;
    std::string name;
};

struct Declaration {
    std::string name;
    int line, column;
    int root;
};

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text), lexer_(text) { token_ = lexer_.next(); }

    Equations parse() {
        while (token_.kind != Token::Kind::End) {
            if (token_.kind == Token::Kind::Newline) {
                next();
                continue;
            }
            statement();
            if (token_.kind != Token::Kind::Newline && token_.kind != Token::Kind::End)
                fail(token_, cat("expected the end of the statement, found ", shown(token_)));
        }
        return resolve();
    }

private:
    [[noreturn]] void fail(int line, int column, const std::string& why) const {
        throw EquationError(line, column, why, text_);
    }
    [[noreturn]] void fail(const Token& t, const std::string& why) const { fail(t.line, t.column, why); }

    static std::string shown(const Token& t) {
        switch (t.kind) {
            case Token::Kind::End:
                return "the end of the text";
            case Token::Kind::Newline:
                return t.symbol == ';' ? "';'" : "the end of the line";
            default: {
                std::string s = "'";
                s += t.text;
                return s += "'";
            }
        }
    }

    void next() { token_ = lexer_.next(); }
    bool isSymbol(char c) const { return token_.kind == Token::Kind::Symbol && token_.symbol == c; }
    void expect(char c) {
        if (!isSymbol(c)) fail(token_, cat("expected '", c, "', found ", shown(token_)));
        next();
    }

    // name' = e | name(0) = e | name = e
    void statement() {
        if (token_.kind != Token::Kind::Name)
            fail(token_, cat("expected an equation (x' = ...), a parameter (a = ...) or a start (x(0) = ...), found ",
                             shown(token_)));
        const Token name = token_;
        if (functionNamed(name.text) || name.text == "pi")
            fail(name, cat("'", name.text, "' is a function or constant and cannot be declared"));
        next();
        std::vector<Declaration>* into = &parameters_;
        if (token_.kind == Token::Kind::Prime) {
            next();
            into = &equations_;
        } else if (isSymbol('(')) {
            next();
            if (token_.kind != Token::Kind::Number || token_.text != "0")
                fail(token_, cat("a start is written ", name.text, "(0) = value"));
            next();
            expect(')');
            into = &starts_;
        }
        expect('=');
        if (token_.kind == Token::Kind::Newline || token_.kind == Token::Kind::End)
            fail(token_, "expected an expression after '='");
        const int root = expression(0);
        into->push_back({std::string(name.text), name.line, name.column, root});
    }

    int add(Node n, const Token& at, int depth) {
        n.line = at.line;
        n.column = at.column;
        nodes_.push_back(n);
        depth_.push_back(depth);
        return static_cast<int>(nodes_.size()) - 1;
    }
    // The depth of a new node over its operands, refused past kMaxDepth.
    int deeper(const Token& at, int a, int b = -1) const {
        const int d = 1 + std::max(a >= 0 ? depth_[a] : 0, b >= 0 ? depth_[b] : 0);
        if (d > kMaxDepth) fail(at, cat("the expression is nested deeper than ", std::to_string(kMaxDepth), " levels"));
        return d;
    }
    int binary(Node::Kind kind, const Token& at, int a, int b) {
        return add(Node{.kind = kind, .a = a, .b = b}, at, deeper(at, a, b));
    }
    // Every level of the grammar counts, so that parentheses nested without
    // operators are bounded too.
    void enter(int level) const {
        if (level > 4 * kMaxDepth)
            fail(token_, cat("the expression is nested deeper than ", std::to_string(kMaxDepth), " levels"));
    }

    int expression(int level) {
        enter(level);
        int left = term(level + 1);
        while (isSymbol('+') || isSymbol('-')) {
            const Token op = token_;
            next();
            const int right = term(level + 1);
            left = binary(op.symbol == '+' ? Node::Kind::Add : Node::Kind::Subtract, op, left, right);
        }
        return left;
    }

    int term(int level) {
        enter(level);
        int left = unary(level + 1);
        while (isSymbol('*') || isSymbol('/')) {
            const Token op = token_;
            next();
            const int right = unary(level + 1);
            left = binary(op.symbol == '*' ? Node::Kind::Multiply : Node::Kind::Divide, op, left, right);
        }
        return left;
    }

    int unary(int level) {
        enter(level);
        if (isSymbol('-')) {
            const Token op = token_;
            next();
            const int a = unary(level + 1);
            return add(Node{.kind = Node::Kind::Negate, .a = a}, op, deeper(op, a));
        }
        return power(level + 1);
    }

    int power(int level) {
        enter(level);
        const int base = primary(level + 1);
        if (!isSymbol('^')) return base;
        const Token op = token_;
        next();
        const Token at = token_;
        const int exponent = unary(level + 1);
        for (std::size_t i = static_cast<std::size_t>(exponent); i < nodes_.size(); ++i)
            if (nodes_[i].kind == Node::Kind::State)  // names not yet resolved are marked as states
                fail(nodes_[i].line, nodes_[i].column,
                     "a power must be a constant whole number; write exp(y*log(x)) for x^y");
        const double n = constantValue(nodes_, exponent);
        if (!(std::fabs(n) <= kMaxPower) || n != std::floor(n))
            fail(at, cat("a power must be a whole number from -", std::to_string(kMaxPower), " to ",
                         std::to_string(kMaxPower), "; write exp(y*log(x)) for any other power"));
        // The exponent's nodes are folded into the power.
        nodes_.resize(static_cast<std::size_t>(exponent));
        depth_.resize(nodes_.size());
        return add(Node{.kind = Node::Kind::Power, .index = static_cast<int>(n), .a = base}, op, deeper(op, base));
    }

    int primary(int level) {
        enter(level);
        const Token t = token_;
        if (t.kind == Token::Kind::Number) {
            next();
            return add(Node{.kind = Node::Kind::Number, .value = t.number}, t, 1);
        }
        if (isSymbol('(')) {
            next();
            const int e = expression(level + 1);
            expect(')');
            return e;
        }
        if (t.kind != Token::Kind::Name) fail(t, cat("expected a number, a name or '(', found ", shown(t)));
        next();
        if (const auto f = functionNamed(t.text)) {
            if (!isSymbol('(')) fail(t, cat(t.text, " is a function: write ", t.text, "(...)"));
            next();
            int args[2] = {-1, -1};
            const int wanted = arity(*f);
            for (int i = 0;; ++i) {
                if (i == wanted)
                    fail(token_, cat(t.text, " takes ", std::to_string(wanted), " argument", wanted == 1 ? "" : "s"));
                args[i] = expression(level + 1);
                if (isSymbol(',')) {
                    next();
                    continue;
                }
                if (i + 1 != wanted) fail(token_, cat(t.text, " takes ", std::to_string(wanted), " arguments"));
                break;
            }
            expect(')');
            return add(Node{.kind = Node::Kind::Call, .function = *f, .a = args[0], .b = args[1]}, t,
                       deeper(t, args[0], args[1]));
        }
        if (t.text == "pi") return add(Node{.kind = Node::Kind::Number, .value = std::numbers::pi}, t, 1);
        if (isSymbol('(')) fail(t, cat("unknown function '", t.text, "'"));
        const int n = add(Node{.kind = Node::Kind::State}, t, 1);
        names_.push_back({n, std::string(t.text)});
        return n;
    }

    Equations resolve() {
        Equations e;
        std::map<std::string, const Declaration*> declared;
        const auto once = [&](const Declaration& d, const char* what) {
            const auto [it, fresh] = declared.emplace(d.name, &d);
            if (!fresh)
                fail(d.line, d.column,
                     cat("'", d.name, "' is declared twice (", what, "; first on line ",
                         std::to_string(it->second->line), ")"));
        };
        for (const Declaration& d : equations_) once(d, "as a variable");
        std::map<std::string, int> variable, parameter;
        for (const Declaration& d : equations_) {
            if (variable.size() == kMaxDimension)
                fail(d.line, d.column, cat("more than ", std::to_string(kMaxDimension), " variables"));
            variable.emplace(d.name, static_cast<int>(variable.size()));
        }
        for (const Declaration& d : parameters_) {
            if (variable.contains(d.name))
                fail(d.line, d.column, cat("'", d.name, "' is a variable and cannot also be a parameter"));
            once(d, "as a parameter");
            if (parameter.size() == kMaxParameters)
                fail(d.line, d.column, cat("more than ", std::to_string(kMaxParameters), " parameters"));
            parameter.emplace(d.name, static_cast<int>(parameter.size()));
        }
        std::map<std::string, const Declaration*> started;
        for (const Declaration& d : starts_) {
            if (!variable.contains(d.name))
                fail(d.line, d.column, cat("'", d.name, "' has no equation ", d.name, "' = ... and so no start"));
            if (const auto [it, fresh] = started.emplace(d.name, &d); !fresh)
                fail(d.line, d.column,
                     cat("the start of '", d.name, "' is given twice (first on line ", std::to_string(it->second->line),
                         ")"));
        }
        if (equations_.empty()) fail(1, 1, "no equation: write at least one, such as x' = -x");

        // Every name in an expression: a variable, a parameter, or unknown.
        // A default or a start may use none of them.
        for (const NameUse& use : names_) {
            Node& n = nodes_[static_cast<std::size_t>(use.node)];
            if (const auto v = variable.find(use.name); v != variable.end()) {
                n.kind = Node::Kind::State;
                n.index = v->second;
            } else if (const auto p = parameter.find(use.name); p != parameter.end()) {
                n.kind = Node::Kind::Parameter;
                n.index = p->second;
            } else {
                fail(n.line, n.column, cat("unknown name '", use.name, "'"));
            }
        }
        const auto constant = [&](const Declaration& d, const char* what) {
            // The nodes of a statement are those made after the previous
            // statement's root, up to its own.
            const int first = previousRoot(d.root);
            for (const NameUse& use : names_)
                if (use.node <= d.root && use.node > first) {
                    const Node& n = nodes_[static_cast<std::size_t>(use.node)];
                    fail(n.line, n.column,
                         cat("'", use.name, "' is not a constant: ", what, " must be a constant expression"));
                }
        };
        for (const Declaration& d : parameters_) constant(d, "a default");
        for (const Declaration& d : starts_) constant(d, "a start");
        for (const Declaration& d : equations_) {
            e.variables.push_back(d.name);
            e.fields.push_back(d.root);
        }
        // A constant that is not a finite number (8/0, log(-1)) is refused.
        const auto finite = [&](const Declaration& d, const char* what) {
            const double v = constantValue(nodes_, d.root);
            if (!std::isfinite(v))
                fail(d.line, d.column, cat("the ", what, " of '", d.name, "' is not a finite number"));
            return v;
        };
        e.initial.assign(e.variables.size(), 1.0);
        for (const Declaration& d : starts_)
            e.initial[static_cast<std::size_t>(variable.at(d.name))] = finite(d, "start");
        for (const Declaration& d : parameters_) {
            e.parameters.push_back(d.name);
            e.defaults.push_back(finite(d, "default"));
        }
        e.nodes = std::move(nodes_);
        return e;
    }

    // The largest root of a statement below `root` (-1 for the first).
    int previousRoot(int root) const {
        int best = -1;
        for (const auto* list : {&equations_, &parameters_, &starts_})
            for (const Declaration& d : *list)
                if (d.root < root && d.root > best) best = d.root;
        return best;
    }

    std::string_view text_;
    Lexer lexer_;
    Token token_;
    std::vector<Node> nodes_;
    std::vector<int> depth_;
    std::vector<NameUse> names_;
    std::vector<Declaration> equations_, parameters_, starts_;
};

}  // namespace

EquationError::EquationError(int line, int column, const std::string& reason, std::string_view text)
    : std::runtime_error(describe(line, column, reason, text)), line_(line), column_(column), reason_(reason) {}

Equations parseEquations(std::string_view text) {
    if (text.size() > kMaxTextBytes)
        throw EquationError(1, 1,
                            cat("the text is longer than ", std::to_string(kMaxTextBytes / 1024), " KiB (",
                                std::to_string(text.size()), " bytes)"),
                            "");
    Equations e = Parser(text).parse();
    e.text = std::string(text);
    e.digest = sha256Hex(text);
    return e;
}

double constantValue(const std::vector<Node>& nodes, int root) {
    const Node& n = nodes[static_cast<std::size_t>(root)];
    switch (n.kind) {
        case Node::Kind::Number:
            return n.value;
        case Node::Kind::Negate:
            return -constantValue(nodes, n.a);
        case Node::Kind::Add:
            return constantValue(nodes, n.a) + constantValue(nodes, n.b);
        case Node::Kind::Subtract:
            return constantValue(nodes, n.a) - constantValue(nodes, n.b);
        case Node::Kind::Multiply:
            return constantValue(nodes, n.a) * constantValue(nodes, n.b);
        case Node::Kind::Divide:
            return constantValue(nodes, n.a) / constantValue(nodes, n.b);
        case Node::Kind::Power: {
            // As the field multiplies it out (field_program.cpp).
            const double x = constantValue(nodes, n.a);
            const int m = n.index < 0 ? -n.index : n.index;
            double r = m == 0 ? 1.0 : x;
            for (int i = 1; i < m; ++i) r = r * x;
            return n.index < 0 ? 1.0 / r : r;
        }
        case Node::Kind::Call:
            return functionValue(n.function, constantValue(nodes, n.a),
                                 arity(n.function) > 1 ? constantValue(nodes, n.b) : 0.0);
        case Node::Kind::State:
        case Node::Kind::Parameter:
            break;
    }
    return std::nan("");
}

}  // namespace veltrano::equations
