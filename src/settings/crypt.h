#pragma once

// AES-256-GCM for the credential settings. The key is the SHA-256 of the passphrase;
// the stored text is Base64(IV[12] + ciphertext + tag[16]). Every failure yields the
// empty text, and the empty text stands for "nothing stored".

#include <QByteArray>
#include <QString>

QByteArray deriveKey(const QString &passphrase);
QString encrypt(const QString &text, const QString &passphrase);
QString decrypt(const QString &text, const QString &passphrase);
