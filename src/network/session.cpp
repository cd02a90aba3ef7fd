#include "session.h"

Session::Session(QObject *parent)
    : QObject(parent)
{
}
