#pragma once

#include <QString>
#include <QStringList>

// The small text routines the merge and the estimate printout share.

// The characters after the last "." of a name, case kept; empty when there is none.
QString GetFileExtension(const QString& name);
QString StripLineFeeds(QString text);
QString StripCarriageReturns(QString text);
// The characters before the first carriage return; the whole text when there is none.
QString FirstLine(const QString& text);
QString ReplaceChar(QString text, QChar character, const QString& replacement);
int MinOf(int a, int b);

// Ends every piece of a split text but the last.
inline const QString ChunkMarker = QStringLiteral("[%&%]");
// Splits a long text into pieces of at most `size` UTF-16 units, carriage returns removed; every
// piece but the last ends with the marker. A cut never falls inside a character (a character
// beyond the basic plane ends the piece one unit short), so the pieces together hold the whole
// text and their number follows from where the cuts fall.
QStringList SplitIntoChunks(const QString& text, int size);

// Text as the screens hold it (lines ended by "\n") with its lines ended by carriage return and
// line feed, the form the routines above expect.
QString withCrLf(const QString& text);
// The other way: each "\r\n" or lone "\r" one line feed, the form our documents take.
QString asLines(QString text);
