#pragma once

// The help texts of the module and of its functions, as help(veltrano)
// shows them once withDefaults() has filled in the keywords' defaults (a
// tab stands before the column of the options' descriptions).

namespace veltrano::python {

inline constexpr const char* kModuleDoc = R"(The Lyapunov spectrum of the Lorenz system

    dx/dt = sigma (y - x),  dy/dt = R x - y - x z,  dz/dt = x y - b z

by fourth-order Runge-Kutta integration of the flow and three tangent
vectors, with Gram-Schmidt reorthonormalisation after every interval of
steps (by default {steps_per_interval} steps of h = {step} from (x, y, z) = {initial}).

spectrum() runs one point, history() follows its estimates as the run goes,
sweep() runs the outer product of values of sigma, R and b on every core
and SIMD lane. Every value is bit for bit what veltrano-cli gives for the
same computation. Bad input raises ValueError with the command line's
message; Ctrl-C stops a long computation within a second. systems() and
system(name) give the other flows of the catalogue, each with its
spectrum(), history() and sweep() (threads, file, resume and shards as
sweep()).

Research options (keywords of all three, with the command line's defaults):
  transient={transient}	intervals run first and not measured
  initial={initial}	the starting point
  step={step}	the Runge-Kutta step h
  steps_per_interval={steps_per_interval}	steps between two Gram-Schmidt passes
  errors={errors}	95 % half-widths of the exponents by batch means
                        (True or False, Python's or NumPy's)
  batch={batch}	intervals per batch
  target_error={target_error}	stop a point once its three half-widths are at most
                        this (implies errors; n is then the most intervals)
)";

inline constexpr const char* kSpectrumDoc = R"(spectrum(n, sigma, R, b, *, transient={transient}, initial={initial}, step={step},
         steps_per_interval={steps_per_interval}, errors={errors}, batch={batch}, target_error={target_error})

One run of n measured intervals (1 <= n <= 10**9) for the parameters sigma,
R and b. Returns a Spectrum with

  t             the time integrated (after an arithmetic fault: the time
                reached, 0 in the transient)
  lambdas       the three exponents (NaN after a fault)
  kaplan_yorke  the Kaplan-Yorke dimension of the three
  status        'ok'; 'error' when an arithmetic fault stopped the run;
                'inconsistent' when the run completed but its exponents do
                not add up to -(sigma + 1 + b), the trace of the flow, within
                what the integrator's own error allows (the numbers are
                kept)
  ok            status == 'ok'
  intervals     measured intervals done (with errors; None otherwise)
  errors        the three 95 % half-widths (with errors; NaN with fewer than
                ten batches; None without errors)

>>> veltrano.spectrum(100, 10, 28, 2.6667).lambdas[0]
0.380427939225588...
)";

inline constexpr const char* kHistoryDoc = R"(history(n, sigma, R, b, every=1, *, transient={transient}, initial={initial},
        step={step}, steps_per_interval={steps_per_interval}, errors={errors}, batch={batch},
        target_error={target_error})

The estimates as one run goes: a row after every `every`-th measured
interval and after the last. Returns a History whose attributes are NumPy
arrays of one entry per row: interval, t, lambda1, lambda2, lambda3 and,
with errors, lambda1_err, lambda2_err, lambda3_err (NaN before the tenth
batch; None without errors); ok is False when an arithmetic fault stopped
the run after the rows it has. The row of interval k is bit for bit a run
of n = k.
)";

inline constexpr const char* kSweepDoc = R"(sweep(n, sigma, R, b, threads=None, progress=None, *, vary=None,
      output=None, resume=False, shard=None, transient={transient}, initial={initial}, step={step},
      steps_per_interval={steps_per_interval}, errors={errors}, batch={batch}, target_error={target_error})

The spectrum over every combination of the values given. Each of sigma, R
and b is a number or a 1-D sequence of numbers (any values, in any order);
the points are their outer product in the order sigma, R, b (the first
sequence varies slowest) unless vary gives another, and every result array has the shape of the
sequences given: sweep(n, [10, 16], np.linspace(0, 250, 100), 2.6667) has
the shape (2, 100).

threads   how many threads compute (default: every hardware thread)
progress  a callable that receives (done, total) now and then
vary      the names of the sequences given ("sigma", "R", "b"), each once,
          in the order they vary, the first slowest, as the order of
          --vary: sweep(n, [10, 16], R, np.linspace(1, 8, 50),
          vary=("b", "sigma")) has the shape (50, 2) and its points, index
          and file in the order of '--vary b=... --vary sigma=...'
output    a path: the rows also go to this new file, byte for byte the
          file of 'veltrano-cli sweep --output' for the same points (use
          spaced() for the values of its --vary), written as they complete
          and locked while they are; a file that exists is never replaced
resume    True: continue the file of output, cut short by a stop, after
          checking that it is this sweep's (as --resume does)
shard     (K, M): only the K-th of M contiguous, nearly equal blocks of the
          points, as --shard K/M; 'veltrano-cli join' puts their files
          together. The result arrays are then 1-D, the block's points.

Returns a Sweep with arrays index (the point's number in the sweep, the
first sequence, or the first of vary, varying slowest), sigma, R, b (the point's values), t,
lambda1, lambda2, lambda3, kaplan_yorke (NaN where a fault stopped the
point), status ('ok', 'error' or 'inconsistent', as for spectrum()), ok
(status == 'ok'), and with errors intervals, lambda1_err, lambda2_err,
lambda3_err (None without errors), and shape. The element for (sigma, R, b)
is bit for bit the row that 'veltrano-cli sweep' gives for those values.
A file that is not this sweep's, or that another process writes, raises
ValueError; one that cannot be written, OSError; both before any work, with
the command line's messages. Ctrl-C leaves a file that resume=True finishes.
)";

inline constexpr const char* kSpacedDoc = R"(spaced(start, stop, count)

The values of 'veltrano-cli sweep --vary NAME=START:STOP:COUNT' to the bit:
count values from exactly start to exactly stop, evenly spaced (start alone
when count is 1), as a NumPy array. A sweep over these values writes the
rows of that --vary, so that 'veltrano-cli join', 'plot' and '--resume'
take its files; numpy.linspace may differ from them in the last bit.

>>> veltrano.spaced(0, 1, 5)
array([0.  , 0.25, 0.5 , 0.75, 1.  ])
)";

inline constexpr const char* kSystemsDoc = R"(systems()

The names of the flows of the catalogue, in its order (veltrano-cli
systems describes them); system(name) gives one.
)";

inline constexpr const char* kSystemDoc = R"(system(name, dimension=None)

The flow of the catalogue called `name`, at `dimension` for a flow whose
dimension is chosen (None: its default), as a System. An unknown name or a
dimension the flow cannot take raises ValueError with the command line's
message.
)";

inline constexpr const char* kEquationsDoc = R"(equations(text)

The flow typed in `text` (a str), as a System named "equations" whose
spectrum(), history() and sweep() run its compiled equations, bit for bit
what veltrano-cli --equations FILE gives for that text. One statement a
line (or separated by ';'), '#' starting a comment:

  x' = -y - z     an equation; the variables in the order of these lines
  a = 0.2         a parameter and its default
  x(0) = 1        a starting value (default 1)

Its digest is the text's SHA-256 (64 hexadecimal digits), its equations
the text as given. A text the parser refuses raises ValueError with the
command line's message: line and column, the line, a caret under the
place. The files of sweep(output=...) and history's system name the flow
"equations:" and the digest.
)";

inline constexpr const char* kSystemClassDoc = R"(A flow of the catalogue or typed (equations()): name, title, summary, dimension, variables
(tuple of str), parameters (dict of each name to its default, in order),
start (the default starting point), equations (the right-hand sides, then
every parameter and starting value, one per line), source, and spectra
(PublishedSpectrum: what publications give, their parameters in the order
of `parameters`), digest (of typed equations the SHA-256 of their text,
else None). spectrum(), history() and sweep() run it.
)";

inline constexpr const char* kSystemSpectrumDoc = R"(spectrum(n, *, exponents=None, initial=None, transient={transient}, step={step},
         steps_per_interval={steps_per_interval}, errors={errors}, batch={batch}, target_error={target_error},
         **parameters)

One run of n measured intervals (1 <= n <= 10**9) of this flow, the
leading `exponents` exponents (None: all d), from `initial` (None: the
flow's start; otherwise d finite numbers), with NAME=value for any of its
parameters (the others keep their defaults). Bit for bit what
veltrano-cli --system NAME gives (typed equations: --equations FILE).
Returns a SystemSpectrum with

  t                the time integrated (after an arithmetic fault: the
                   time reached, 0 in the transient)
  exponents        the k exponents (NaN after a fault)
  half_widths      their 95 % half-widths (with errors; NaN with fewer
                   than ten batches; None without errors)
  intervals        measured intervals done (with errors; None otherwise)
  completed        False when an arithmetic fault stopped the run
  mean_divergence  the mean of the divergence of the flow along the orbit,
                   which the d exponents add up to (NaN after a fault)
)";

inline constexpr const char* kSystemSweepDoc = R"(sweep(n, threads=None, progress=None, *, vary=None, output=None, resume=False,
      shard=None, exponents=None, initial=None, transient={transient}, step={step},
      steps_per_interval={steps_per_interval}, errors={errors}, batch={batch}, target_error={target_error},
      **parameters)

spectrum() over the outer product of the values given: each parameter
NAME=value a number or a 1-D sequence of numbers (the others keep their
defaults), at most three of them sequences; the sequences give the
dimensions of the result in the flow's order of parameters, the first
varying slowest, unless vary gives another. Every point is bit for bit its
spectrum(). The run is that of 'veltrano-cli sweep --system NAME': the
same threads, points and file.

threads   how many threads compute (default: every hardware thread)
progress  a callable that receives (done, total) now and then
vary      the names of the parameters given as sequences, each once, in
          the order they vary, the first slowest, as the order of --vary
output    a path: the rows also go to this new file, byte for byte the
          file of 'veltrano-cli sweep --system NAME --output' for the same
          points (use spaced() for the values of its --vary), written as
          they complete and locked while they are; a file that exists is
          never replaced
resume    True: continue the file of output, cut short by a stop, after
          checking that it is this sweep's (as --resume does)
shard     (K, M): only the K-th of M contiguous, nearly equal blocks of the
          points, as --shard K/M; 'veltrano-cli join --system NAME' puts
          their files together. The result arrays are then 1-D, the block's
          points.

Returns a SystemSweep of NumPy arrays: index (the point's number in the
sweep and its row in the file), t, completed, status ('ok', 'error' or
'inconsistent', the file's) and mean_divergence of that shape, exponents
and (with errors; None without) half_widths of that shape and a last axis
of k. A file that is not this sweep's (the user's, another flow's, another
process's) raises ValueError; one that cannot be written, OSError; both
before any work, with the command line's messages. Ctrl-C stops the
threads and leaves a file that resume=True finishes.
)";

inline constexpr const char* kSystemHistoryDoc = R"(history(n, every=1, *, exponents=None, initial=None, transient={transient},
        step={step}, steps_per_interval={steps_per_interval}, errors={errors}, batch={batch},
        target_error={target_error}, **parameters)

The estimates as one run of this flow goes (the run of spectrum() with
the same arguments): a row after every `every`-th measured interval and
after the last. Returns a SystemHistory of NumPy arrays with a row each:
interval and t, exponents with a last axis of k and, with errors,
half_widths of that shape (NaN before the tenth batch; None without
errors); completed is False when an arithmetic fault stopped the run after
the rows it has, system the flow's name in files (NAME:D where the
dimension is chosen). The row of interval k is bit for bit a run of n = k,
and the rows are those of veltrano-cli history --system NAME.
)";

}  // namespace veltrano::python
