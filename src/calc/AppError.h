#pragma once

#include <QString>

#include <exception>

// Every failure of the program travels as one of these: a number, a source naming what failed and a
// description telling the user what to do. Traps show it as message().
class AppError : public std::exception
{
public:
    // The numbers an error carries; no message shows them.
    static constexpr qint32 CheckFailed = -2147221503; // a check of the user's input or of the history
    static constexpr qint32 DivisionByZero = 11;
    static constexpr qint32 Overflow = 6;
    static constexpr qint32 PlatformFailure = 75; // a file or another platform service

    AppError(qint32 number, QString source, QString description)
        : m_number(number)
        , m_source(std::move(source))
        , m_description(std::move(description))
    {
    }

    qint32 number() const { return m_number; }

    // The text every trap shows: source, " - ", description.
    QString message() const { return m_source + QStringLiteral(" - ") + m_description; }

    const char* what() const noexcept override { return "Trip Ledger error"; }

private:
    qint32 m_number;
    QString m_source;
    QString m_description;
};
