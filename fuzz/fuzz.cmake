# The fuzz harnesses (README: Tests). They need clang's libFuzzer, so they are
# made in a sub-build with clang (build/fuzz), whatever compiler builds the
# rest, and each replays its seed inputs as a test. Without a clang that can
# link libFuzzer they are left out, and so are their tests.
include(${CMAKE_CURRENT_LIST_DIR}/harnesses.cmake)
option(VNA_FUZZ "Build the fuzz harnesses when clang is installed" ON)

find_program(VNA_FUZZ_CXX NAMES clang++ clang++-14 clang++-15 clang++-16)
find_program(VNA_FUZZ_CC NAMES clang clang-14 clang-15 clang-16)
set(VNA_FUZZ_READY OFF)
if(VNA_FUZZ AND VNA_FUZZ_CXX AND VNA_FUZZ_CC)
  set(probe ${CMAKE_BINARY_DIR}/fuzz_probe.cpp)
  file(WRITE ${probe} "#include <cstddef>\n#include <cstdint>\n"
                      "extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
  execute_process(
    COMMAND ${VNA_FUZZ_CXX} -fsanitize=fuzzer,address,undefined ${probe} -o ${probe}.out
    RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
  if(probe_result EQUAL 0)
    set(VNA_FUZZ_READY ON)
  else()
    message(STATUS "Fuzz harnesses left out: ${VNA_FUZZ_CXX} cannot link libFuzzer")
  endif()
elseif(VNA_FUZZ)
  message(STATUS "Fuzz harnesses left out: no clang")
endif()

if(VNA_FUZZ_READY)
  include(ExternalProject)
  ExternalProject_Add(vna_fuzz
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${PROJECT_BINARY_DIR}/fuzz
    CMAKE_ARGS -DVNA_FUZZ_ONLY=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
               -DCMAKE_C_COMPILER=${VNA_FUZZ_CC} -DCMAKE_CXX_COMPILER=${VNA_FUZZ_CXX}
               -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
               -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target fuzz_harnesses
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
  foreach(name IN LISTS VNA_FUZZ_HARNESSES)
    # Each seed named as a file: run once, no fuzzing, and nothing is ever
    # written into the seed folder.
    file(GLOB seeds CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/seeds/${name}/*)
    add_test(NAME fuzz.${name} COMMAND ${PROJECT_BINARY_DIR}/fuzz/bin/fuzz_${name} ${seeds})
    set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 120 ENVIRONMENT
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp")
  endforeach()
endif()
