# The page of one study set: header, modes, flashcards, card list and editor.
target_sources(quorvel_study_views PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/StudyMode.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyMode.h
  ${CMAKE_CURRENT_LIST_DIR}/FlashcardDeck.cpp ${CMAKE_CURRENT_LIST_DIR}/FlashcardDeck.h
  ${CMAKE_CURRENT_LIST_DIR}/StudySetPageText.cpp ${CMAKE_CURRENT_LIST_DIR}/StudySetPageText.h
  ${CMAKE_CURRENT_LIST_DIR}/ClampedText.cpp ${CMAKE_CURRENT_LIST_DIR}/ClampedText.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyFrame.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyFrame.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyPill.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyPill.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyProgressChip.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyProgressChip.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyProgressRow.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyProgressRow.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyEllipsisButton.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyEllipsisButton.h
  ${CMAKE_CURRENT_LIST_DIR}/StudySlideMenu.cpp ${CMAKE_CURRENT_LIST_DIR}/StudySlideMenu.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyFlashcardView.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyFlashcardView.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyCarousel.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyCarousel.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyCardAreaEffect.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyCardAreaEffect.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyCardAreaGhost.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyCardAreaGhost.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyCardRow.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyCardRow.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyCardEditorRow.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyCardEditorRow.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyCardList.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyCardList.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyInlineFactories.h
  ${CMAKE_CURRENT_LIST_DIR}/StudyInlineStandIn.cpp ${CMAKE_CURRENT_LIST_DIR}/StudyInlineStandIn.h
  ${CMAKE_CURRENT_LIST_DIR}/StudySetPage.cpp ${CMAKE_CURRENT_LIST_DIR}/StudySetPage.h
  ${CMAKE_CURRENT_LIST_DIR}/StudySetPageFactory.cpp ${CMAKE_CURRENT_LIST_DIR}/StudySetPageFactory.h
)
