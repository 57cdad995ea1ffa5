# Headers compiled once for a family of targets and read ready-made by every
# file of the family (precompiled headers): a library's headers that take
# much of each file's parse, the same in every file. A family's targets
# are compiled with the same code-generation options (position-independent
# code, the sanitizers, the debug information); where one is not, GCC
# refuses the file and says so (-Winvalid-pch, an error in the builds with
# warnings as errors). Only what these libraries declare is shared: none of
# our own headers, and nothing that the numbers depend on.
#
#   veltrano_shared_headers(HEADERS <header>... TARGETS <target>...)
#
# The first target that exists compiles the headers; the others use its
# file. GCC reads the file only where every macro defined when it was made is
# defined alike: the first target is the one with the fewest definitions.
# Targets this build does not make are passed over.
function(veltrano_shared_headers)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "" "HEADERS;TARGETS")
  set(owner "")
  foreach(target IN LISTS arg_TARGETS)
    if(NOT TARGET ${target})
      continue()
    endif()
    if(owner)
      target_precompile_headers(${target} REUSE_FROM ${owner})
    else()
      target_precompile_headers(${target} PRIVATE ${arg_HEADERS})
      set(owner ${target})
    endif()
  endforeach()
endfunction()
