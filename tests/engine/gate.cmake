# The gate every key of a run passes, and the characters a field cannot take.
quorvel_test(engine_gate_tests unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/KeyGateTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RunHarness.h
  LIBS quorvel_engine quorvel_engine_fakes quorvel_platform_sim)
