#include "reference_exponents.h"

#include <cmath>

namespace reference {

namespace {

struct Fault {};

double checked(double v) {
    if (std::isnan(v) || std::isinf(v)) throw Fault{};
    return v;
}

void lorentz(const double X[13], double dxdt[13], double sv, double rv, double bv) {
    dxdt[1] = checked(sv * (X[2] - X[1]));
    dxdt[2] = checked((rv * X[1] - X[2]) - X[1] * X[3]);
    dxdt[3] = checked((-bv) * X[3] + X[1] * X[2]);
    for (int i = 0; i <= 2; i++) {
        dxdt[4 + i] = checked(sv * (X[7 + i] - X[4 + i]));
        dxdt[7 + i] = checked(((rv - X[3]) * X[4 + i] - X[7 + i]) - X[1] * X[10 + i]);
        dxdt[10 + i] = checked((X[2] * X[4 + i] + X[1] * X[7 + i]) - bv * X[10 + i]);
    }
}

}  // namespace

Result lyapunovSpectrum(int n, double sigma, double R, double b) {
    Result r;
    double state[13], trial[13], deriv[13], k1[13], k2[13], k3[13], k4[13];
    double norms[4], proj[4], logSum[4];
    const double h = 0.01;
    double t = 0;
    for (int i = 1; i <= 3; i++) state[i] = 1.0;
    for (int i = 4; i <= 12; i++) state[i] = 0;
    for (int i = 1; i <= 3; i++) {
        state[4 * i] = 1.0;
        logSum[i] = 0;
    }
    try {
        for (int it = 1; it <= n; it++) {
            for (int st = 1; st <= 20; st++) {
                double next[13];
                for (int i = 1; i <= 12; i++) trial[i] = state[i];
                lorentz(trial, deriv, sigma, R, b);
                for (int i = 1; i <= 12; i++) k1[i] = deriv[i];
                for (int i = 1; i <= 12; i++) trial[i] = checked((k1[i] * h) / 2 + state[i]);
                lorentz(trial, deriv, sigma, R, b);
                for (int i = 1; i <= 12; i++) k2[i] = deriv[i];
                for (int i = 1; i <= 12; i++) trial[i] = checked((k2[i] * h) / 2 + state[i]);
                lorentz(trial, deriv, sigma, R, b);
                for (int i = 1; i <= 12; i++) k3[i] = deriv[i];
                for (int i = 1; i <= 12; i++) trial[i] = checked(k3[i] * h + state[i]);
                lorentz(trial, deriv, sigma, R, b);
                for (int i = 1; i <= 12; i++) k4[i] = deriv[i];
                for (int i = 1; i <= 12; i++)
                    next[i] = checked(((((k3[i] + k2[i]) * 2) + (k4[i] + k1[i])) * h) / 6 + state[i]);
                const double nextT = checked(h + t);
                for (int i = 1; i <= 12; i++) state[i] = next[i];
                t = nextT;
            }
            // Gram-Schmidt on v_j(c) = state(3c + j); squares are exact products.
            double v[4][4];
            for (int j = 1; j <= 3; j++)
                for (int c = 1; c <= 3; c++) v[j][c] = state[3 * c + j];
            for (int j = 1; j <= 3; j++) {
                for (int m = 1; m <= j - 1; m++) {
                    double s = 0;
                    for (int c = 1; c <= 3; c++) s = checked(s + v[m][c] * v[j][c]);
                    proj[m] = s;
                }
                for (int c = 1; c <= 3; c++)
                    for (int m = 1; m <= j - 1; m++) v[j][c] = checked(v[j][c] - proj[m] * v[m][c]);
                double s = 0;
                for (int c = 1; c <= 3; c++) s = checked(s + v[j][c] * v[j][c]);
                norms[j] = checked(std::sqrt(s));
                for (int c = 1; c <= 3; c++) v[j][c] = checked(v[j][c] / norms[j]);
            }
            double newSum[4], newExpo[4];
            for (int k = 1; k <= 3; k++) {
                newSum[k] = logSum[k];
                if (norms[k] > 0) newSum[k] = checked(std::log(norms[k]) + logSum[k]);
                newExpo[k] = checked(newSum[k] / t);
            }
            for (int j = 1; j <= 3; j++)
                for (int c = 1; c <= 3; c++) state[3 * c + j] = v[j][c];
            for (int k = 1; k <= 3; k++) {
                logSum[k] = newSum[k];
                r.expo[k] = newExpo[k];
            }
        }
    } catch (const Fault&) {
        r.error = true;
    }
    r.t = t;
    return r;
}

}  // namespace reference
