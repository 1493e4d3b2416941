#pragma once

#include <QPlainTextEdit>

// A box of many lines that stays quick however long a line of its text is. The box lays each of
// its paragraphs out whole, again at every change of size and to place the cursor, in time and
// memory that grow with the paragraph's length: a line of 5 MB takes it many seconds each time.
// So setText() shows a very long line as paragraphs of about a thousand characters, each but the
// last ending with an invisible word joiner, and text() (and what is copied) joins them again.
class TextBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

    void setText(const QString& text);
    QString text() const;

protected:
    QMimeData* createMimeDataFromSelection() const override;

private:
    QString joined(QString shown) const;

    bool inPieces_ = false;
};
