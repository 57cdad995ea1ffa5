# The build without Qt, as the core preset makes it: configured (its tests
# too) with warnings as errors, its build files naming neither Qt nor one of
# our libraries that is not built there (linked by name, it would fail only
# when linking); and its
# command-line tool, whose only file of its own is the opening of the
# plugin (the test program veltrano_cli_without_qt, that file compiled as
# without Qt and linked with the objects every build shares), linking no Qt
# library and refusing a picture, saying why. Invoked by CTest with
# -DSOURCE=<tree> -DBINARY=<folder> -DGENERATOR=<the build's generator>
# -DTOOL=<that tool>.

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what}: status ${status}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${BINARY})
run("configuring without Qt" ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -G ${GENERATOR} -DCMAKE_BUILD_TYPE=Release
    -DVELTRANO_WITH_QT=OFF -DVELTRANO_WERROR=ON)
file(GLOB build_files ${BINARY}/*.ninja ${BINARY}/Makefile)
foreach(build_file IN LISTS build_files)
  file(STRINGS ${build_file} qt_lines REGEX "[Qq]t6|-lveltrano")
  if(qt_lines)
    list(GET qt_lines 0 first)
    message(FATAL_ERROR "the build without Qt names Qt or a library it lacks in ${build_file}: ${first}")
  endif()
endforeach()
if(NOT build_files)
  message(FATAL_ERROR "configuring without Qt wrote no build files in ${BINARY}")
endif()
file(REMOVE_RECURSE ${BINARY})

run("listing the libraries of ${TOOL}" ldd ${TOOL})
if(out MATCHES "libQt")
  message(FATAL_ERROR "the tool built as without Qt links Qt:\n${out}")
endif()

set(picture ${CMAKE_CURRENT_BINARY_DIR}/qt-free-h.png)
file(REMOVE ${picture})
execute_process(COMMAND ${TOOL} history --plot ${picture} 5 10 28 2.6667
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 2 OR NOT out STREQUAL "" OR NOT err MATCHES "without Qt" OR EXISTS ${picture})
  message(FATAL_ERROR "a picture without Qt: status ${status}, stdout '${out}', stderr '${err}'")
endif()
