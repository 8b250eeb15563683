# Whole typing jobs from the first key to "done": the run and its repairs together.
quorvel_test(engine_wholerun_tests unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/WholeRunTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RunHarness.h
  LIBS quorvel_engine quorvel_engine_fakes quorvel_platform_sim)
