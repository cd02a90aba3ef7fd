#include "session.h"

Session::Session(QObject *parent)
    : QObject(parent)
{
}

QString Session::certificateRefusal() const
{
    return tr("The service's certificate was refused: %1").arg(m_certificateError);
}
