#pragma once

#include <QDialog>

class QFrame;
class QLabel;

// The about box: product, version, platform, the maker's notice and contact lines. Any key
// press or a click on the frame closes it.
class frmSplash : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFrame* Frame1;
    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblPlatform;
    QLabel* lblCopyright;
    QLabel* lblCompany;
    QLabel* lblWarning;
};
