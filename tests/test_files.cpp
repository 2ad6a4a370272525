#include "project_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#define VKT_POSIX_TESTS 1
#endif

namespace fs = std::filesystem;

namespace vkt {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Pattern(std::size_t size, unsigned seed)
{
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i)
        b[i] = static_cast<std::uint8_t>(i * 31 + seed);
    return b;
}

template <typename Record>
Bytes BytesOf(const Record &r)
{
    const auto *p = reinterpret_cast<const std::uint8_t *>(&r);
    return Bytes(p, p + sizeof r);
}

template <typename Record>
Record RecordFrom(const Bytes &b)
{
    Record r;
    std::memcpy(&r, b.data(), sizeof r);
    return r;
}

void WriteRaw(const fs::path &p, const Bytes &b)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(b.data()), static_cast<std::streamsize>(b.size()));
    ASSERT_TRUE(out.good()) << p;
}

Bytes ReadRaw(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir_ = fs::temp_directory_path() / ("vkt-files-" + test + "-" + std::to_string(rd()));
        ASSERT_TRUE(fs::create_directory(dir_)) << dir_;
    }

    void TearDown() override
    {
        // A test may have taken write access away from a folder; give it
        // back so that everything can be removed.
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        for (auto it = fs::recursive_directory_iterator(dir_, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec))
            if (it->is_directory(ec))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }

    fs::path At(const std::string &name) const { return dir_ / name; }

    static std::set<std::string> Listing(const fs::path &folder)
    {
        std::set<std::string> names;
        for (const auto &entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }
    std::set<std::string> Listing() const { return Listing(dir_); }

    fs::path dir_;
};

TEST_F(FilesTest, ProjectSaveWritesTheRecordExactlyAndReadsBack)
{
    const fs::path file = At("radio.Dvf");
    // A longer file is already there, readable by its owner and group only.
    WriteRaw(file, Pattern(30000, 9));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    const auto saved = RecordFrom<RadioData>(Pattern(kRadioDataSize, 1));
    const FileWriteResult w = SaveProjectFile(file.string(), saved);
    ASSERT_TRUE(w.ok) << w.error;

    const Bytes onDisk = ReadRaw(file);
    EXPECT_EQ(onDisk.size(), 19815u);
    EXPECT_EQ(onDisk, BytesOf(saved));
    EXPECT_EQ(Listing(), std::set<std::string>{"radio.Dvf"});
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    auto loaded = RecordFrom<RadioData>(Pattern(kRadioDataSize, 2));
    const LoadResult r = LoadProjectFile(file.string(), loaded);
    EXPECT_TRUE(r.opened);
    EXPECT_EQ(r.bytesLoaded, kRadioDataSize);
    EXPECT_EQ(BytesOf(loaded), BytesOf(saved));
}

TEST_F(FilesTest, AdjustmentFileStoresFrequenciesLeastSignificantByteFirst)
{
    const fs::path file = At("cal.Dvfa");
    auto adj = RecordFrom<AdjustmentData>(Pattern(kAdjustmentSize, 4));
    adj.apc[0].freq = 0x12345678;
    adj.statusBattery = 0x5A;
    adj.statusVox = 0xA5;

    const FileWriteResult w = SaveAdjustmentFile(file.string(), adj);
    ASSERT_TRUE(w.ok) << w.error;
    const Bytes onDisk = ReadRaw(file);
    ASSERT_EQ(onDisk.size(), 411u);
    EXPECT_EQ(Bytes(onDisk.begin(), onDisk.begin() + 4), (Bytes{0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(onDisk[409], 0x5A);
    EXPECT_EQ(onDisk[410], 0xA5);
    EXPECT_EQ(Listing(), std::set<std::string>{"cal.Dvfa"});

    // The radio receives the same frequency the other way round.
    CodeplugImage image;
    GetAdjustmentData(adj, image);
    EXPECT_EQ(Bytes(image.at(0), image.at(4)), (Bytes{0x12, 0x34, 0x56, 0x78}));

    auto loaded = RecordFrom<AdjustmentData>(Pattern(kAdjustmentSize, 8));
    EXPECT_TRUE(LoadAdjustmentFile(file.string(), loaded).opened);
    EXPECT_EQ(BytesOf(loaded), BytesOf(adj));
}

// A file replaces as many bytes from the start of the record as it holds;
// the rest keep their values, and bytes past the record are ignored.
template <typename Record, typename Loader>
void ExpectPrefixLoad(const fs::path &file, std::size_t fileSize, Loader load)
{
    SCOPED_TRACE(::testing::Message() << file.filename() << " of " << fileSize << " bytes");
    const Bytes fileBytes = Pattern(fileSize, 1);
    WriteRaw(file, fileBytes);
    const Bytes before = Pattern(sizeof(Record), 2);
    auto record = RecordFrom<Record>(before);

    const LoadResult r = load(file.string(), record);

    ASSERT_TRUE(r.opened) << r.error;
    EXPECT_EQ(r.fileSize, fileSize);
    const std::size_t n = std::min(fileSize, sizeof(Record));
    EXPECT_EQ(r.bytesLoaded, n);
    Bytes expected(fileBytes.begin(), fileBytes.begin() + static_cast<std::ptrdiff_t>(n));
    expected.insert(expected.end(), before.begin() + static_cast<std::ptrdiff_t>(n), before.end());
    EXPECT_EQ(BytesOf(record), expected);
}

TEST_F(FilesTest, LoadReplacesOnlyTheBytesTheFileHolds)
{
    for (std::size_t size : {std::size_t{0}, std::size_t{100}, kRadioDataSize, kRadioDataSize + 500})
        ExpectPrefixLoad<RadioData>(At("p.Dvf"), size, LoadProjectFile);
    for (std::size_t size : {std::size_t{100}, kAdjustmentSize, kAdjustmentSize + 89})
        ExpectPrefixLoad<AdjustmentData>(At("a.Dvfa"), size, LoadAdjustmentFile);
}

TEST_F(FilesTest, LoadOfSomethingThatIsNotAFileChangesNothing)
{
    fs::create_directory(At("folder.Dvf"));
    const fs::path cases[] = {At("missing.Dvf"), At("folder.Dvf"), At("nowhere") / "x.Dvf"};
    for (const fs::path &p : cases) {
        SCOPED_TRACE(p);
        const Bytes before = Pattern(kRadioDataSize, 3);
        auto data = RecordFrom<RadioData>(before);
        const LoadResult r = LoadProjectFile(p.string(), data);
        EXPECT_FALSE(r.opened);
        EXPECT_EQ(r.bytesLoaded, 0u);
        EXPECT_TRUE(Contains(r.error, p.string())) << r.error;
        EXPECT_EQ(BytesOf(data), before);

        const Bytes adjBefore = Pattern(kAdjustmentSize, 3);
        auto adj = RecordFrom<AdjustmentData>(adjBefore);
        EXPECT_FALSE(LoadAdjustmentFile(p.string(), adj).opened);
        EXPECT_EQ(BytesOf(adj), adjBefore);
    }
}

TEST_F(FilesTest, SaveWhereNoFileCanBeMadeFailsCleanly)
{
    WriteRaw(At("plain"), Pattern(10, 0));
    fs::create_directory(At("folder.Dvf"));
    const std::set<std::string> listing = Listing();

    struct Case {
        const char *what;
        fs::path target;
        int reason; // errno whose text the message carries
    };
    const Case cases[] = {
        {"missing folder", At("nowhere") / "x.Dvf", ENOENT},
        {"parent is a file", At("plain") / "x.Dvf", ENOTDIR},
        {"target is a folder", At("folder.Dvf"), EISDIR},
    };
    const auto data = RecordFrom<RadioData>(Pattern(kRadioDataSize, 1));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const FileWriteResult w = SaveProjectFile(c.target.string(), data);
        EXPECT_FALSE(w.ok);
        EXPECT_TRUE(Contains(w.error, c.target.string())) << w.error;
        EXPECT_TRUE(Contains(w.error, std::strerror(c.reason))) << w.error;
        EXPECT_EQ(Listing(), listing);
        EXPECT_TRUE(Listing(At("folder.Dvf")).empty());
    }
    EXPECT_EQ(ReadRaw(At("plain")), Pattern(10, 0));
}

#if VKT_POSIX_TESTS

TEST_F(FilesTest, SaveIntoReadOnlyFolderKeepsThePreviousFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not stop the super-user";
    const fs::path folder = At("locked");
    fs::create_directory(folder);
    const fs::path file = folder / "radio.Dvf";
    const Bytes previous = Pattern(500, 6);
    WriteRaw(file, previous);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);

    const FileWriteResult w = SaveProjectFile(file.string(), RecordFrom<RadioData>(Pattern(kRadioDataSize, 1)));
    EXPECT_FALSE(w.ok);
    EXPECT_TRUE(Contains(w.error, file.string())) << w.error;
    EXPECT_TRUE(Contains(w.error, std::strerror(EACCES))) << w.error;
    EXPECT_EQ(ReadRaw(file), previous);
    EXPECT_EQ(Listing(folder), std::set<std::string>{"radio.Dvf"});
}

// Lowers the file-size limit of the process so that writing the new data
// fails half-way, which works for every user.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ok_ = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    bool ok() const { return ok_; }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
    bool ok_ = false;
};

TEST_F(FilesTest, SaveThroughASymbolicLinkUpdatesTheFileItNames)
{
    const fs::path real = At("real.Dvf");
    const fs::path link = At("link.Dvf");
    WriteRaw(real, Pattern(10, 3));
    fs::create_symlink(real, link);

    const Bytes record = Pattern(kRadioDataSize, 4);
    ASSERT_TRUE(SaveProjectFile(link.string(), RecordFrom<RadioData>(record)).ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadRaw(real), record);
    EXPECT_EQ(Listing(), (std::set<std::string>{"link.Dvf", "real.Dvf"}));
}

TEST_F(FilesTest, WriteThatFailsHalfWayKeepsThePreviousFile)
{
    const fs::path file = At("radio.Dvf");
    const Bytes previous = Pattern(500, 6);
    WriteRaw(file, previous);

    FileWriteResult w;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.ok());
        w = SaveProjectFile(file.string(), RecordFrom<RadioData>(Pattern(kRadioDataSize, 1)));
    }
    EXPECT_FALSE(w.ok);
    EXPECT_TRUE(Contains(w.error, file.string())) << w.error;
    EXPECT_TRUE(Contains(w.error, std::strerror(EFBIG))) << w.error;
    EXPECT_EQ(ReadRaw(file), previous);
    EXPECT_EQ(Listing(), std::set<std::string>{"radio.Dvf"});
}

#endif

} // namespace
} // namespace vkt
