# The test page: the full-page test and the one a set's page shows inline.
target_sources(quorvel_study_views PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/StudyTestPanel.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyTestPanel.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyCapsuleLabel.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyCapsuleLabel.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyTestProgressBar.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyTestProgressBar.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyTestOption.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyTestOption.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyTestQuestionCard.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyTestQuestionCard.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyTestView.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyTestView.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyQuizPage.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyQuizPage.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyInlineTest.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyInlineTest.h
)
