#include "files/safe_file.h"

#include <QtCore/QFile>
#include <QtCore/QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A descriptor closed when it goes out of scope.
class Descriptor {
public:
    Descriptor(const QString &path, int flags)
        : fd_(::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666))
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
    [[nodiscard]] std::optional<mode_t> type() const
    {
        struct stat status {};
        if (fd_ < 0 || ::fstat(fd_, &status) != 0)
            return std::nullopt;
        return status.st_mode & S_IFMT;
    }

private:
    int fd_;
};

std::optional<struct stat> statusOf(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status;
}

bool writeInPlace(const QString &path, const QByteArray &content)
{
    const Descriptor target(path, O_WRONLY);
    // A folder cannot be opened for writing; a regular file that took the place of a device
    // in the meantime is not written in place.
    const auto type = target.type();
    return type && *type != S_IFREG
        && ::write(target.fd(), content.constData(), size_t(content.size())) == content.size();
}

bool replaceWhole(const QString &path, const QByteArray &content)
{
    // Unbuffered, so that a short write shows in write()'s count: commit() does not always
    // report a failed flush.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

std::optional<QByteArray> readRegularFile(const QString &path, qint64 limit, IfMissing missing)
{
    const Descriptor source(path, O_RDONLY | (missing == IfMissing::CreateEmpty ? O_CREAT : 0));
    QFile file;
    if (source.type() != S_IFREG || !file.open(source.fd(), QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content = limit < 0 ? file.readAll() : file.read(limit);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}

bool saveFile(const QString &path, const QByteArray &content, OldBytes old)
{
    const auto status = statusOf(path);
    if (status && !S_ISREG(status->st_mode))
        return writeInPlace(path, content);
    if (!status || old == OldBytes::Drop)
        return replaceWhole(path, content);
    const auto previous = readRegularFile(path);
    return previous && replaceWhole(path, content + previous->mid(content.size()));
}

bool sameFile(const QString &first, const QString &second)
{
    const auto a = statusOf(first);
    const auto b = statusOf(second);
    return a && b && a->st_dev == b->st_dev && a->st_ino == b->st_ino;
}
