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

// A folder of its own that stands for both the program's folder and the user's data folder: the history is
// TripLedger/TripLedger.txt in it, unless something named TripLedger.txt lies in it, beside the program. Named
// here rather than by the program, so that every test pins the file's name and place.
class HistoryFolder
{
public:
    QString dir() const { return m_dir.path(); }
    QString path() const { return m_dir.filePath(QStringLiteral("TripLedger/TripLedger.txt")); }
    QString beside() const { return m_dir.filePath(QStringLiteral("TripLedger.txt")); }

    void write(const QByteArray& bytes) const
    {
        QFile file(path());
        if (!QDir(dir()).mkpath(QStringLiteral("TripLedger")) || !file.open(QIODevice::WriteOnly)
            || file.write(bytes) != bytes.size())
            qFatal("cannot write the history");
    }

    // The file's bytes, or "<absent>".
    QByteArray read() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
    }

    // Takes the history away, whatever it is and wherever it lies, with the folder and everything in it.
    void remove() const { QDir(dir()).removeRecursively(); }

private:
    QTemporaryDir m_dir;
};
