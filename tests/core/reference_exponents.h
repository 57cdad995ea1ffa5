#pragma once

// A second, deliberately plain implementation of the spectrum computation,
// written separately from the product code (1-based arrays, no shared
// helpers, every stored value tested on its own), used to check the product
// to the last bit.
namespace reference {

struct Result {
    double t = 0;
    double expo[4] = {0, 0, 0, 0};  // 1-based
    bool error = false;
};

Result lyapunovSpectrum(int n, double sigma, double R, double b);

}  // namespace reference
