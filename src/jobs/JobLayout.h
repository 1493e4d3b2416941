#pragma once

#include <QLabel>
#include <QVBoxLayout>

// How the job screen's pages lay out a box: its label above it.
inline QVBoxLayout* stacked(QLabel* label, QWidget* box) {
    auto* pair = new QVBoxLayout;
    pair->setSpacing(1);
    pair->addWidget(label);
    pair->addWidget(box, 1);
    return pair;
}
