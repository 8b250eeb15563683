# The learn session's views on the virtual clock, with screenshots.
quorvel_test(study_session_view_tests ui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SessionViewFixture.h
          ${CMAKE_CURRENT_LIST_DIR}/StudySessionViewTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/StudySessionOverlayTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/StudySessionPageTest.cpp
  LIBS quorvel_study_views quorvel_services_testing Qt6::Test)
target_include_directories(study_session_view_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(study_session_view_tests PRIVATE QUORVEL_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
