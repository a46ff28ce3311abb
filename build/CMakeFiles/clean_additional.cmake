# Additional clean files
cmake_minimum_required(VERSION 3.16)

if("${CONFIG}" STREQUAL "" OR "${CONFIG}" STREQUAL "RelWithDebInfo")
  file(REMOVE_RECURSE
  "src/CMakeFiles/vna_autogen.dir/AutogenUsed.txt"
  "src/CMakeFiles/vna_autogen.dir/ParseCache.txt"
  "src/vna_autogen"
  )
endif()
