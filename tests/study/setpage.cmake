# The set page: its pure rules, and the page itself offscreen on the virtual clock.
quorvel_test(setpage_view_tests ui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/StudyViewFixture.h ${CMAKE_CURRENT_LIST_DIR}/SetPageFixture.h
          ${CMAKE_CURRENT_LIST_DIR}/SetPageViewTest.cpp ${CMAKE_CURRENT_LIST_DIR}/SetPageCardsTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/SetPageMotionTest.cpp ${CMAKE_CURRENT_LIST_DIR}/SetPageRulesTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/StudySaveFailureTest.cpp
  LIBS quorvel_study_views quorvel_services_testing Qt6::Test)
target_compile_definitions(setpage_view_tests PRIVATE QUORVEL_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
