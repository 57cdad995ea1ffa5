#include "help_texts.h"

#include <CLI/CLI.hpp>

#include "sweep_grid.h"

namespace veltrano::cli {

// The sweep's help below writes the largest sweep out in its prose.
static_assert(SweepGrid::kMaxPoints == 100'000'000, "the sweep's help must say the largest sweep");

namespace {

constexpr const char* kUsage =
    "Usage: veltrano-cli [--precise] N SIGMA R B\n"
    "  or:  veltrano-cli history [options] N SIGMA R B\n"
    "  or:  veltrano-cli history --system NAME [options] N [NAME=VALUE]...\n"
    "  or:  veltrano-cli sweep [--vary NAME=FROM:TO:COUNT]... [options] N SIGMA R B\n"
    "  or:  veltrano-cli join --shards M --input PATTERN [sweep's options] N SIGMA R B\n"
    "  or:  veltrano-cli sweep --system NAME [--dimension D] [--exponents K]\n"
    "                        [--vary NAME=FROM:TO:COUNT]... [options] N [NAME=VALUE]...\n"
    "  or:  veltrano-cli join --system NAME --shards M --input PATTERN [sweep's options]\n"
    "                        N [NAME=VALUE]...\n"
    "  or:  veltrano-cli plot [--equations FILE] INPUT.csv OUTPUT.png|OUTPUT.svg\n"
    "  or:  veltrano-cli --system NAME [--dimension D] [--exponents K] [--initial V1,...,VD]\n"
    "                    [--precise] N [NAME=VALUE]...\n"
    "  or:  veltrano-cli --equations FILE [--exponents K] [--initial V1,...,VD]\n"
    "                    [--precise] N [NAME=VALUE]...\n"
    "  or:  veltrano-cli systems [NAME [--dimension D]] | systems --check FILE\n"
    "  or:  veltrano-cli --help | --version\n\n";

constexpr const char* kOneRunAbout =
    "Computes the Lyapunov spectrum of the Lorenz system\n"
    "  dx/dt = sigma (y - x), dy/dt = R x - y - x z, dz/dt = x y - b z\n"
    "from x = y = z = 1 by fourth-order Runge-Kutta at h = 0.01, with Gram-Schmidt\n"
    "reorthonormalisation every 20 steps, over N such intervals.\n"
    "\n"
    "One run:  veltrano-cli [--precise] N SIGMA R B\n"
    "  N          number of intervals, a whole number from 1 to 9999\n"
    "  SIGMA R B  decimal numbers: digits, at most one point, a leading minus,\n"
    "             no exponent (-0.5, .5, 28); the point is the separator\n"
    "  --precise  print t and the exponents with 17 significant digits\n"
    "  Prints tab-separated lines: t, lambda1, lambda2, lambda3 (4 decimals) and\n"
    "  seconds (the computing time, 3 decimals). The entries are checked as the\n"
    "  window checks them, with the same messages.\n"
    "  Exit status: 0 done, 1 bad usage or standard output could not be written,\n"
    "  2 an entry was refused (the message goes to standard error), 3 an\n"
    "  arithmetic error stopped the computation (t is the time reached, the\n"
    "  exponents are \"?\").\n"
    "\n"
    "One run of another flow:  veltrano-cli --system NAME [--dimension D]\n"
    "                          [--exponents K] [--initial V1,...,VD] [--precise]\n"
    "                          N [NAME=VALUE]...\n"
    "  NAME       a flow of the catalogue ('veltrano-cli systems' lists them)\n"
    "  N          number of intervals, a whole number from 1 to 1000000000\n"
    "  NAME=VALUE any parameter of the flow, in any order (the others keep their\n"
    "             defaults), the value written as the entries are\n"
    "  --dimension D  the dimension of a flow whose dimension is chosen (lorenz96)\n"
    "  --exponents K  the K leading exponents only (1 <= K <= the dimension)\n"
    "  --initial V1,...,VD  start from this point: exactly D values, one for each\n"
    "             variable, written as the entries are (default: the flow's start)\n"
    "  Prints t, lambda1 ... lambdaK and seconds as above. Exit status: 0 done,\n"
    "  1 standard output could not be written, 2 an entry or option was refused,\n"
    "  3 an arithmetic error stopped the computation.\n"
    "\n"
    "One run of your own flow:  veltrano-cli --equations FILE [--exponents K]\n"
    "                           [--initial V1,...,VD] [--precise] N [NAME=VALUE]...\n"
    "  FILE       the flow typed as text ('-': standard input), one statement a line\n"
    "             or separated by ';', '#' starting a comment:\n"
    "               x' = -y - z          an equation (the state in this order)\n"
    "               a = 0.2              a parameter and its default\n"
    "               x(0) = 1             a start (default 1)\n"
    "             with numbers (1e-3), + - * /, unary minus, parentheses, pi, sin\n"
    "             cos tan asin acos atan sinh cosh tanh exp log sqrt abs, atan2 min\n"
    "             max. x^n takes a whole number |n| <= 64, multiplied out from the\n"
    "             left (x^3 is (x*x)*x); write exp(y*log(x)) for other powers.\n"
    "             The tangent is derived from the equations; abs has slope 0 at 0,\n"
    "             min and max follow their first argument at a tie. The flow is\n"
    "             compiled for this process with GCC's JIT library.\n"
    "  N, NAME=VALUE, --exponents, --initial, --precise and the exit statuses as\n"
    "  for --system; an error in FILE is reported with its line and column (exit\n"
    "  status 2).\n"
    "  'veltrano-cli systems --check FILE' prints the system read or the error.\n";

constexpr const char* kResearchAbout =
    "\n"
    "history, sweep and join write CSV with 17 significant digits and the point\n"
    "as separator; N is a whole number from 1 to 1000000000 there. Their research\n"
    "options change the experiment (--transient, --initial, --step,\n"
    "--steps-per-interval) and add error bars (--errors, --batch, --target-error);\n"
    "numbers in options are written as the entries are. Exit status: 0 done,\n"
    "1 a file could not be written, 2 bad usage, a refused entry or a refused\n"
    "file (nothing is written), 3 (history) an arithmetic error stopped the\n"
    "computation after the rows printed so far.\n";

}  // namespace

const char* const kHistoryAbout =
    "The estimates as the run goes: CSV with the header\n"
    "interval,t,lambda1,lambda2,lambda3 (with --errors also\n"
    ",lambda1_err,lambda2_err,lambda3_err: the 95 % half-widths of the batches\n"
    "complete at that row, empty before the tenth) and a row after every K-th\n"
    "measured interval and after the last. The row of interval k is exactly what\n"
    "a run of N = k gives. With --system NAME, the history of another flow\n"
    "('veltrano-cli history --system NAME --help' tells its options).";

const char* const kSystemHistoryAbout =
    "The estimates of a flow of the catalogue as the run goes: CSV with the\n"
    "header interval,system,t,lambda1,...,lambdaK (with --errors also\n"
    ",lambda1_err,...,lambdaK_err: the 95 % half-widths of the batches complete at\n"
    "that row, empty before the tenth), system the flow's name (NAME:D for a flow\n"
    "whose dimension is chosen), and a row after every K-th measured interval\n"
    "and after the last. The row of interval k is exactly what a run of N = k\n"
    "gives. N is a whole number from 1 to 1000000000, NAME=VALUE any parameter of\n"
    "the flow; values are written as the entries are. The rows go to standard\n"
    "output, or with --output into a new file, locked while they are written (an\n"
    "existing file is never overwritten). Exit status: 0 done, 1 the rows could\n"
    "not be written, 2 bad usage or a refused entry, option or file (nothing is\n"
    "written), 3 an arithmetic error stopped the computation after the rows so\n"
    "far. --plot draws the rows written, as plot draws their file. --equations\n"
    "FILE (-: standard input) takes the flow typed in FILE instead of --system;\n"
    "system is then equations: and the SHA-256 of the text.";

const char* const kSweepAbout =
    "The spectrum over a line or a grid of parameters: CSV with the header\n"
    "index,sigma,R,b,t,lambda1,lambda2,lambda3,kaplan_yorke,status, one row per\n"
    "point in index order. status is ok, or error for a point stopped by an\n"
    "arithmetic error (t is then the time reached, 0 in the transient, and the\n"
    "next four fields are empty), or inconsistent for a completed point whose\n"
    "lambda1 + lambda2 + lambda3 misses -(sigma + 1 + b), which the flow's volume\n"
    "contraction fixes, by more than the integrator's own error allows for the\n"
    "step and the run's length (a step too large, or too small for doubles to\n"
    "resolve); such a row keeps all its numbers. kaplan_yorke is the Kaplan-Yorke\n"
    "dimension of the three exponents. With --errors the header goes on with\n"
    ",intervals,lambda1_err,lambda2_err,lambda3_err: the measured intervals done\n"
    "and the 95 % half-widths by batch means (empty with fewer than 10 batches).\n"
    "Every row is exactly what the same computation gives for its point alone.\n"
    "The base value of a varied parameter is checked but not used.\n"
    "\n"
    "--vary NAME=FROM:TO:COUNT: NAME is sigma, R or b; COUNT values from exactly\n"
    "FROM to exactly TO, evenly spaced (COUNT = 1: FROM only), FROM and TO written\n"
    "as the entries are. Not given: the one point of the base values. Once: a\n"
    "line; twice, with two names: a grid, the first varying slowest. At most\n"
    "100000000 points.\n"
    "Rows are written and flushed as they complete, and the file of --output is\n"
    "locked while they are: a second process writing it is refused. --resume\n"
    "continues a file cut short: every row in it is checked for its form (the\n"
    "digits this program writes, ok or inconsistent with four result fields,\n"
    "error with them empty, no nan or inf), its index and its parameters, and 17\n"
    "rows spread over it and the last one are computed again and must match to\n"
    "the byte; a file that fails is refused untouched. An unfinished last line is\n"
    "dropped, and the finished file is the uninterrupted sweep to the byte.\n"
    "--shard K/M computes the K-th of M contiguous, nearly equal blocks of the\n"
    "points; join puts the shards' files together.";

const char* const kJoinAbout =
    "The whole sweep from the files of its M shards, given the sweep's own\n"
    "arguments (without --shard): each shard's file is checked as --resume checks\n"
    "a file and must hold every row of its shard; a missing, incomplete or\n"
    "foreign shard is refused by its number before anything is written.";

const char* const kSystemSweepAbout =
    "The spectrum of a flow of the catalogue over its parameters (with --system\n"
    "NAME; 'veltrano-cli systems' lists the flows): CSV with the header\n"
    "index,system,P1,...,Pp,t,lambda1,...,lambdaK,kaplan_yorke,divergence,status,\n"
    "one row per point in index order. system is the flow's name (NAME:D for a\n"
    "flow whose dimension is chosen, e.g. lorenz96:8), P1 ... Pp its parameters in\n"
    "the catalogue's order, K the exponents computed (--exponents, default the\n"
    "dimension D), kaplan_yorke the Kaplan-Yorke dimension of the K exponents and\n"
    "divergence the time average of the divergence of the flow along the orbit\n"
    "(with K = D the exponents add up to it, up to the integrator's error).\n"
    "status is ok; error for a point stopped by an arithmetic error (its index,\n"
    "system, parameters and t stay, the numbers after t are empty); inconsistent\n"
    "for a completed point whose exponents miss what the flow fixes (for lorenz\n"
    "the trace rule of the Lorenz sweep; for the others, with K = D, the mean\n"
    "divergence by more than a thousandth of the spectrum's scale), its numbers\n"
    "kept. With --errors the header goes on with\n"
    ",intervals,lambda1_err,...,lambdaK_err. Every row is exactly what the same\n"
    "computation gives for its point alone. --plot draws the map of lambda1 over\n"
    "two varied parameters, as plot draws the file.\n"
    "\n"
    "The entries are N, then NAME=VALUE for any parameter (the others keep their\n"
    "defaults). --vary NAME=FROM:TO:COUNT names a parameter of the flow, at most\n"
    "three of them, none also given as NAME=VALUE; the first varies slowest.\n"
    "--initial V1,...,VD gives exactly D coordinates (default: the flow's start).\n"
    "--output, --resume, --shard, --threads and the research options are those of\n"
    "the Lorenz sweep; --resume continues only a file of the same flow, dimension,\n"
    "K and columns, and refuses any other (another flow's, the Lorenz form's\n"
    "without a system column) naming both. --equations FILE (-: standard input)\n"
    "takes the flow typed in FILE instead of --system; system is then equations:\n"
    "and the SHA-256 of the text, other equations' files refused as another flow's.";

const char* const kSystemJoinAbout =
    "The whole sweep of a flow of the catalogue from the files of its M shards,\n"
    "given the sweep's own arguments (without --shard), as join checks the shards\n"
    "of a Lorenz sweep; a shard of another flow or of the Lorenz form is refused\n"
    "naming both, before anything is written.";

const char* const kPlotAbout =
    "Draws a history or sweep file that veltrano-cli wrote (whole, resumed or\n"
    "joined, with error bars or without) as --plot draws it; the title holds\n"
    "what the file tells. A sweep of a flow (sweep --system) is drawn as a map\n"
    "of lambda1 over its two varied parameters (--exponent K: lambdaK), titled\n"
    "with the flow and the parameters; a line, a single point or a grid of three\n"
    "varied parameters is refused with a message. A history of a flow (history\n"
    "--system) is drawn as its K convergence lines, titled with the flow; on a\n"
    "flow's file --exponent takes 1 to the K it holds. With --equations FILE, the\n"
    "file must be of the equations typed in FILE (its system equations: and the\n"
    "SHA-256 of their text); one of other equations, another flow or the Lorenz\n"
    "form is refused naming both. Any other file is refused, and an existing\n"
    "picture is never replaced.";

const char* const kSystemsAbout =
    "The catalogue of flows besides Lorenz: without NAME a line per flow (its\n"
    "name, dimension, parameters at their defaults and what it is); with NAME a\n"
    "text that --equations reads: its equations, and as comments its parameters\n"
    "with their defaults and the ranges a sweep may take, its default start, its\n"
    "source and the exponents published for it. A flow whose dimension is chosen\n"
    "(lorenz96) is described at --dimension D. With --check FILE, the flow typed\n"
    "in FILE ('-': standard input) as read, or the first error with its line and\n"
    "column (exit status 2).";

std::string oneRunHelp() {
    return std::string("Usage: veltrano-cli [--precise] N SIGMA R B\n\n") + kOneRunAbout +
           "\nRun 'veltrano-cli --help' for history, sweep, join and plot.\n";
}

std::string helpText(std::initializer_list<CLI::App*> forms) {
    std::string text = std::string(kUsage) + kOneRunAbout + kResearchAbout;
    for (CLI::App* form : forms)
        text += "\n" + form->help("veltrano-cli", CLI::AppFormatMode::Sub);
    return text;
}

}  // namespace veltrano::cli
