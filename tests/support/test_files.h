// Whole-file reads and writes for tests on real folders.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace deskleaf::testfiles {

// The file's bytes, or "(missing)" when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

inline bool writeBytes(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

} // namespace deskleaf::testfiles
