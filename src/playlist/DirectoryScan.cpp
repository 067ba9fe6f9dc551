#include "playlist/DirectoryScan.h"

#include "playlist/ListFileReader.h"
#include "playlist/PathRules.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
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

// A scan for tracks reads each list file it meets; a scan for list files only collects them.
enum class Collect { Tracks, ListFiles };

class DirectoryScanner {
public:
    explicit DirectoryScanner(Collect collect) : collect_(collect) {}

    QStringList take() { return std::move(found_); }

    void scan(const QByteArray& nativeDir, const QString& dir)
    {
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
                    found_.append(readListFile(path));
                else
                    filesHere.append(path);
                break;
            case EntryKind::Track:
                if (collect_ == Collect::Tracks)
                    filesHere.append(path);
                break;
            }
        }
        found_.append(filesHere);
    }

private:
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

        std::vector<Entry> entries;
        while (const dirent* entry = ::readdir(handle.get())) {
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
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
    QStringList found_;
    std::set<std::pair<dev_t, ino_t>> visited_;
};

QStringList scanFrom(const QString& dir, Collect collect)
{
    QString start = dir;
    while (start.size() > 1 && start.endsWith(u'/'))
        start.chop(1);
    if (start.isEmpty())
        return {};
    DirectoryScanner scanner(collect);
    scanner.scan(QFile::encodeName(start), start);
    return scanner.take();
}

} // namespace

QStringList scanDirectory(const QString& dir)
{
    return scanFrom(dir, Collect::Tracks);
}

QStringList scanListFiles(const QString& dir)
{
    return scanFrom(dir, Collect::ListFiles);
}

} // namespace nuvo
