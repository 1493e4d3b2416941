#include "jobs/JobStatusStrip.h"

#include "jobs/CaptionLabels.h"

#include "widgets/Controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

JobStatusStrip::JobStatusStrip(int index, CaptionLabels& captions, QWidget* parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("panStatus_%1").arg(index));
    setFrameShape(QFrame::StyledPanel);
    setStyleSheet(QStringLiteral("#panStatus_%1 { background: #eef2f7; }").arg(index));

    static constexpr Caption kNumberCaption[] = {Caption::JobNo, Caption::DocumentsJobNo,
                                                 Caption::ClientJobNo};
    static constexpr Caption kStatusCaption[] = {Caption::JobStatus, Caption::DocumentsJobStatus,
                                                 Caption::ClientJobStatus};
    labJobNumber = new QLabel(this);
    labJobNumber->setObjectName(QStringLiteral("labJobNumber_%1").arg(index));
    labJobStatus = new QLabel(this);
    labJobStatus->setObjectName(QStringLiteral("labJobStatus_%1").arg(index));
    for (QLabel* value : {labJobNumber, labJobStatus}) {
        value->setStyleSheet(QStringLiteral("font-weight: bold; color: #1f3a5f;"));
        value->setMinimumWidth(90);
    }
    cmdChangeStatus = makeButton(this, "", QStringLiteral("Change Status"),
                                 QStringLiteral("Change the status of the job."));
    cmdChangeStatus->setObjectName(QStringLiteral("cmdChangeStatus_%1").arg(index));
    connect(cmdChangeStatus, &QPushButton::clicked, this, &JobStatusStrip::changeStatusClicked);
    setFocusProxy(cmdChangeStatus);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 4);
    row->addWidget(captions.make(this, kNumberCaption[index]));
    row->addWidget(labJobNumber);
    row->addSpacing(16);
    row->addWidget(captions.make(this, kStatusCaption[index]));
    row->addWidget(labJobStatus, 1);
    row->addWidget(cmdChangeStatus);
}

void JobStatusStrip::setJobNumber(const QString& number) {
    labJobNumber->setText(number);
}

void JobStatusStrip::setJobStatus(const QString& status) {
    labJobStatus->setText(status);
}
