#include "common/text_file.h"

#include <QFile>
#include <QSaveFile>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>

namespace ladya {

LineReader::LineReader(QByteArrayView utf8) : m_bytes(utf8) {
    if (m_bytes.startsWith("\xEF\xBB\xBF"))
        m_pos = 3;
}

QByteArrayView LineReader::next() {
    const qsizetype n = m_bytes.size();
    const qsizetype start = m_pos;
    const char* const data = m_bytes.data();
    qsizetype i = start;
    // Nearly every byte is above CR, which settles it in one comparison.
    while (i < n &&
           (static_cast<unsigned char>(data[i]) > '\r' || (data[i] != '\r' && data[i] != '\n')))
        ++i;
    const QByteArrayView line = start < n ? m_bytes.sliced(start, i - start) : QByteArrayView();
    m_pos = qMax(pastTerminator(i), m_pos);
    return line;
}

void LineReader::skipLine(qsizetype length) {
    m_pos = pastTerminator(qMin(m_pos + length, m_bytes.size()));
}

qsizetype LineReader::pastTerminator(qsizetype i) const {
    const qsizetype n = m_bytes.size();
    if (i < n) {
        if (m_bytes[i] == '\r' && i + 1 < n && m_bytes[i + 1] == '\n')
            ++i;
        ++i;
    }
    return i;
}

QStringList splitLines(const QByteArray& utf8) {
    QStringList lines;
    LineReader reader(utf8);
    while (!reader.atEnd()) {
        // QString::fromUtf8 drops a byte-order mark at the start of what it decodes: a
        // line beginning with one (only the file's first is a mark) would lose it on
        // every load and save.
        const QByteArrayView line = reader.next();
        if (line.startsWith("\xEF\xBB\xBF"))
            lines.append(QChar(0xFEFF) + QString::fromUtf8(line.sliced(3)));
        else
            lines.append(QString::fromUtf8(line));
    }
    return lines;
}

std::optional<QByteArray> readFileBytes(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

std::optional<QStringList> readTextLines(const QString& path, QString* error) {
    const std::optional<QByteArray> bytes = readFileBytes(path, error);
    if (!bytes)
        return std::nullopt;
    return splitLines(*bytes);
}

QByteArray joinLinesCrLf(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    return out;
}

FileResult writeFileAtomic(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Unbuffered, and flushed before commit: a buffered write that fails only when
    // commit() flushes it (a full disk, a size limit) is otherwise not seen by
    // QSaveFile, which would then replace the old file with a truncated one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {};
}

FileResult writeTextLinesAtomic(const QString& path, const QStringList& lines) {
    return writeFileAtomic(path, joinLinesCrLf(lines));
}

FileResult appendTextLines(const QString& path, const QStringList& lines) {
    // Read, extend and replace rather than append in place: a write cut short by a
    // full disk would otherwise leave half a line at the end of the file.
    QByteArray bytes;
    if (QFile::exists(path)) {
        QString reason;
        std::optional<QByteArray> existing = readFileBytes(path, &reason);
        if (!existing)
            return {false, reason};
        bytes = std::move(*existing);
        // A last line without its terminator (edited by hand) keeps its own line.
        if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
            bytes += "\r\n";
    }
    bytes += joinLinesCrLf(lines);
    return writeFileAtomic(path, bytes);
}

namespace {

qsizetype skipBlanks(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    return i;
}

} // namespace

namespace {

int digitValue(QChar c) {
    return c.unicode() - u'0';
}
int digitValue(char c) {
    return c - '0';
}

// Shared by the text and byte forms: both read the same characters.
template <typename View> int lenientInt(View text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + digitValue(text[i]);
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value);
}

} // namespace

int parseLenientInt(QStringView text) {
    return lenientInt(text);
}

int parseLenientInt(QByteArrayView text) {
    return lenientInt(text);
}

double parseLenientDouble(QStringView text) {
    qsizetype i = skipBlanks(text);
    std::string ascii;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            ascii += '-';
        ++i;
    }
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            ascii += static_cast<char>(c.unicode());
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            ascii += '.';
        } else {
            break;
        }
    }
    double value = 0.0;
    const char* first = ascii.data();
    const char* last = ascii.data() + ascii.size();
    if (std::from_chars(first, last, value, std::chars_format::fixed).ec != std::errc())
        return 0.0;
    return value;
}

QString formatFixed(double value, int decimals) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return QString();
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString formatDate(const QDate& date) {
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QDate parseDate(QStringView text) {
    return QDate::fromString(text.toString(), QStringLiteral("dd.MM.yyyy"));
}

QString dateRange(const QString& start, const QString& end) {
    return start + u'-' + end;
}

bool hasFieldBreakingCharacter(QStringView text) {
    for (const QChar c : text) {
        if (c == u'|' || c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return true;
    }
    return false;
}

bool hasForbiddenFileNameCharacter(const QString& text) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : text) {
        if (forbidden.contains(c))
            return true;
    }
    return hasFieldBreakingCharacter(text); // the control characters and line breaks
}

} // namespace ladya
