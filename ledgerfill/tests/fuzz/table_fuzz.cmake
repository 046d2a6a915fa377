# The table run and the value texts under libFuzzer (native clang build). Their
# sources are compiled into the target so that the fuzzer sees their branches.
add_fuzz_target(ledgerfill_table_run_fuzz
                SOURCES ${CMAKE_CURRENT_LIST_DIR}/table_run_fuzz.cpp
                        ${CMAKE_CURRENT_LIST_DIR}/../../core/table_run.cpp
                        ${CMAKE_CURRENT_LIST_DIR}/../../core/value_text.cpp)
if(TARGET ledgerfill_table_run_fuzz)
  target_include_directories(ledgerfill_table_run_fuzz PRIVATE
                             ${CMAKE_CURRENT_LIST_DIR}/../../core ${CMAKE_CURRENT_LIST_DIR}/../../include)
endif()
