#include "file_io.h"

#include "tarvo_error.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileReadResult ReadWholeFile(const QString &path) {
    FileReadResult result;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.exists = errno != ENOENT && errno != ENOTDIR;
        result.errorCode = result.exists ? errno : 0;
        return result;
    }
    result.exists = true;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        result.errorCode = errno;
        ::close(fd);
        return result;
    }
    if (S_ISDIR(info.st_mode)) {
        result.errorCode = EISDIR;
        ::close(fd);
        return result;
    }
    QByteArray bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            result.errorCode = errno;
            ::close(fd);
            return result;
        }
        if (n == 0)
            break;
        bytes.append(chunk, n);
    }
    ::close(fd);
    result.bytes = std::move(bytes);
    return result;
}

bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error,
                         std::optional<QFileDevice::Permissions> permissions) {
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok && permissions)
        ok = file.setPermissions(*permissions);
    if (ok)
        ok = file.write(bytes) == bytes.size();
    if (ok)
        ok = file.commit();
    else
        file.cancelWriting();
    if (!ok && error)
        *error = TarvoError::CannotWrite(path).message();
    return ok;
}

double FileStampDays(const QString &path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0.0;
    constexpr double kUnixEpochDays = 25569.0; // 1970-01-01 counted from 1899-12-30
    const long double days = static_cast<long double>(info.st_mtim.tv_sec) / 86400.0L +
                             static_cast<long double>(info.st_mtim.tv_nsec) / 86400.0e9L;
    return static_cast<double>(kUnixEpochDays + days);
}
