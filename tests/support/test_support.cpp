#include "support/test_support.h"

#include <QFile>
#include <gtest/gtest.h>

namespace ladya::test {

QString dataPath(const QString& relative) {
    return QStringLiteral(LADYA_TEST_DATA_DIR "/") + relative;
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

} // namespace ladya::test
