// TEMPORARY build stub until the account client lands.
#include "upload/handlerupload.h"
void HandlerUpload::startServiceUpload(const QString &) { transferFailed(QStringLiteral("no service yet")); }
void HandlerUpload::serviceRecordFinished() {}
void HandlerUpload::startServiceBytes() {}
void HandlerUpload::serviceBytesFinished() {}
void HandlerUpload::abortServiceUpload() {}
