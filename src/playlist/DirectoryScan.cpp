#include "playlist/DirectoryScan.h"

#include "playlist/ListFileReader.h"
#include "playlist/PathRules.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace nuvo {

namespace {

enum class EntryKind { Directory, Track, List };

struct Entry {
    std::string nativeName; // sorted by, as bytes
    QString name;
    EntryKind kind;
};

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// Kernel interfaces and other file systems that hold no files of their own.
constexpr std::array<const char*, 22> kPseudoFileSystemTypes = {
    "proc",    "sysfs",  "devtmpfs",    "devpts",   "cgroup",    "cgroup2",    "securityfs", "debugfs",
    "tracefs", "pstore", "bpf",         "configfs", "fusectl",   "mqueue",     "hugetlbfs",  "autofs",
    "nsfs",    "nfsd",   "binfmt_misc", "efivarfs", "selinuxfs", "rpc_pipefs",
};

bool isPseudoFileSystemType(QByteArrayView type)
{
    return std::any_of(kPseudoFileSystemTypes.begin(), kPseudoFileSystemTypes.end(),
                       [type](const char* pseudo) { return type == pseudo; });
}

QByteArray readMountInfo()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool nameHoldsLineBreak(const char* name)
{
    return std::strpbrk(name, "\r\n") != nullptr;
}

// A scan for tracks reads each list file it meets; a scan for list files only collects them.
enum class Collect { Tracks, ListFiles };

class DirectoryScanner {
public:
    DirectoryScanner(Collect collect, ScanControl* control)
        : collect_(collect), control_(control), pseudoDevices_(pseudoFileSystemDevices(readMountInfo()))
    {
    }

    QStringList take() { return std::move(found_); }

    void scan(const QByteArray& nativeDir, const QString& dir)
    {
        if (control_ && control_->cancelled.load(std::memory_order_relaxed))
            return;
        const std::vector<Entry> entries = readEntries(nativeDir);
        const QString prefix = dir.endsWith(u'/') ? dir : dir + u'/';
        const QByteArray nativePrefix = nativeDir.endsWith('/') ? nativeDir : nativeDir + '/';
        QStringList filesHere;
        for (const Entry& entry : entries) {
            const QString path = prefix + entry.name;
            switch (entry.kind) {
            case EntryKind::Directory:
                scan(nativePrefix + entry.nativeName.c_str(), path);
                break;
            case EntryKind::List:
                if (collect_ == Collect::Tracks)
                    keep(readListFile(path));
                else
                    filesHere.append(path);
                break;
            case EntryKind::Track:
                if (collect_ == Collect::Tracks)
                    filesHere.append(path);
                break;
            }
        }
        keep(filesHere);
    }

private:
    void keep(const QStringList& tracks)
    {
        found_.append(tracks);
        if (control_)
            control_->found.fetch_add(static_cast<int>(tracks.size()), std::memory_order_relaxed);
    }

    // The directory's relevant entries, sorted by name. The directory is closed again before any
    // sub-directory is opened, so a deep tree does not hold one descriptor per level.
    std::vector<Entry> readEntries(const QByteArray& nativeDir)
    {
        const int fd = ::open(nativeDir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return {};
        DirHandle handle(::fdopendir(fd));
        if (!handle) {
            ::close(fd);
            return {};
        }
        struct stat self {};
        if (::fstat(fd, &self) != 0 || !visited_.insert({self.st_dev, self.st_ino}).second)
            return {};
        if (std::find(pseudoDevices_.begin(), pseudoDevices_.end(), self.st_dev) != pseudoDevices_.end())
            return {};

        std::vector<Entry> entries;
        while (const dirent* entry = ::readdir(handle.get())) {
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0 || nameHoldsLineBreak(name))
                continue;
            QString decodedName = QFile::decodeName(name);
            const bool track = isTrackPath(decodedName);
            const bool list = !track && isListPath(decodedName);
            unsigned char type = entry->d_type;
            if (type == DT_LNK || type == DT_UNKNOWN) {
                struct stat target {};
                type = ::fstatat(fd, name, &target, 0) != 0 ? DT_UNKNOWN
                       : S_ISDIR(target.st_mode)             ? DT_DIR
                       : S_ISREG(target.st_mode)             ? DT_REG
                                                             : DT_UNKNOWN;
            }
            if (type == DT_DIR)
                entries.push_back({name, std::move(decodedName), EntryKind::Directory});
            else if (type == DT_REG && (track || list))
                entries.push_back({name, std::move(decodedName), track ? EntryKind::Track : EntryKind::List});
        }
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.nativeName < b.nativeName; });
        return entries;
    }

    Collect collect_;
    ScanControl* control_;
    const std::vector<dev_t> pseudoDevices_;
    QStringList found_;
    std::set<std::pair<dev_t, ino_t>> visited_;
};

} // namespace

std::vector<dev_t> pseudoFileSystemDevices(QByteArrayView mountInfo)
{
    // Each line: id parent major:minor root mount-point options [optional fields] - type source ...
    std::vector<dev_t> devices;
    for (const QByteArray& line : mountInfo.toByteArray().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const auto separator = std::find(fields.begin(), fields.end(), QByteArray("-"));
        if (fields.size() < 3 || separator == fields.end() || separator + 1 == fields.end()
            || !isPseudoFileSystemType(*(separator + 1)))
            continue;
        const QList<QByteArray> numbers = fields.at(2).split(':');
        bool majorOk = false;
        bool minorOk = false;
        const uint major = numbers.value(0).toUInt(&majorOk);
        const uint minor = numbers.value(1).toUInt(&minorOk);
        if (numbers.size() == 2 && majorOk && minorOk)
            devices.push_back(makedev(major, minor));
    }
    return devices;
}

namespace {

QStringList scanFrom(const QString& dir, Collect collect, ScanControl* control)
{
    QString start = dir;
    while (start.size() > 1 && start.endsWith(u'/'))
        start.chop(1);
    if (start.isEmpty() || holdsLineBreak(start))
        return {};
    DirectoryScanner scanner(collect, control);
    scanner.scan(QFile::encodeName(start), start);
    return scanner.take();
}

} // namespace

QStringList scanDirectory(const QString& dir, ScanControl* control)
{
    return scanFrom(dir, Collect::Tracks, control);
}

QStringList scanListFiles(const QString& dir)
{
    return scanFrom(dir, Collect::ListFiles, nullptr);
}

} // namespace nuvo
