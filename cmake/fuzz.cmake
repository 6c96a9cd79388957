# libFuzzer target of the decoders of what the program reads from disk (the
# archive record, the archive list line, the settings record, GBK text),
# built with clang whatever compiler builds the rest, and run briefly as the
# test fuzz_decoders. Skipped with a message when no clang with libFuzzer is
# found (Debian: apt-get install clang).
if(NOT TENGLAN_FUZZ)
  return()
endif()

find_program(TENGLAN_CLANGXX NAMES clang++ clang++-16 clang++-15 clang++-14)
if(NOT TENGLAN_CLANGXX)
  message(STATUS "fuzz_decoders: no clang++ found, the fuzz test is skipped")
  return()
endif()

set(TENGLAN_FUZZ_FLAGS -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)

# Can this clang link a fuzz target?
set(probe_dir ${CMAKE_BINARY_DIR}/fuzz_probe)
file(WRITE ${probe_dir}/probe.cpp
  "#include <cstddef>\n#include <cstdint>\n"
  "extern \"C\" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }\n")
execute_process(
  COMMAND ${TENGLAN_CLANGXX} ${TENGLAN_FUZZ_FLAGS} probe.cpp -o probe
  WORKING_DIRECTORY ${probe_dir}
  RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
if(NOT probe_result EQUAL 0)
  message(STATUS "fuzz_decoders: ${TENGLAN_CLANGXX} cannot link -fsanitize=fuzzer, the fuzz test is skipped")
  return()
endif()
message(STATUS "fuzz_decoders: built with ${TENGLAN_CLANGXX}")

set(fuzz_sources
  ${CMAKE_SOURCE_DIR}/fuzz/decoders_fuzz.cpp
  ${CMAKE_SOURCE_DIR}/src/archive/gbk.cpp
  ${CMAKE_SOURCE_DIR}/src/archive/record.cpp
  ${CMAKE_SOURCE_DIR}/src/archive/list.cpp
  ${CMAKE_SOURCE_DIR}/src/archive/store.cpp
  ${CMAKE_SOURCE_DIR}/src/settings/settings.cpp
  ${CMAKE_SOURCE_DIR}/src/calendar/civil.cpp
  ${CMAKE_SOURCE_DIR}/src/chart/utf8.cpp)
file(GLOB fuzz_headers CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/archive/*.h ${CMAKE_SOURCE_DIR}/src/settings/*.h
  ${CMAKE_SOURCE_DIR}/src/calendar/*.h ${CMAKE_SOURCE_DIR}/src/chart/*.h)

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/tenglan_fuzz
  COMMAND ${TENGLAN_CLANGXX} ${TENGLAN_FUZZ_FLAGS} -I${CMAKE_SOURCE_DIR}/src ${fuzz_sources}
          -o ${CMAKE_BINARY_DIR}/tenglan_fuzz
  DEPENDS ${fuzz_sources} ${fuzz_headers}
  COMMENT "Building the libFuzzer target tenglan_fuzz with ${TENGLAN_CLANGXX}"
  VERBATIM)
add_custom_target(tenglan_fuzz ALL DEPENDS ${CMAKE_BINARY_DIR}/tenglan_fuzz)

# A short fixed run: the same inputs every time, no corpus written.
add_test(NAME fuzz_decoders
  COMMAND ${CMAKE_BINARY_DIR}/tenglan_fuzz -seed=1 -runs=50000 -max_len=128 -max_total_time=60)
