# The learn session's views: the session screen, its question card, its
# layers and the pages that host it.
target_sources(quorvel_study_views PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/StudyPanel.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyPanel.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyChoiceRow.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyChoiceRow.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyQuestionCard.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyQuestionCard.h
  ${CMAKE_CURRENT_LIST_DIR}/StudySessionStatsPanel.cpp ${CMAKE_CURRENT_LIST_DIR}/StudySessionStatsPanel.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyQuizSetupCard.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyQuizSetupCard.h
  ${CMAKE_CURRENT_LIST_DIR}/StudySessionOverlay.cpp ${CMAKE_CURRENT_LIST_DIR}/StudySessionOverlay.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyGoalPicker.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyGoalPicker.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyOptionsSheet.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyOptionsSheet.h
  ${CMAKE_CURRENT_LIST_DIR}/StudySessionView.cpp ${CMAKE_CURRENT_LIST_DIR}/StudySessionView.h
  ${CMAKE_CURRENT_LIST_DIR}/StudySessionPage.cpp ${CMAKE_CURRENT_LIST_DIR}/StudySessionPage.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyInlineSession.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyInlineSession.h
)
