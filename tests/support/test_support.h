#pragma once

#include <QByteArray>
#include <QString>

namespace ladya::test {

// Path of a checked-in test file under tests/data.
QString dataPath(const QString& relative);
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

} // namespace ladya::test
