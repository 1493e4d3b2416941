#pragma once

class QScrollArea;
class QWidget;
class ScreenMetrics;

// Fits a window into the part of the screen the desktop leaves to windows and places it in the
// middle of that part. A window larger than the part is made as large as the part, with room
// for its title bar; it never starts above the part or to its left. Every top-level window opens
// through this.
void CentreForm(QWidget* window, const ScreenMetrics& screen);

// The page in a frameless scroll area that gives it all the room there is and scrolls it when the
// window is smaller than the page can be, so that the window fits a small screen.
QScrollArea* scrollingPage(QWidget* page);
