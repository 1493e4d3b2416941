#pragma once

class QWidget;
class ScreenMetrics;

// Places a window in the middle of the screen.
void CentreForm(QWidget* window, const ScreenMetrics& screen);
