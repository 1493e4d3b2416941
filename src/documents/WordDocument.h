#pragma once

#include "documents/OfficeError.h"

#include <QByteArray>
#include <QString>
#include <memory>

// A word-processing document or template (.dotx, .docx, .dotm, .docm) read into memory, the way
// the merge fills it in: replace tokens part by part, turn line feeds into paragraphs, fill a
// table from a bookmarked cell, then save as a document.
//
// Parts are numbered 0 .. storyCount() - 1. Calls with a part number outside that range do
// nothing (and find nothing). A failed call leaves the document as it was and tells why in
// error(); a successful open or save clears it.
class WordDocument {
public:
    // The parts of a document, in the order they are visited: the main text, each header, each
    // footer, the footnotes, the endnotes, then the text boxes (all text boxes of the document,
    // wherever they are anchored, as one part). Parts that the document lacks are not listed.
    // Headers and footers come in the order the document's relationships list them.
    enum class StoryType {
        MainText = 1,
        Footnotes = 2,
        Endnotes = 3,
        TextFrame = 5,
        Header = 7,
        Footer = 9
    };

    WordDocument();
    ~WordDocument();
    WordDocument(WordDocument&&) noexcept;
    WordDocument& operator=(WordDocument&&) noexcept;

    // A new document from a template, or an existing document (.dotx, .docx, .dotm, .docm).
    bool open(const QString& path);
    bool openData(const QByteArray& zipBytes);  // the same from memory (fuzzing, tests)
    const OfficeError& error() const;           // the last failure

    int storyCount() const;
    StoryType storyType(int story) const;  // MainText for a number out of range
    // Replaces every occurrence of the text in one part and tells whether there was any.
    // Letters match without regard to case (the word processor's default). A match may run
    // across several runs (formatting inside the token, spelling and grammar marks, revision
    // ids, bookmarks): the paragraph's text is matched as one string, the replacement goes into
    // the run where the match starts and keeps that run's formatting; the rest of the match is
    // removed from the runs after it. Text in deleted revisions (w:delText), and the paragraphs
    // of text boxes nested in a paragraph, are not part of the paragraph's text. Tabs and breaks
    // inside the paragraph stop a match. The replacement may hold line feeds ("\n"; "\r\n" and
    // "\r" count as one); they stay in the text until lineFeedsToParagraphs.
    // In the text-box part, a text box written twice (the drawing and the older shape a reader
    // falls back to) is replaced in both.
    bool replaceAll(int story, const QString& find, const QString& replacement);
    bool contains(int story, const QString& text) const;
    // Turns every line feed in the part's text into a paragraph break: the paragraph is split
    // there, both halves keep the paragraph's properties and the run's formatting.
    void lineFeedsToParagraphs(int story);
    // The part's text, paragraphs joined by "\n" (tabs as "\t", line breaks as "\v", page and
    // column breaks as "\f"), for checks and tests. Separator notes and the fallback copies of
    // text boxes are left out.
    QString storyText(int story) const;

    // Tables, as the word processor's selection does them: the selection is one table cell.
    // selectBookmark: the cell holding the named bookmark (error 5941 when there is none or it
    // is not in a table cell); names match without regard to case, the main text first. Also
    // clears the selection when it fails. insertRowsBelow: that many rows below the selection's
    // row, each a copy of that row with its text removed (cell and paragraph properties kept,
    // run formatting and cell shading dropped); the selection stays where it is. moveRightCell:
    // the next cell, row by row (false at the end of the table). typeText: adds text at the end
    // of the selected cell's first paragraph, with the formatting of the last run there.
    // Without a selection these fail with error 5941 (typeText does nothing).
    bool selectBookmark(const QString& name);
    bool insertRowsBelow(int count);  // count < 1 adds nothing and succeeds
    bool moveRightCell();
    void typeText(const QString& text);

    // Saves as a document: a template's content type becomes a document's (…wordprocessingml.
    // template.main+xml → …document.main+xml, and the macro-enabled pair likewise), whatever the
    // file's name (our documents are named "507.doc"). Written whole or not at all.
    bool saveAs(const QString& path);
    // The same package in memory; empty when it could not be made (see error()).
    QByteArray saveData();

private:
    void ensure();

    struct Impl;
    std::unique_ptr<Impl> d;
};
