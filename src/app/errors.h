#pragma once
#include <QString>
#include <stdexcept>

// An unexpected failure that no routine handles itself; it reaches the
// application-wide handler, which logs it and ends the program.
class ELormenError : public std::runtime_error
{
public:
    explicit ELormenError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};
