# The program table benchmark: the real DLL filling the in-process spreadsheet
# double, beside the same automation calls made directly (see the source).
if(WINDOWS_BUILD AND TARGET excel_double)
  add_test_binary(ledgerfill_table_bench EXE SOURCES ${CMAKE_CURRENT_LIST_DIR}/table_bench.cpp
                  LIBS ledgerfill_core ole32 oleaut32 uuid advapi32)
  target_include_directories(ledgerfill_table_bench PRIVATE
                             ${CMAKE_CURRENT_LIST_DIR}/../tests/double ${CMAKE_CURRENT_LIST_DIR}/../tests/native
                             ${CMAKE_SOURCE_DIR}/testsupport)
  add_dependencies(ledgerfill_table_bench ledgerfill excel_double)
endif()
