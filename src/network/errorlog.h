#pragma once

#include <QString>

class Session;

// One error-log entry per failed service request. The entry names the request (method
// and address without query), the HTTP status, the transport error and the service's
// error code; never a header, a form field or a token.
namespace ServiceErrorLog {

QString entryText(const QString &context, const Session *session);
void write(const QString &context, const Session *session);

} // namespace ServiceErrorLog
