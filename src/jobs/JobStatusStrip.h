#pragma once

#include <QFrame>

class CaptionLabels;
class QLabel;
class QPushButton;

// The strip at the top of each of the job screen's tabs: the job's number and status, and the
// button that changes the status. The tabs' strips are numbered 0 to 2 (panStatus_0 ...). In the
// tab order the strip stands for its button.
class JobStatusStrip : public QFrame {
    Q_OBJECT
public:
    JobStatusStrip(int index, CaptionLabels& captions, QWidget* parent);

    void setJobNumber(const QString& number);
    void setJobStatus(const QString& status);

Q_SIGNALS:
    void changeStatusClicked();

private:
    QLabel* labJobNumber;
    QLabel* labJobStatus;
    QPushButton* cmdChangeStatus;
};
