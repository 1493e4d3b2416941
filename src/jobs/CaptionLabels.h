#pragma once

#include "db/LabelTexts.h"

#include <QObject>
#include <array>

class QLabel;
class QWidget;

// The job screen's renamable captions, wherever its pages and panels show them: each label is
// made here under its index, and a double-click on one asks to rename it.
class CaptionLabels : public QObject {
    Q_OBJECT
public:
    static constexpr int kCount = captions::kLabelCount;

    explicit CaptionLabels(QObject* parent = nullptr);

    // The label of the caption on parent, with the default text, naming the box it describes.
    QLabel* make(QWidget* parent, Caption caption, QWidget* buddy = nullptr);

    QString text(int index) const;
    void setText(int index, const QString& text);
    std::array<QString, kCount> texts() const;

Q_SIGNALS:
    void doubleClicked(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLabel*, kCount> labels_{};
};
