#pragma once

#include <functional>

// A second, deliberately plain implementation of the spectrum computation,
// written separately from the product code (1-based arrays, no shared
// helpers, every stored value tested on its own), used to check the product
// to the last bit.
namespace reference {

struct Result {
    double t = 0;
    double expo[4] = {0, 0, 0, 0};  // 1-based
    bool error = false;
    long long intervals = 0;       // measured intervals completed
    long long batches = 0;         // complete batches
    bool errorsKnown = false;      // halfWidth holds the 95 % half-widths
    double halfWidth[4] = {0, 0, 0, 0};
};

// The experiment of a research run; the defaults are the window's.
struct Options {
    long long transient = 0;
    double x0 = 1, y0 = 1, z0 = 1;
    double h = 0.01;
    long long stepsPerInterval = 20;
    bool errors = false;
    long long batch = 500;
    double target = 0;  // > 0: stop once the three half-widths are at most this
    // Called after every measured step with t, x, y and z.
    std::function<void(double, double, double, double)> afterStep = {};
};

Result lyapunovSpectrum(int n, double sigma, double R, double b);
Result lyapunovSpectrum(long long n, double sigma, double R, double b, const Options& options);

}  // namespace reference
