#pragma once

#include <QString>

// Adds the certificates of a PEM file to the certificate authorities that every TLS
// connection of the process is checked against, besides the system's; verification
// itself stays on. False, with the reason on the log, when the file holds none.
bool addTrustedCaFile(const QString &path);
