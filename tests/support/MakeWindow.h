#pragma once

#include <QWidget>
#include <functional>

class AppState;

// How a test opens one of the program's windows on its application state.
using MakeWindow = std::function<QWidget*(AppState&)>;

// The screen made and loaded (Form_Load) as the program opens it.
template <class Screen>
MakeWindow loaded() {
    return [](AppState& app) -> QWidget* {
        auto* screen = new Screen(app);
        screen->Form_Load();
        return screen;
    };
}
