#include "file_io.h"

#include "tarvo_error.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FileReadResult ReadWholeFile(const QString &path) {
    return ReadFileHead(path, -1);
}

FileReadResult ReadFileHead(const QString &path, qint64 maxBytes) {
    FileReadResult result;
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking: a FIFO or a device in place of a file must not hang the program.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
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
    if (!S_ISREG(info.st_mode)) {
        result.errorCode = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return result;
    }
    result.fileSize = static_cast<qint64>(info.st_size);
    const qint64 limit = maxBytes < 0 ? std::numeric_limits<qint64>::max() : maxBytes;
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(std::min<qint64>(limit, result.fileSize)));
    char chunk[65536];
    while (bytes.size() < limit) {
        const qint64 wanted = std::min<qint64>(static_cast<qint64>(sizeof chunk), limit - bytes.size());
        const ssize_t n = ::read(fd, chunk, static_cast<size_t>(wanted));
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

namespace {

bool WriteAll(int fd, const char *data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

mode_t ModeFor(const QByteArray &target, std::optional<QFileDevice::Permissions> permissions) {
    if (permissions) {
        mode_t mode = 0;
        const QFileDevice::Permissions p = *permissions;
        if (p & QFileDevice::ReadOwner) mode |= S_IRUSR;
        if (p & QFileDevice::WriteOwner) mode |= S_IWUSR;
        if (p & QFileDevice::ExeOwner) mode |= S_IXUSR;
        if (p & QFileDevice::ReadGroup) mode |= S_IRGRP;
        if (p & QFileDevice::WriteGroup) mode |= S_IWGRP;
        if (p & QFileDevice::ExeGroup) mode |= S_IXGRP;
        if (p & QFileDevice::ReadOther) mode |= S_IROTH;
        if (p & QFileDevice::WriteOther) mode |= S_IWOTH;
        if (p & QFileDevice::ExeOther) mode |= S_IXOTH;
        return mode;
    }
    struct stat info {};
    if (::stat(target.constData(), &info) == 0)
        return info.st_mode & 07777; // a replaced file keeps its mode
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file a write replaces: a symbolic link is followed, so that the link
// itself stays in place and the file it names gets the new bytes.
QString WriteTarget(const QString &path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// Only a regular file the user may write is replaced: not a device, a FIFO or
// a directory, and not a file made read-only to protect it.
bool MayReplace(const QByteArray &target) {
    struct stat info {};
    if (::stat(target.constData(), &info) != 0)
        return errno == ENOENT;
    return S_ISREG(info.st_mode) && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) == 0;
}

constexpr char kTempPrefix[] = "tarvo.tmp-";
constexpr time_t kStaleTempSeconds = 60;

// Removes the temporary files a killed write left in the folder. A writer
// holds a lock on its temporary file until it is renamed, so a slow write in
// progress (another process) is never taken for a leftover.
void RemoveStaleTempFiles(const QByteArray &folder) {
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const time_t now = ::time(nullptr);
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, kTempPrefix, sizeof kTempPrefix - 1) != 0)
            continue;
        const QByteArray path = folder + '/' + entry->d_name;
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode) ||
            now - info.st_mtim.tv_sec < kStaleTempSeconds)
            continue;
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

// Not QSaveFile: it reports success after a short write (for example at the
// file size limit), and a half-written file must never replace a good one.
void WriteFileAtomically(const QString &path, const QByteArray &bytes,
                         std::optional<QFileDevice::Permissions> permissions) {
    const QString targetPath = WriteTarget(path);
    const QByteArray target = QFile::encodeName(targetPath);
    // A short name beside the target, so that a target name of full length works too.
    const QByteArray folder = QFile::encodeName(QFileInfo(targetPath).absolutePath());
    RemoveStaleTempFiles(folder);
    QByteArray temp = folder + '/' + kTempPrefix + "XXXXXX";
    bool ok = false;
    const int fd = MayReplace(target) ? ::mkstemp(temp.data()) : -1; // created readable by the owner only
    if (fd >= 0) {
        ::flock(fd, LOCK_EX); // released when the file is closed, or when this process dies
        ok = ::fchmod(fd, ModeFor(target, permissions)) == 0 && WriteAll(fd, bytes.constData(), bytes.size()) &&
             ::fsync(fd) == 0;
        ok = (::close(fd) == 0) && ok;
        ok = ok && ::rename(temp.constData(), target.constData()) == 0;
        if (!ok)
            ::unlink(temp.constData());
    }
    if (!ok)
        throw TarvoError::CannotWrite(path);
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

QByteArray FileIdentity(const QString &path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QByteArray();
    const long long parts[] = {static_cast<long long>(info.st_dev), static_cast<long long>(info.st_ino),
                               static_cast<long long>(info.st_size), info.st_mtim.tv_sec, info.st_mtim.tv_nsec,
                               info.st_ctim.tv_sec, info.st_ctim.tv_nsec};
    return QByteArray(reinterpret_cast<const char *>(parts), sizeof parts);
}
