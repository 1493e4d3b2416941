#pragma once

#include "jobs/JobContact.h"
#include "records/JobFields.h"

#include <QWidget>

class AppState;
class CaptionLabels;
class JobFieldGroup;
class JobStatusStrip;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The job screen's "Client Details" tab: the client the job is done for.
class ClientPage : public QWidget {
    Q_OBJECT
public:
    ClientPage(AppState& app, CaptionLabels& captions, QWidget* parent = nullptr);

    void setFields(const JobFields& fields);
    void readFields(JobFields& fields) const;
    void setJobNumber(const QString& number);
    void setJobStatus(const QString& status);
    void setJobLoaded(bool loaded);
    // The client chosen from the lookup panel.
    void setClient(const JobContact& client);
    // The focus to the client's first empty box (the numbers when none is).
    void focusClient();

Q_SIGNALS:
    void edited();
    void refused();
    void changeStatusClicked();
    void findClientClicked();

private:
    JobFieldGroup* fields_;
    JobStatusStrip* strip_;
    QLineEdit* txtCliName;
    QPlainTextEdit* txtCliAddress;
    QPlainTextEdit* txtCliNumbers;
    QPlainTextEdit* txtCliNotes;
    QPushButton* cmdFindClient_1;
};
