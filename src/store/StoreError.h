#pragma once

#include <QString>

#include <stdexcept>

// Raised by every database and storage operation that fails; carries the engine's message
// (or ours, where the failure is found before the engine is asked).
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& message);

    QString message() const { return m_message; }

private:
    QString m_message;
};
