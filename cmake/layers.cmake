# The layers of src/, each a static library pendrik_NAME of its folder's sources, linked to the
# layers below it that it uses; every include names its layer's folder ("output/output.h").
# tests/layers.sh checks that no layer includes one above it.
#
# pendrik_layer(NAME SOURCES files... [USES layers...] [LIBRARIES libraries...]
#               [FUZZ_LIBRARIES libraries...])
# With the fuzz targets each layer is built again as pendrik_NAME_fuzz, with their sanitizers
# and the fuzz forms of the layers it uses (and FUZZ_LIBRARIES for LIBRARIES).
function(pendrik_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "SOURCES;USES;LIBRARIES;FUZZ_LIBRARIES")
  set(variants "")
  if(PENDRIK_TESTS AND PENDRIK_FUZZ)
    set(variants _fuzz)
  endif()
  foreach(variant IN ITEMS "" ${variants})
    set(target pendrik_${name}${variant})
    add_library(${target} STATIC ${layer_SOURCES})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    list(TRANSFORM layer_USES PREPEND pendrik_ OUTPUT_VARIABLE uses)
    list(TRANSFORM uses APPEND "${variant}")
    target_link_libraries(${target} PUBLIC ${uses})
    if(variant STREQUAL "")
      target_link_libraries(${target} PRIVATE ${layer_LIBRARIES})
    else()
      target_link_libraries(${target} PRIVATE ${layer_FUZZ_LIBRARIES})
      target_compile_options(${target} PUBLIC -fsanitize=fuzzer-no-link ${PENDRIK_FUZZ_SANITIZERS})
    endif()
  endforeach()
endfunction()

# A fuzz target, linked with libFuzzer and the sanitizers, its clock, files and renames those of
# tests/fuzz/fuzz_io.h, in the build's folder.
function(pendrik_fuzz_target target)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer ${PENDRIK_FUZZ_SANITIZERS}
    -Wl,--wrap=time -Wl,--wrap=fopen -Wl,--wrap=rename)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
endfunction()
