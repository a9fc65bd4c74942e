#pragma once

#include <QString>

#include <exception>

// Every failure of the program travels as one of these: a source naming what failed and a description telling
// the user what to do, and for a refused input the name of its field. Traps show it as message(). (No error
// number travels with it: no message shows one and no handler tells errors apart by one.)
class AppError : public std::exception
{
public:
    AppError(QString source, QString description, QString field = {})
        : m_source(std::move(source))
        , m_description(std::move(description))
        , m_field(std::move(field))
    {
    }

    // The text every trap shows: source, " - ", description.
    QString message() const { return m_source + QStringLiteral(" - ") + m_description; }

    // The name of the input that was refused, as the check was given it; empty when the error is no input's.
    const QString& field() const { return m_field; }

    const char* what() const noexcept override { return "Trip Ledger error"; }

private:
    QString m_source;
    QString m_description;
    QString m_field;
};
