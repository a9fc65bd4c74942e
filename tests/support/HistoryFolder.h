#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// One saved calculation as the program writes it.
inline QByteArray record(const QByteArray& reg, const QByteArray& mpg, const QByteArray& date = "21/03/2005 14:35:12")
{
    return "VehicleReg:" + reg + ";Date:" + date + ";Mileage:400;Cost:45;MPG:" + mpg
        + ";Commute Distance:10;Price Per Unit:90;Unit:Litre;\r\n";
}

// A folder of its own with the history file in it, named here rather than by the program, so that every test
// pins the file's name.
class HistoryFolder
{
public:
    QString dir() const { return m_dir.path(); }
    QString path() const { return m_dir.filePath(QStringLiteral("TripLedger.txt")); }

    void write(const QByteArray& bytes) const
    {
        QFile file(path());
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the history");
    }

    // The file's bytes, or "<absent>".
    QByteArray read() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
    }

    // Takes the file away, be it a file, a link or a folder.
    void remove() const
    {
        QFile::remove(path());
        QDir().rmdir(path());
    }

private:
    QTemporaryDir m_dir;
};
