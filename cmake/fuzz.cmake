# libFuzzer target of the decoders of what the program reads from disk (the
# archive record, the archive list line, the settings record, GBK text),
# built with clang (fuzz/ is a project of its own, linking core) and run
# briefly as the test fuzz_decoders. Skipped with a message when no clang
# with libFuzzer is found (Debian: apt-get install clang).
if(NOT TENGLAN_FUZZ)
  return()
endif()

find_program(TENGLAN_CLANGXX NAMES clang++ clang++-16 clang++-15 clang++-14)
if(NOT TENGLAN_CLANGXX)
  message(STATUS "fuzz_decoders: no clang++ found, the fuzz test is skipped")
  return()
endif()

# Can this clang link a fuzz target?
set(probe_dir ${CMAKE_BINARY_DIR}/fuzz_probe)
file(WRITE ${probe_dir}/probe.cpp
  "#include <cstddef>\n#include <cstdint>\n"
  "extern \"C\" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }\n")
execute_process(
  COMMAND ${TENGLAN_CLANGXX} -fsanitize=fuzzer,address,undefined probe.cpp -o probe
  WORKING_DIRECTORY ${probe_dir}
  RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
if(NOT probe_result EQUAL 0)
  message(STATUS "fuzz_decoders: ${TENGLAN_CLANGXX} cannot link -fsanitize=fuzzer, the fuzz test is skipped")
  return()
endif()
message(STATUS "fuzz_decoders: built with ${TENGLAN_CLANGXX}")

include(ExternalProject)
set(fuzz_build ${CMAKE_BINARY_DIR}/fuzz)
ExternalProject_Add(tenglan_fuzz
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/fuzz
  BINARY_DIR ${fuzz_build}
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=${TENGLAN_CLANGXX} -DCMAKE_BUILD_TYPE=Release
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${fuzz_build}/tenglan_fuzz)

# A short fixed run: the same inputs every time, no corpus written.
add_test(NAME fuzz_decoders
  COMMAND ${fuzz_build}/tenglan_fuzz -seed=1 -runs=50000 -max_len=128 -max_total_time=60)
