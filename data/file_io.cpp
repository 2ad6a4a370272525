#include "file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#define VKT_POSIX_FILES 1
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace vkt {

namespace {

std::string Quoted(const std::string &path) { return "\"" + path + "\""; }

std::string ErrnoText(int err)
{
    return err != 0 ? std::string(std::strerror(err)) : std::string("unknown error");
}

// A name for the temporary file beside the target. It starts with the
// target's name so a leftover after a crash can be recognised, but that part
// is cut short so that the whole name stays well inside the usual 255-byte
// limit of a file name even when the target's own name is long.
fs::path TemporaryPathFor(const fs::path &target)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned long long seed = [] {
        std::random_device rd;
        return (static_cast<unsigned long long>(rd()) << 32) ^ rd();
    }();

    std::string stem = target.filename().string().substr(0, 64);
    std::string tag = std::to_string(seed ^ (static_cast<unsigned long long>(++counter) * 0x9E3779B97F4A7C15ull));
#if VKT_POSIX_FILES
    tag = std::to_string(::getpid()) + "-" + tag;
#endif
    return target.parent_path() / (stem + ".tmp-" + tag);
}

#if VKT_POSIX_FILES

// Creates the temporary file exclusively, trying a few names in case one is
// taken. Returns the descriptor or -1 with errno set.
int CreateTemporary(const fs::path &target, fs::path &tempPath)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        tempPath = TemporaryPathFor(target);
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteAll(int fd, const std::uint8_t *p, std::size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the rename itself durable. Some file systems refuse fsync on a
// folder; the file is already in place then, so failures are ignored.
void SyncFolder(const fs::path &folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

// Writes and flushes the temporary file. On failure returns false with a
// description of the step that failed; the caller removes the file.
bool WriteTemporary(const fs::path &target, const void *data, std::size_t size, fs::path &tempPath,
                    std::string &error)
{
    int fd = CreateTemporary(target, tempPath);
    if (fd < 0) {
        error = "could not create a temporary file in its folder: " + ErrnoText(errno);
        tempPath.clear(); // nothing to remove
        return false;
    }

    // A replaced file keeps its permissions rather than getting the
    // defaults of a new file.
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        (void)::fchmod(fd, st.st_mode & 07777);

    bool ok = true;
    if (!WriteAll(fd, static_cast<const std::uint8_t *>(data), size)) {
        error = "could not write the data: " + ErrnoText(errno);
        ok = false;
    } else if (::fsync(fd) != 0) {
        error = "could not flush the data to disk: " + ErrnoText(errno);
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        error = "could not finish writing the data: " + ErrnoText(errno);
        ok = false;
    }
    return ok;
}

#else

bool WriteTemporary(const fs::path &target, const void *data, std::size_t size, fs::path &tempPath,
                    std::string &error)
{
    std::error_code ec;
    for (int attempt = 0; attempt < 8; ++attempt) {
        tempPath = TemporaryPathFor(target);
        if (!fs::exists(tempPath, ec))
            break;
    }
    std::ofstream out(tempPath, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "could not create a temporary file in its folder: " + ErrnoText(errno);
        tempPath.clear();
        return false;
    }
    out.write(static_cast<const char *>(data), static_cast<std::streamsize>(size));
    out.flush();
    out.close();
    if (!out) {
        error = "could not write the data: " + ErrnoText(errno);
        return false;
    }
    if (fs::is_regular_file(target, ec))
        fs::permissions(tempPath, fs::status(target, ec).permissions(), ec);
    return true;
}

#endif

} // namespace

FileReadResult ReadFilePrefix(const std::string &path, std::size_t limit)
{
    FileReadResult result;
    const std::string name = Quoted(path);

    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (ec) {
        result.error = "Could not open " + name + ": " + ec.message() + ".";
        return result;
    }
    if (fs::is_directory(status)) {
        result.error = "Could not open " + name + ": it is a folder, not a file.";
        return result;
    }

    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = "Could not open " + name + ": " + ErrnoText(errno) + ".";
        return result;
    }
    result.opened = true;

    std::uintmax_t size = fs::file_size(path, ec);
    if (!ec)
        result.fileSize = size;

    // Read in pieces up to the limit so that a huge file is never taken in
    // whole and a file whose size is unknown is still read correctly.
    constexpr std::size_t kChunk = 64 * 1024;
    while (result.bytes.size() < limit && in) {
        std::size_t old = result.bytes.size();
        std::size_t want = std::min(kChunk, limit - old);
        result.bytes.resize(old + want);
        in.read(reinterpret_cast<char *>(result.bytes.data() + old), static_cast<std::streamsize>(want));
        result.bytes.resize(old + static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        result.error = "Could not read all of " + name + ": " + ErrnoText(errno) + ".";
    // Some files (pipes, many under /proc) report no size or a size of 0;
    // what was read is then the best known size.
    result.fileSize = std::max<std::uintmax_t>(result.fileSize, result.bytes.size());
    return result;
}

FileWriteResult WriteFileAtomic(const std::string &path, const void *data, std::size_t size)
{
    FileWriteResult result;
    fs::path target(path);
    fs::path tempPath;
    std::string reason;

    auto fail = [&](const std::string &why) {
        if (!tempPath.empty()) {
            std::error_code ignored;
            fs::remove(tempPath, ignored);
        }
        result.error = "Could not save " + Quoted(path) + ": " + why + ".";
        return result;
    };

    if (target.filename().empty())
        return fail("the name has no file part");
    // Saving to a symbolic link updates the file it points to, as a plain
    // write would, instead of replacing the link with a file.
    std::error_code linkError;
    if (fs::is_symlink(fs::symlink_status(target, linkError))) {
        const fs::path resolved = fs::weakly_canonical(target, linkError);
        if (!linkError)
            target = resolved;
    }
    if (!WriteTemporary(target, data, size, tempPath, reason))
        return fail(reason);

    std::error_code ec;
    fs::rename(tempPath, target, ec);
    if (ec)
        return fail("could not replace the file: " + ec.message());

#if VKT_POSIX_FILES
    SyncFolder(target.parent_path().empty() ? fs::path(".") : target.parent_path());
#endif
    result.ok = true;
    return result;
}

} // namespace vkt
