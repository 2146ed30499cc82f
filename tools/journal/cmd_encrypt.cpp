// encrypt FILE, decrypt FILE, passwd FILE: a journal file turned into its
// encrypted form, back into the plain data packet, or given a new password.
// Each replaces the file atomically; the data packet inside stays byte for
// byte the same.
#include "tools/journal/commands.h"
#include "tools/journal/passwords.h"

#include "crypto/journal_cipher.h"
#include "store/dataset.h"
#include "store/file_access.h"
#include "store/file_cipher.h"

namespace quillmere::journaltool {

namespace {

QByteArray readJournalBytes(const QString& path) {
    requireReadableFile(path);
    return fileAccess().readAll(path);
}

// Refuses bytes that are not a data packet before anything is written.
void requirePacket(const QByteArray& plain, const QString& path) {
    try {
        DSBASE table;
        table.loadPacket(plain);
    } catch (const Error& e) {
        throw Error(QStringLiteral("\"%1\" is not a journal: %2").arg(path, e.message()));
    }
}

int runEncrypt(const QStringList& args, CommandIo& io) {
    requireArgs(args, 1, 1);
    const QByteArray plain = readJournalBytes(args[0]);
    if (IsSealedDataFile(plain)) {
        throw Error(QStringLiteral("\"%1\" is encrypted already; passwd changes its password")
                        .arg(args[0]));
    }
    requirePacket(plain, args[0]);
    const auto cipher = crypto::JournalCipher::create(nextNewPassword(args[0]));
    fileAccess().writeAtomic(args[0], cipher->sealFile(plain));
    print(io.out, QStringLiteral("Encrypted %1\n").arg(args[0]));
    return 0;
}

// The plain packet of an encrypted journal and the cipher that opened it.
std::pair<QByteArray, std::shared_ptr<const FileCipher>> openSealed(const QString& path) {
    const QByteArray sealed = readJournalBytes(path);
    if (!IsSealedDataFile(sealed)) {
        throw Error(QStringLiteral("\"%1\" is not encrypted").arg(path));
    }
    auto cipher = unlockFile(sealed, path);
    QByteArray plain = cipher->openFile(sealed, path);
    requirePacket(plain, path);
    return {std::move(plain), std::move(cipher)};
}

int runDecrypt(const QStringList& args, CommandIo& io) {
    requireArgs(args, 1, 1);
    const QByteArray plain = openSealed(args[0]).first;
    fileAccess().writeAtomic(args[0], plain);
    print(io.out, QStringLiteral("Decrypted %1\n").arg(args[0]));
    return 0;
}

int runPasswd(const QStringList& args, CommandIo& io) {
    requireArgs(args, 1, 1);
    const QByteArray plain = openSealed(args[0]).first;
    const auto cipher = crypto::JournalCipher::create(nextNewPassword(args[0]));
    fileAccess().writeAtomic(args[0], cipher->sealFile(plain));
    print(io.out, QStringLiteral("Changed the password of %1\n").arg(args[0]));
    return 0;
}

}  // namespace

}  // namespace quillmere::journaltool

QUILLMERE_JOURNAL_COMMAND(encrypt,
                          {"encrypt", "FILE",
                           "encrypt a plain journal with a new password (read as for every "
                           "password)",
                           &quillmere::journaltool::runEncrypt})
QUILLMERE_JOURNAL_COMMAND(decrypt, {"decrypt", "FILE",
                                    "write an encrypted journal back as its plain data "
                                    "packet",
                                    &quillmere::journaltool::runDecrypt})
QUILLMERE_JOURNAL_COMMAND(passwd,
                          {"passwd", "FILE",
                           "give an encrypted journal a new password (the current one first, "
                           "then the new one)",
                           &quillmere::journaltool::runPasswd})
