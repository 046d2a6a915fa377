# Header writing over arbitrary request records (native clang build).
add_fuzz_target(ledgerfill_header_fuzz
                SOURCES ${CMAKE_CURRENT_LIST_DIR}/header_fuzz.cpp
                        ${CMAKE_CURRENT_LIST_DIR}/../../core/header_items.cpp)
if(TARGET ledgerfill_header_fuzz)
  target_include_directories(ledgerfill_header_fuzz PRIVATE
                             ${CMAKE_CURRENT_LIST_DIR}/../../core ${CMAKE_CURRENT_LIST_DIR}/../../include)
endif()
