// Conventions shared by every data file the program reads or writes.
#pragma once

#include "common/result.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace ladya {

// Reads file text line by line without copying: a line ends at CR, LF or CR LF; a
// terminator at the very end yields no empty last line; a UTF-8 byte-order mark at the
// start is skipped. Past the last line, next() gives empty lines.
class LineReader {
public:
    explicit LineReader(QByteArrayView utf8);
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    QByteArrayView next();
    // The unread bytes, for a caller that reads a line from them itself and then calls
    // skipLine with the line's length, which must end at a terminator or at the end.
    QByteArrayView rest() const { return m_bytes.sliced(qMin(m_pos, m_bytes.size())); }
    void skipLine(qsizetype length);

private:
    // Position i (at a line's end) moved past its CR, LF or CR LF.
    qsizetype pastTerminator(qsizetype i) const;

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// Every line of the file text, as LineReader reads them.
QStringList splitLines(const QByteArray& utf8);

// The text of UTF-8 bytes read from a file, every U+FEFF kept: QString::fromUtf8 drops
// one at the start as a byte-order mark, and only the file's first three bytes are one.
QString decodeUtf8(QByteArrayView utf8);

// Whole-file text whose own first character is U+FEFF gets a byte-order mark in front,
// so that the reader, which skips one mark, gives the character back.
void keepLeadingMark(QByteArray& text);

// Reads a whole file. nullopt when it cannot be opened or read; `error` (optional)
// receives the reason.
std::optional<QByteArray> readFileBytes(const QString& path, QString* error = nullptr);

// The 1-based line of the first byte sequence that is not UTF-8 text (a broken or
// overlong sequence, a surrogate, a NUL byte: another encoding or a binary file), 0 when
// the whole text is UTF-8. A byte-order mark at the start is text.
qsizetype firstUndecodableLine(QByteArrayView bytes);

// The reason given for a file that firstUndecodableLine refuses.
QString undecodableLineReason(qsizetype line);

// Reads a whole text file as lines. nullopt when the file cannot be opened or read, or
// is not UTF-8 text; `error` (optional) receives the reason, naming the line.
std::optional<QStringList> readTextLines(const QString& path, QString* error = nullptr);

// Joins lines each terminated by CR LF, encoded as UTF-8, as a whole file's text
// (see keepLeadingMark).
QByteArray joinLinesCrLf(const QStringList& lines);

// The failure of an operation on a file: only the reason, as its text, which the caller
// puts into its own message.
Message fileFailure(const QString& reason);

// Replaces the file atomically (temporary file in the same folder, then rename):
// on any failure the previous file is left exactly as it was and the failure's text says
// why in the user's words (a full disk, a folder in the file's place, a read-only disk).
Result<> writeFileAtomic(const QString& path, const QByteArray& bytes);
Result<> writeTextLinesAtomic(const QString& path, const QStringList& lines);

// Adds lines (CR LF terminated) at the end of the file, creating it when missing.
// The file's bytes are kept as they are and the result replaces it atomically, so a
// failure never leaves a partial line behind.
Result<> appendTextLines(const QString& path, const QStringList& lines);

// Integer as the files read them: leading blanks and tabs, optional sign, digits up
// to the first other character; empty or non-numeric text reads 0. Values beyond
// the 32-bit range saturate rather than wrap.
int parseLenientInt(QStringView text);
int parseLenientInt(QByteArrayView text);

// Decimal with "." as separator, read like parseLenientInt (prefix, 0 when none).
double parseLenientDouble(QStringView text);

// Fixed-point text like printf("%.*f"): correctly rounded from the binary value,
// exact ties to even (0.25 -> "0.2", 2.125 -> "2.12").
QString formatFixed(double value, int decimals);

// "dd.MM.yyyy" and the range "start-end".
QString formatDate(const QDate& date);
QDate parseDate(QStringView text); // invalid QDate when the text is not dd.MM.yyyy
QString dateRange(const QString& start, const QString& end);

// The lines a failure message adds below its own text: which file, and why.
QString fileFailureDetail(const QString& path, const QString& reason);

// True when the text holds a character that would break a "|"-separated line file:
// the separator itself, a line break or any other control character.
bool hasFieldBreakingCharacter(QStringView text);

// True when the text holds a character that no file name may hold on Windows or Linux
// (\ / : * ? " < > |) or a control character: a tournament name becomes a file name.
bool hasForbiddenFileNameCharacter(const QString& text);

} // namespace ladya
