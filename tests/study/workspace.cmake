# The application's study workspace assembled from its real pages.
quorvel_test(study_workspace_tests ui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/StudyViewFixture.h ${CMAKE_CURRENT_LIST_DIR}/StudyWorkspacePagesTest.cpp
  LIBS quorvel_study_views quorvel_services_testing Qt6::Test)
target_compile_definitions(study_workspace_tests PRIVATE QUORVEL_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
