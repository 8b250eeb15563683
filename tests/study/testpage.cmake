quorvel_test(study_testpage_tests ui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/StudyViewFixture.h ${CMAKE_CURRENT_LIST_DIR}/StudyTestViewTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/StudyTestHostsTest.cpp
  LIBS quorvel_study_views quorvel_services_testing Qt6::Test)
target_compile_definitions(study_testpage_tests PRIVATE QUORVEL_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
