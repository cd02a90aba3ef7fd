#include "debuglog.h"

Q_LOGGING_CATEGORY(lcMavu, "mavu", qEnvironmentVariableIsSet("MAVU_DEBUG") ? QtDebugMsg : QtInfoMsg)
