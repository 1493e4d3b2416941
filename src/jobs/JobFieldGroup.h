#pragma once

#include <QList>
#include <QObject>

class AppState;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

// What the boxes of a job share, for the page that holds them: the highlight while a box has
// the focus, typing refused while no job is on the screen, the editing state on the first key
// or change of text, the date and price checks on leaving a box, and the F2 date-and-time stamp.
class JobFieldGroup : public QObject {
    Q_OBJECT
public:
    JobFieldGroup(AppState& app, QObject* parent);

    // Adds a box of the job under its object name.
    template <class Box>
    Box* add(Box* box, const QString& name) {
        box->setObjectName(name);
        addBox(box);
        return box;
    }
    // A box holding a date, checked and rewritten in the display format on leaving it.
    QLineEdit* addDate(QLineEdit* box, const QString& name);
    // The box holding the price, checked and shown as an amount on leaving it.
    QLineEdit* addPrice(QLineEdit* box, const QString& name);
    // F2 in the box types the date and time: while a job is loaded, or at any time.
    void stampOnF2(QPlainTextEdit* box, bool evenWithoutJob);

    // While no job is loaded, the boxes take no typing, pasting or dropping.
    void setLoaded(bool loaded);
    bool loaded() const { return loaded_; }
    // The page fills its boxes: their changes are not the user's editing.
    void setFilling(bool filling) { filling_ = filling; }

    // A box that is not a job's field but looks and leaves like one: highlighted while it has the
    // focus, read from its start when left.
    static void highlight(QLineEdit* box);

Q_SIGNALS:
    // The user changed a box of the loaded job.
    void edited();
    // The user tried to type while no job is loaded.
    void refused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addBox(QWidget* box);
    bool handleKey(QObject* watched, const QKeyEvent* key);
    void leave(QObject* watched);
    void checkPrice();
    void markEdited();

    AppState& app_;
    bool loaded_ = false;
    bool filling_ = false;
    QList<QWidget*> boxes_;
    QList<QLineEdit*> dates_;
    QLineEdit* price_ = nullptr;
    QList<QPlainTextEdit*> stamped_;
    QList<QPlainTextEdit*> stampedAlways_;
};
