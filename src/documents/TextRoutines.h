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
// Splits a long text into pieces of at most `size` characters, carriage returns removed; every
// piece but the last ends with the marker. The number of pieces is worked out from the length
// before the carriage returns go, so the last pieces may be empty.
QStringList SplitIntoChunks(const QString& text, int size);

// Text as the screens hold it (lines ended by "\n") with its lines ended by carriage return and
// line feed, the form the routines above expect.
QString withCrLf(const QString& text);
// The other way: each "\r\n" or lone "\r" one line feed, the form our documents take.
QString asLines(QString text);
