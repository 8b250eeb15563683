# The typing run: its rules as pure functions, and whole runs on the simulated desktop.
quorvel_test(engine_run_tests unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TypoAndTimingTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RetypeStretchTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/InFlightEditsTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TypingRunTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RunInvariantTest.cpp ${CMAKE_CURRENT_LIST_DIR}/ExactEndTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RunHarness.h
  LIBS quorvel_engine quorvel_engine_fakes quorvel_platform_sim)
