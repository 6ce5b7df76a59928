#include "common/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
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

namespace {

constexpr char Mark[] = "\xEF\xBB\xBF";

} // namespace

QString decodeUtf8(QByteArrayView utf8) {
    if (!utf8.startsWith(Mark))
        return QString::fromUtf8(utf8);
    qsizetype marks = 0;
    while (utf8.sliced(3 * marks).startsWith(Mark))
        ++marks;
    return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(utf8.sliced(3 * marks));
}

void keepLeadingMark(QByteArray& text) {
    if (text.startsWith(Mark))
        text.prepend(Mark);
}

QStringList splitLines(const QByteArray& utf8) {
    QStringList lines;
    LineReader reader(utf8);
    while (!reader.atEnd())
        lines.append(decodeUtf8(reader.next()));
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

qsizetype firstUndecodableLine(QByteArrayView bytes) {
    const auto* const data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    qsizetype bad = -1;
    while (i < n) {
        const unsigned char c = data[i];
        if (c >= 0x01 && c < 0x80) {
            ++i;
            continue;
        }
        // Lead byte: the length of its sequence and the range of its second byte,
        // which rules out overlong forms and surrogates.
        int length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            low = c == 0xE0 ? 0xA0 : 0x80;
            high = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF;
        }
        bool ok = length > 0 && i + length <= n && data[i + 1] >= low && data[i + 1] <= high;
        for (int k = 2; ok && k < length; ++k)
            ok = data[i + k] >= 0x80 && data[i + k] <= 0xBF;
        if (!ok) {
            bad = i;
            break;
        }
        i += length;
    }
    if (bad < 0)
        return 0;
    // Lines counted as LineReader counts them: CR, LF or CR LF end one.
    qsizetype line = 1;
    for (qsizetype k = 0; k < bad; ++k) {
        if (data[k] == '\n' || (data[k] == '\r' && !(k + 1 < bad && data[k + 1] == '\n')))
            ++line;
    }
    return line;
}

QString undecodableLineReason(qsizetype line) {
    return QStringLiteral("строка %1: текст не в кодировке UTF-8 (файл другой программы или "
                          "повреждён).")
        .arg(line);
}

std::optional<QStringList> readTextLines(const QString& path, QString* error) {
    const std::optional<QByteArray> bytes = readFileBytes(path, error);
    if (!bytes)
        return std::nullopt;
    if (const qsizetype bad = firstUndecodableLine(*bytes)) {
        if (error)
            *error = undecodableLineReason(bad);
        return std::nullopt;
    }
    return splitLines(*bytes);
}

namespace {

QByteArray joinLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    return out;
}

} // namespace

QByteArray joinLinesCrLf(const QStringList& lines) {
    QByteArray out = joinLines(lines);
    keepLeadingMark(out);
    return out;
}

namespace {

// The system's reason in the user's words where it is one a director can act on; the
// system's own text otherwise.
QString writeFailureReason(int error, const QString& systemText) {
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("на диске нет места");
    case EFBIG:
        return QStringLiteral("файл больше, чем разрешено записывать");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав на запись");
    case ENOENT:
        return QStringLiteral("нет такой папки");
    default:
        // Qt says "Unknown error" when the system gave no reason it kept.
        return systemText.isEmpty() || systemText == QStringLiteral("Unknown error")
                   ? QStringLiteral("ошибка записи")
                   : systemText;
    }
}

} // namespace

Message fileFailure(const QString& reason) {
    return Message{QString(), reason};
}

Result<> writeFileAtomic(const QString& path, const QByteArray& bytes) {
    const QFileInfo target(path);
    if (target.isDir())
        return fileFailure(QStringLiteral("на месте файла находится папка"));
    if (!target.dir().exists())
        return fileFailure(writeFailureReason(ENOENT, QString()));
    QSaveFile file(path);
    // Unbuffered, and flushed before commit: a buffered write that fails only when
    // commit() flushes it (a full disk, a size limit) is otherwise not seen by
    // QSaveFile, which would then replace the old file with a truncated one.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fileFailure(writeFailureReason(errno, file.errorString()));
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = writeFailureReason(errno, file.errorString());
        file.cancelWriting();
        return fileFailure(reason);
    }
    errno = 0;
    if (!file.commit())
        return fileFailure(writeFailureReason(errno, file.errorString()));
    return {};
}

Result<> writeTextLinesAtomic(const QString& path, const QStringList& lines) {
    return writeFileAtomic(path, joinLinesCrLf(lines));
}

Result<> appendTextLines(const QString& path, const QStringList& lines) {
    // Read, extend and replace rather than append in place: a write cut short by a
    // full disk would otherwise leave half a line at the end of the file.
    QByteArray bytes;
    if (QFile::exists(path)) {
        QString reason;
        std::optional<QByteArray> existing = readFileBytes(path, &reason);
        if (!existing)
            return fileFailure(reason);
        bytes = std::move(*existing);
        // A last line without its terminator (edited by hand) keeps its own line.
        if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
            bytes += "\r\n";
    }
    bytes += bytes.isEmpty() ? joinLinesCrLf(lines) : joinLines(lines);
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

QString fileFailureDetail(const QString& path, const QString& reason) {
    return QStringLiteral("Файл: %1\nПричина: %2").arg(QDir::toNativeSeparators(path), reason);
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
