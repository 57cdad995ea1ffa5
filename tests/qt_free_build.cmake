# The build without Qt, as the core preset makes it: configured and its
# command-line tool compiled with warnings as errors, the tool refusing a
# picture and saying why. Invoked by CTest with -DSOURCE=<tree> -DBINARY=<folder>
# -DGENERATOR=<the build's generator>.

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what}: status ${status}\n${out}${err}")
  endif()
endfunction()

file(REMOVE_RECURSE ${BINARY})
# Unoptimised and with the fewest copies of the lane engine (one a lane
# width, none for AVX-512): it is compiled to be checked, not measured.
run("configuring without Qt" ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -G ${GENERATOR} -DCMAKE_BUILD_TYPE=Check -DCMAKE_CXX_FLAGS_CHECK=-O0
    -DVELTRANO_WITH_QT=OFF -DVELTRANO_ENGINE_ONE_COPY=ON -DVELTRANO_AVX512=OFF -DVELTRANO_TESTS=OFF -DVELTRANO_PYTHON=OFF -DVELTRANO_WERROR=ON)
run("building veltrano-cli without Qt" ${CMAKE_COMMAND} --build ${BINARY} --target veltrano-cli -j 2)

execute_process(COMMAND ${BINARY}/cli/veltrano-cli history --plot h.png 5 10 28 2.6667
  WORKING_DIRECTORY ${BINARY} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 2 OR NOT out STREQUAL "" OR NOT err MATCHES "without Qt" OR EXISTS ${BINARY}/h.png)
  message(FATAL_ERROR "a picture without Qt: status ${status}, stdout '${out}', stderr '${err}'")
endif()
