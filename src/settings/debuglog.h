#pragma once

#include <QLoggingCategory>

// The program's debug lines ("mavu"): off unless the environment sets MAVU_DEBUG (to any
// value, also empty) or the logging rules switch "mavu.debug" on. Warnings always show.
Q_DECLARE_LOGGING_CATEGORY(lcMavu)
