#pragma once

class QWidget;
class ScreenMetrics;

// Places a window in the middle of the part of the screen the desktop leaves to windows, never
// above it or to its left.
void CentreForm(QWidget* window, const ScreenMetrics& screen);
