#include "crypt.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

#include <memory>

namespace {

constexpr int ivLength = 12;
constexpr int tagLength = 16;

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

CipherContext newContext()
{
    return CipherContext(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
}

unsigned char *bytes(QByteArray &data)
{
    return reinterpret_cast<unsigned char *>(data.data());
}

const unsigned char *bytes(const QByteArray &data)
{
    return reinterpret_cast<const unsigned char *>(data.constData());
}

bool sealInto(QByteArray &sealed, const QByteArray &plain, const QByteArray &key, const QByteArray &iv)
{
    CipherContext context = newContext();
    if (!context)
        return false;
    QByteArray cipher(plain.size() + 32, Qt::Uninitialized);
    QByteArray tag(tagLength, Qt::Uninitialized);
    int written = 0;
    int finalWritten = 0;
    if (EVP_EncryptInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, bytes(key), bytes(iv)) != 1
        || EVP_EncryptUpdate(context.get(), bytes(cipher), &written, bytes(plain), int(plain.size())) != 1
        || EVP_EncryptFinal_ex(context.get(), bytes(cipher) + written, &finalWritten) != 1
        || EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, tagLength, tag.data()) != 1)
        return false;
    cipher.truncate(written + finalWritten);
    sealed = iv + cipher + tag;
    return true;
}

bool openInto(QByteArray &plain, const QByteArray &sealed, const QByteArray &key)
{
    const QByteArray iv = sealed.left(ivLength);
    QByteArray tag = sealed.right(tagLength);
    const QByteArray cipher = sealed.mid(ivLength, sealed.size() - ivLength - tagLength);
    CipherContext context = newContext();
    if (!context)
        return false;
    QByteArray out(cipher.size() + 32, Qt::Uninitialized);
    int written = 0;
    int finalWritten = 0;
    if (EVP_DecryptInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, bytes(key), bytes(iv)) != 1
        || EVP_DecryptUpdate(context.get(), bytes(out), &written, bytes(cipher), int(cipher.size())) != 1
        || EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, tagLength, tag.data()) != 1
        || EVP_DecryptFinal_ex(context.get(), bytes(out) + written, &finalWritten) != 1)
        return false;
    out.truncate(written + finalWritten);
    plain = out;
    return true;
}

} // namespace

QByteArray deriveKey(const QString &passphrase)
{
    const QByteArray utf8 = passphrase.toUtf8();
    QByteArray key(SHA256_DIGEST_LENGTH, Qt::Uninitialized);
    SHA256(bytes(utf8), size_t(utf8.size()), bytes(key));
    return key;
}

QString encrypt(const QString &text, const QString &passphrase)
{
    if (text.isEmpty() || passphrase.isEmpty())
        return QString();
    QByteArray iv(ivLength, Qt::Uninitialized);
    if (RAND_bytes(bytes(iv), ivLength) != 1)
        return QString();
    QByteArray sealed;
    if (!sealInto(sealed, text.toUtf8(), deriveKey(passphrase), iv))
        return QString();
    return QString::fromLatin1(sealed.toBase64());
}

QString decrypt(const QString &text, const QString &passphrase)
{
    if (text.isEmpty() || passphrase.isEmpty())
        return QString();
    const QByteArray sealed = QByteArray::fromBase64(text.toLatin1());
    if (sealed.size() < ivLength + tagLength)
        return QString();
    QByteArray plain;
    if (!openInto(plain, sealed, deriveKey(passphrase)))
        return QString();
    return QString::fromUtf8(plain);
}
