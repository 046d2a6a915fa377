# The part picture beyond the globbed programs. Its inner functions are not
# exported, so the Wine test links the picture sources itself; the files it
# rewrites are then read by decoders that did not write them; the benchmark
# times trimming against a plain GDI+ load and save.
file(GLOB picture_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win/picture_*.cpp)

if(BUILD_TESTING AND TARGET ledgerfill_wine_test)
  target_sources(ledgerfill_wine_test PRIVATE ${picture_sources})
  target_link_libraries(ledgerfill_wine_test PRIVATE hostpath wincommon)
  add_test(NAME ledgerfill_picture_readers
           COMMAND ${DEBIAN_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/tests/picture_readers.py)
  set_tests_properties(ledgerfill_wine_test PROPERTIES FIXTURES_SETUP ledgerfill_pictures)
  set_tests_properties(ledgerfill_picture_readers PROPERTIES FIXTURES_REQUIRED ledgerfill_pictures LABELS wine)
endif()

add_test_binary(ledgerfill_picture_bench EXE SOURCES bench/picture_bench.cpp ${picture_sources}
                LIBS ledgerfill_core hostpath wincommon gdi32 gdiplus)
target_include_directories(ledgerfill_picture_bench PRIVATE win ${CMAKE_SOURCE_DIR}/testsupport)
