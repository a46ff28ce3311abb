# The fuzz harnesses (README: Tests). Each is built twice. With the
# compiler of the build, on a driver that replays inputs (replay_main.cpp):
# its seeds replay as the test fuzz.<name>, each seed's name saying what its
# reader must decide, in every build. And, to fuzz, with clang's libFuzzer in
# a sub-build (build/fuzz) with the sanitizers, whose seed replay is the
# test fuzz.<name>.libfuzzer; without a clang that can link libFuzzer that
# build and its tests are left out.
include(${CMAKE_CURRENT_LIST_DIR}/harnesses.cmake)

add_library(vna_fuzz_replay STATIC
  ${CMAKE_CURRENT_LIST_DIR}/fuzz_support.cpp ${CMAKE_CURRENT_LIST_DIR}/fuzz_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/replay_main.cpp ${PROJECT_SOURCE_DIR}/tests/support/fresh_state.cpp)
target_include_directories(vna_fuzz_replay PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(vna_fuzz_replay PUBLIC vna)
foreach(name IN LISTS VNA_FUZZ_HARNESSES)
  add_executable(replay_${name} ${CMAKE_CURRENT_LIST_DIR}/fuzz_${name}.cpp)
  target_link_libraries(replay_${name} PRIVATE vna_fuzz_replay)
  file(GLOB seeds CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/seeds/${name}/*)
  list(SORT seeds)
  foreach(seed IN LISTS seeds)
    get_filename_component(seed_name ${seed} NAME)
    if(NOT seed_name MATCHES "^(ok|no[0-9]*|any)_")
      message(FATAL_ERROR "Seed ${name}/${seed_name}: its name must say what the reader decides")
    endif()
  endforeach()
  add_test(NAME fuzz.${name} COMMAND replay_${name} ${seeds})
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 120 ENVIRONMENT
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp")
endforeach()
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
    add_test(NAME fuzz.${name}.libfuzzer COMMAND ${PROJECT_BINARY_DIR}/fuzz/bin/fuzz_${name} ${seeds})
    set_tests_properties(fuzz.${name}.libfuzzer PROPERTIES TIMEOUT 120 ENVIRONMENT
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp")
  endforeach()
endif()

# Planted faults: a reader's refusal path given a fault, built into its
# harness in place of the library's reader, must fail the harness's check
# on a seed that the reader refuses (and that the real reader passes as the
# test fuzz.<name>). The fault is written into a copy of the reader's
# source at configure time; a source that no longer holds the line it is
# planted after stops the configuration.
function(vna_planted_fault test harness reader after fault seed expect)
  set(source ${PROJECT_SOURCE_DIR}/${reader})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(READ ${source} text)
  string(FIND "${text}" "${after}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "Planted fault ${test}: ${reader} no longer holds the line it goes after")
  endif()
  string(REPLACE "${after}" "${after}${fault}" planted "${text}")
  get_filename_component(base ${reader} NAME_WE)
  set(copy ${CMAKE_BINARY_DIR}/planted/${test}/${base}.cpp)
  file(WRITE ${copy} "${planted}")
  add_executable(planted_${test} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/fuzz_${harness}.cpp ${copy})
  target_link_libraries(planted_${test} PRIVATE vna_fuzz_replay)
  # A failed check aborts the harness; the shell hands on its words, which
  # decide the test.
  add_test(NAME fuzz.planted.${test}
           COMMAND sh -c "\"$0\" \"$1\"; exit 0" $<TARGET_FILE:planted_${test}>
                   ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/seeds/${harness}/${seed})
  set_tests_properties(fuzz.planted.${test} PROPERTIES TIMEOUT 120
    PASS_REGULAR_EXPRESSION "fuzz check failed: ${expect}")
endfunction()

# The calibration reader leaves the Port A table it had read in force when
# a later line (a Port B row) refuses the file: a half-loaded table.
vna_planted_fault(cal_half_table cal_file src/calibration/cal_file_read.cpp
  "  if (!read || vna_status != 0) {\n"
  "    std::copy(c.a.begin(), c.a.end(), CalDataA);  // planted fault\n"
  no87212_b_high_row.vcal "a refused calibration file \\(status 87212\\): changed CalDataA")
# The Port A scan reader keeps the points it read from a file refused for a
# point no measurement can have.
vna_planted_fault(scan_a_kept_points scan_a src/files/scan_file_a.cpp
  "  if (status != 0) {\n"
  "    std::copy(s.zmag.begin(), s.zmag.end(), readA_zmag);  // planted fault\n"
  no7235_huge_z.scn "a refused Port A scan file \\(status 7235\\): changed readA_zmag")
# A crystal data line glued to the last line of a file that does not end
# with a line end.
vna_planted_fault(xtal_glued_line xtal_file src/shell/text_file.cpp
  "  if (last != '\\n' && last != '\\r') bytes.insert(0, \"\\r\\n\");\n"
  "  bytes.erase(0, bytes.size() - text.size());  // planted fault\n"
  ok_no_line_end.xdat "the crystal data file after a save")
