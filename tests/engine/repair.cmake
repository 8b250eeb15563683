# The end-of-run repairs: pure rules, then whole scenarios on the simulated desktop.
quorvel_test(engine_repair_tests unit
  SOURCES RepairRulesTest.cpp ExactMatchRepairTest.cpp EndReviewTest.cpp SegmentVerifierTest.cpp RepairFixture.h
  LIBS quorvel_engine quorvel_engine_fakes quorvel_platform_sim)
