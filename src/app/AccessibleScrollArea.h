#pragma once

namespace qv::app {

// Gives every QScrollArea and plain QAbstractScrollArea made from now on an
// accessibility interface of ours (text boxes and item views keep theirs):
// its children are the viewport, the containers of the scroll bars shown,
// and the corner widget, as with Qt's own one.
//
// Qt's own one hands out a child by index without checking the index: the
// number of children changes as a scroll bar comes and goes (a page grows
// or shrinks), and an assistive client that read the count a moment earlier
// asks for an index that no longer exists and is handed a pointer from past
// the end of a list. Ours answers nothing for such an index.
// Called once, after the application object is made.
void installScrollAreaAccessibility();

} // namespace qv::app
