#include "files/safe_file.h"

#include <QtCore/QByteArrayView>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kNotRegular = QStringLiteral("not a regular file");

QString reasonOf(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A descriptor closed when it goes out of scope; it never waits for a FIFO's other end.
class Descriptor {
public:
    Descriptor(const QString &path, int flags)
        : fd_(::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666)),
          error_(errno)
    {
    }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    [[nodiscard]] int fd() const { return fd_; }
    // Why the open failed.
    [[nodiscard]] int error() const { return error_; }
    [[nodiscard]] QString failure() const { return reasonOf(error_); }
    // The path may have been replaced since it was looked at.
    [[nodiscard]] bool isRegular() const
    {
        struct stat status {};
        return ::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode);
    }

private:
    int fd_;
    int error_;
};

// A short write is written on once more, which fails with the real reason (a file size limit,
// a full disk).
std::optional<QString> writeAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (written <= 0)
            return reasonOf(written < 0 ? errno : EIO);
        bytes = bytes.sliced(written);
    }
    return std::nullopt;
}

std::optional<QString> writeInPlace(const QString &path, const QByteArray &content)
{
    const Descriptor file(path, O_WRONLY);
    if (file.fd() < 0)
        return file.failure();
    if (!file.isRegular())
        return kNotRegular;
    if (::ftruncate(file.fd(), 0) != 0)
        return reasonOf(errno);
    return writeAll(file.fd(), content);
}

std::optional<QString> replaceWhole(const QString &path, const QByteArray &content,
                                    const std::optional<struct stat> &old)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    const int fd = file.handle();
    if (old && (::fchown(fd, old->st_uid, old->st_gid) != 0 || ::fchmod(fd, old->st_mode & 07777) != 0)) {
        // Only the owner's rights can give a new file the old owner: write into the old one.
        file.cancelWriting();
        return writeInPlace(path, content);
    }
    if (const auto failure = writeAll(fd, content)) {
        file.cancelWriting();
        return failure;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace

FileRead readRegularFile(const QString &path, qint64 limit)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {{}, reasonOf(errno)};
    if (!S_ISREG(status.st_mode))
        return {{}, kNotRegular};
    const Descriptor file(path, O_RDONLY);
    if (file.fd() < 0)
        return {{}, file.failure()};
    if (!file.isRegular())
        return {{}, kNotRegular};
    QByteArray bytes(limit, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < limit) {
        const ssize_t read = ::read(file.fd(), bytes.data() + got, size_t(limit - got));
        if (read < 0)
            return {{}, reasonOf(errno)};
        if (read == 0)
            break;
        got += read;
    }
    bytes.truncate(got);
    return {bytes, {}};
}

std::optional<QString> saveRegularFile(const QString &path, const QByteArray &content)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat entry {};
    if (::lstat(name.constData(), &entry) != 0)
        return errno == ENOENT ? replaceWhole(path, content, std::nullopt) : reasonOf(errno);
    struct stat target {};
    // A link to nothing is refused rather than given a new file at its target.
    if (::stat(name.constData(), &target) != 0 || !S_ISREG(target.st_mode))
        return kNotRegular;
    if (target.st_nlink > 1)
        return writeInPlace(path, content);
    return replaceWhole(QFileInfo(path).canonicalFilePath(), content, target);
}

std::optional<QString> writeAtStart(const QString &path, const QByteArray &content)
{
    const Descriptor file(path, O_WRONLY | O_CREAT);
    if (file.fd() < 0)
        return file.failure();
    return writeAll(file.fd(), content);
}

std::optional<NewFileFailure> createNewFile(const QString &path, const QByteArray &content)
{
    const Descriptor file(path, O_WRONLY | O_CREAT | O_EXCL);
    if (file.fd() < 0)
        return NewFileFailure{file.failure(), file.error() == EEXIST};
    if (auto failure = writeAll(file.fd(), content)) {
        ::unlink(QFile::encodeName(path).constData());
        return NewFileFailure{*failure};
    }
    return std::nullopt;
}

std::optional<QString> makeFolders(const QString &path)
{
    const QByteArray name = QFile::encodeName(QDir::cleanPath(QDir(path).absolutePath()));
    // Each parent in turn, so the reason given is that of the folder that could not be made.
    for (qsizetype end = name.indexOf('/', 1);; end = name.indexOf('/', end + 1)) {
        const QByteArray folder = end < 0 ? name : name.first(end);
        struct stat status {};
        if (::mkdir(folder.constData(), 0777) != 0 && errno != EEXIST)
            return reasonOf(errno);
        if (::stat(folder.constData(), &status) != 0)
            return reasonOf(errno);
        if (!S_ISDIR(status.st_mode))
            return reasonOf(ENOTDIR);
        if (end < 0)
            return std::nullopt;
    }
}

bool sameFile(const QString &first, const QString &second)
{
    struct stat a {};
    struct stat b {};
    return ::stat(QFile::encodeName(first).constData(), &a) == 0
        && ::stat(QFile::encodeName(second).constData(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
