#pragma once

// Files as the tests put them down and read them back.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// The bytes of the file called name, or "<unreadable>" when it cannot be read (absent).
inline QByteArray FileBytes(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Writes bytes as the file called name; fails the running test when it cannot.
inline void PutFile(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}
