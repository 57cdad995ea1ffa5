#include "function_values.h"

#include <cmath>

namespace veltrano::equations {

namespace {

double sinOf(double a) {
    return std::sin(a);
}
double cosOf(double a) {
    return std::cos(a);
}
double tanOf(double a) {
    return std::tan(a);
}
double asinOf(double a) {
    return std::asin(a);
}
double acosOf(double a) {
    return std::acos(a);
}
double atanOf(double a) {
    return std::atan(a);
}
double sinhOf(double a) {
    return std::sinh(a);
}
double coshOf(double a) {
    return std::cosh(a);
}
double tanhOf(double a) {
    return std::tanh(a);
}
double expOf(double a) {
    return std::exp(a);
}
double logOf(double a) {
    return std::log(a);
}
double sqrtOf(double a) {
    return std::sqrt(a);
}
double absOf(double a) {
    return std::fabs(a);
}
double atan2Of(double y, double x) {
    return std::atan2(y, x);
}
double minOf(double a, double b) {
    return b < a ? b : a;
}
double maxOf(double a, double b) {
    return a < b ? b : a;
}
double absSlope(double a, double da) {
    return a > 0 ? da : (a < 0 ? -da : 0.0);
}
double minSlope(double a, double b, double da, double db) {
    return b < a ? db : da;
}
double maxSlope(double a, double b, double da, double db) {
    return a < b ? db : da;
}

}  // namespace

void* functionAddress(Function f) {
    switch (f) {
        case Function::Sin:
            return reinterpret_cast<void*>(&sinOf);
        case Function::Cos:
            return reinterpret_cast<void*>(&cosOf);
        case Function::Tan:
            return reinterpret_cast<void*>(&tanOf);
        case Function::Asin:
            return reinterpret_cast<void*>(&asinOf);
        case Function::Acos:
            return reinterpret_cast<void*>(&acosOf);
        case Function::Atan:
            return reinterpret_cast<void*>(&atanOf);
        case Function::Sinh:
            return reinterpret_cast<void*>(&sinhOf);
        case Function::Cosh:
            return reinterpret_cast<void*>(&coshOf);
        case Function::Tanh:
            return reinterpret_cast<void*>(&tanhOf);
        case Function::Exp:
            return reinterpret_cast<void*>(&expOf);
        case Function::Log:
            return reinterpret_cast<void*>(&logOf);
        case Function::Sqrt:
            return reinterpret_cast<void*>(&sqrtOf);
        case Function::Abs:
            return reinterpret_cast<void*>(&absOf);
        case Function::Atan2:
            return reinterpret_cast<void*>(&atan2Of);
        case Function::Min:
            return reinterpret_cast<void*>(&minOf);
        case Function::Max:
            return reinterpret_cast<void*>(&maxOf);
        case Function::AbsSlope:
            return reinterpret_cast<void*>(&absSlope);
        case Function::MinSlope:
            return reinterpret_cast<void*>(&minSlope);
        case Function::MaxSlope:
            return reinterpret_cast<void*>(&maxSlope);
    }
    return nullptr;
}

double functionValue(Function f, double a, double b, double c, double d) {
    void* code = functionAddress(f);
    switch (arity(f)) {
        case 1:
            return reinterpret_cast<Function1>(code)(a);
        case 2:
            return reinterpret_cast<Function2>(code)(a, b);
        default:
            return reinterpret_cast<Function4>(code)(a, b, c, d);
    }
}

int arity(Function f) {
    switch (f) {
        case Function::Atan2:
        case Function::Min:
        case Function::Max:
        case Function::AbsSlope:
            return 2;
        case Function::MinSlope:
        case Function::MaxSlope:
            return 4;
        default:
            return 1;
    }
}

std::string_view functionName(Function f) {
    switch (f) {
        case Function::Sin:
            return "sin";
        case Function::Cos:
            return "cos";
        case Function::Tan:
            return "tan";
        case Function::Asin:
            return "asin";
        case Function::Acos:
            return "acos";
        case Function::Atan:
            return "atan";
        case Function::Sinh:
            return "sinh";
        case Function::Cosh:
            return "cosh";
        case Function::Tanh:
            return "tanh";
        case Function::Exp:
            return "exp";
        case Function::Log:
            return "log";
        case Function::Sqrt:
            return "sqrt";
        case Function::Abs:
            return "abs";
        case Function::Atan2:
            return "atan2";
        case Function::Min:
            return "min";
        case Function::Max:
            return "max";
        case Function::AbsSlope:
            return "abs'";
        case Function::MinSlope:
            return "min'";
        case Function::MaxSlope:
            return "max'";
    }
    return "";
}

}  // namespace veltrano::equations
