target_sources(quorvel_study_views PRIVATE ${CMAKE_CURRENT_LIST_DIR}/StudyWorkspacePages.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyWorkspacePages.h)
