#include "StoreError.h"

StoreError::StoreError(const QString& message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}
