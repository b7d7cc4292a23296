#pragma once

#include <QString>

#include <stdexcept>

// The storage layer's one way of failing: every database, schema and storage operation that
// fails raises StoreError, never returns a failure. It carries what happened and what to do in
// Japanese, then the engine's message (or ours, where the failure is found before the engine is
// asked).
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& message);

    QString message() const { return m_message; }

private:
    QString m_message;
};
