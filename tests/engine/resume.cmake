# A resumed job: the earlier text in front of the run put right.
quorvel_test(engine_resume_tests unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ResumedPrefixRepairTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RepairFixture.h
          ${CMAKE_CURRENT_LIST_DIR}/RunHarness.h
  LIBS quorvel_engine quorvel_engine_fakes quorvel_platform_sim)
