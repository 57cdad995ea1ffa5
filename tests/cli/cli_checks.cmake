# Runs veltrano-cli as a script would and checks exit status, standard output
# and standard error. Invoked by CTest with -DCLI=<path>.

function(expect_run)
  cmake_parse_arguments(E "" "STATUS;STDOUT;STDERR" "ARGS" ${ARGN})
  execute_process(COMMAND ${CLI} ${E_ARGS} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status STREQUAL E_STATUS)
    message(FATAL_ERROR "veltrano-cli ${E_ARGS}: status ${status}, expected ${E_STATUS}\n${out}${err}")
  endif()
  if(DEFINED E_STDOUT AND NOT out MATCHES "${E_STDOUT}")
    message(FATAL_ERROR "veltrano-cli ${E_ARGS}: stdout\n${out}\ndoes not match\n${E_STDOUT}")
  endif()
  if(DEFINED E_STDERR AND NOT err MATCHES "${E_STDERR}")
    message(FATAL_ERROR "veltrano-cli ${E_ARGS}: stderr\n${err}\ndoes not match\n${E_STDERR}")
  endif()
endfunction()

set(num "-?[0-9]+(\\.[0-9]+)?")

# The default entries: t shows 20, lambda3 about -14.04 without its trailing zero.
expect_run(ARGS 100 10 28 2.6667 STATUS 0
  STDOUT "^t\t20\nlambda1\t0\\.38[0-9]*\nlambda2\t-0\\.00[0-9]*\nlambda3\t-14\\.0[0-9]?[1-9]\nseconds\t[0-9]+(\\.[0-9]+)?\n$")
expect_run(ARGS 1 10 28 2.6667 STATUS 0
  STDOUT "^t\t0\\.2\nlambda1\t10\\.7[0-9]*\nlambda2\t-18\\.3[0-9]*\nlambda3\t-6\\.0[0-9]*\nseconds\t")
expect_run(ARGS --precise 1 10 28 2.6667 STATUS 0
  STDOUT "^t\t0\\.2000000000000000[0-9]\nlambda1\t10\\.[0-9]+\nlambda2\t-18\\.[0-9]+\nlambda3\t-6\\.[0-9]+\nseconds\t")

# The five messages, in their order, with status 2 and nothing on stdout.
expect_run(ARGS 0 10 28 2.6667 STATUS 2 STDOUT "^$"
  STDERR "^Valore Errato: il valore deve essere un intero positivo\n$")
expect_run(ARGS 20000 1,5 28 2.6667 STATUS 2 STDERR "^Valore Errato: il valore di sigma deve essere un numero reale\n$")
expect_run(ARGS 100 10 2e1 2.6667 STATUS 2 STDERR "^Valore Errato: il valore di R deve essere un numero reale\n$")
expect_run(ARGS 100 10 28 "2 " STATUS 2 STDERR "^Valore Errato: il valore di b deve essere un numero reale\n$")
expect_run(ARGS 10000 10 28 2.6667 STATUS 2 STDERR "^Deve essere n < 10000\n$")
expect_run(ARGS 100 "σ" 28 2.6667 STATUS 2 STDERR "sigma")

# An arithmetic error: message once, the time reached, question marks, no seconds.
string(REPEAT 0 200 zeros)
expect_run(ARGS 100 1${zeros} 28 2.6667 STATUS 3
  STDOUT "^t\t0\nlambda1\t\\?\nlambda2\t\\?\nlambda3\t\\?\n$" STDERR "^ERRORE NELLA ELABORAZIONE\n$")

expect_run(ARGS 1 2 3 STATUS 1 STDERR "usage")
expect_run(ARGS --help STATUS 0 STDOUT "^Usage: veltrano-cli")
